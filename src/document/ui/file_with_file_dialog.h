// The "Compare File with File" dialog: two parameter files chosen with their
// File buttons. OK is ignored until two loads have succeeded.
#pragma once

#include "document/compare.h"
#include "document/ui/compare_file_rows.h"

#include <QDialog>

namespace kolt {

class CFileWithFileDialog : public QDialog {
    Q_OBJECT
public:
    // `prompts` asks for the files and shows why one is refused.
    explicit CFileWithFileDialog(IPrompts& prompts, QWidget* parent = nullptr);

    // The loaded files and, after OK, the differs flags.
    const FileWithFileData& Data() const { return data_; }

    void accept() override;

private:
    IPrompts& prompts_;
    FileWithFileData data_;
    CompareFileRows rows_;
};

}  // namespace kolt
