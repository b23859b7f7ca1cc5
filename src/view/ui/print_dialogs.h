// The two printing dialogs: "Print Set" (before Print) and "Print Title & Set"
// (the document's print title texts and the print flags). In both, one of
// the F and C groups always stays chosen.
#pragma once

#include "document/marben_doc.h"
#include "view/print_layout.h"

#include <QDialog>

#include <array>
#include <string>

class QCheckBox;
class QLineEdit;

namespace kolt {

// The "Print Title" check box and the "Basic Function (Fxx)" / "Advanced
// Function (Cxx)" pair, kept by the selection rules.
class CPrintChecks : public QObject {
    Q_OBJECT
public:
    CPrintChecks(QCheckBox* title, QCheckBox* basic, QCheckBox* advanced, PrintSelection sel);
    PrintSelection Selection() const;
    // Refuses with the program's message while no group is chosen.
    bool ConfirmGroups(QWidget* parent) const;

private:
    void Show(PrintSelection sel);
    QCheckBox* title_;
    QCheckBox* basic_;
    QCheckBox* advanced_;
};

class CPrintSetDialog : public QDialog {
    Q_OBJECT
public:
    CPrintSetDialog(PrintSelection sel, QWidget* parent = nullptr);

    PrintSelection Selection() const { return checks_->Selection(); }
    // The dialog closed with "Pre&view" rather than OK.
    bool PreviewChosen() const { return preview_; }

    void accept() override;

private:
    void OnPreview();

    CPrintChecks* checks_ = nullptr;
    bool preview_ = false;
};

class CPrintTitleDialog : public QDialog {
    Q_OBJECT
public:
    // `fields` are the document's bytes; `codec` shows them and stores edits.
    CPrintTitleDialog(const std::array<std::string, kPrintFieldCount>& fields, PrintSelection sel,
                      const FieldCodec& codec = {}, QWidget* parent = nullptr);

    // A field the user left as shown keeps its bytes, even one longer than
    // its edit takes or not in the desktop's encoding.
    std::array<std::string, kPrintFieldCount> Fields() const;
    PrintSelection Selection() const { return checks_->Selection(); }

    void accept() override;

private:
    void ClearTitle();

    std::array<QLineEdit*, kPrintFieldCount> edits_{};
    std::array<std::string, kPrintFieldCount> fields_;
    std::array<QString, kPrintFieldCount> shown_;
    FieldCodec codec_;
    CPrintChecks* checks_ = nullptr;
};

}  // namespace kolt
