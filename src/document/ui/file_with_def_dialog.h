// The "Compare Files with Default" dialog: one to three parameter files, and
// the model and mains frequency whose factory defaults they are compared with.
// OK is ignored until a load has succeeded.
#pragma once

#include "document/compare.h"
#include "document/ui/compare_file_rows.h"

#include <QDialog>

class QComboBox;

namespace kolt {

class CFileWithDefDialog : public QDialog {
    Q_OBJECT
public:
    // Preset with the application's current model and 50 Hz flag.
    CFileWithDefDialog(const CMarbenApp& app, IPrompts& prompts, QWidget* parent = nullptr);

    const FilesWithDefaultData& Data() const { return data_; }

    void accept() override;

private:
    IPrompts& prompts_;
    FilesWithDefaultData data_;
    CompareFileRows rows_;
    QComboBox* model_ = nullptr;
    QComboBox* frequency_ = nullptr;
};

}  // namespace kolt
