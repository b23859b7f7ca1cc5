// The "Select Files" group of the two file compare dialogs: per file a
// read-only path field and its "File&k..." button, and the OK/Cancel row.
#pragma once

#include <functional>
#include <optional>
#include <string>
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

class IPrompts;

// Loads the file chosen for row `index` (0-based): the path the row then
// shows, or nothing when the load was refused (its message already shown).
using CompareFileLoader = std::function<std::optional<std::string>(int index, const std::string& path)>;

// `count` rows (2 or 3); the widgets are named path1.., file1Button... Each
// button asks for a parameter file and hands it to `load`.
CompareFileRows MakeCompareFileRows(int count, IPrompts& prompts, CompareFileLoader load);

// OK and Cancel wired to the dialog's accept and reject, named "buttons",
// "okButton" and "cancelButton".
QDialogButtonBox* MakeOkCancel(QDialog* dialog);

}  // namespace kolt
