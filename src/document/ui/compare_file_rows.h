// The "Select Files" group of the two file compare dialogs: per file a
// read-only path field and its "File&k..." button, and the OK/Cancel row.
#pragma once

#include <vector>

class QDialog;
class QDialogButtonBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kolt {

struct CompareFileRows {
    QGroupBox* box = nullptr;
    std::vector<QLineEdit*> paths;
    std::vector<QPushButton*> buttons;
};

// `count` rows (2 or 3); the widgets are named path1.., file1Button...
CompareFileRows MakeCompareFileRows(int count);

// OK and Cancel wired to the dialog's accept and reject, named "buttons",
// "okButton" and "cancelButton".
QDialogButtonBox* MakeOkCancel(QDialog* dialog);

}  // namespace kolt
