// "Add/Remove": edits the definite-parameter list between "All Parameters" and
// "Definite". The rules are DefiniteEditor's; this window shows them.
#pragma once

#include "view/definite_list.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kolt {

class CAddRemoveDialog : public QDialog {
    Q_OBJECT
public:
    CAddRemoveDialog(const std::vector<DefiniteEntry>& list, QWidget* parent = nullptr);

    // The "Definite" list in its order; what OK hands back.
    const std::vector<DefiniteEntry>& Result() const { return editor_.Definite(); }

private:
    void Refresh();
    void UpdateButtons();
    void Run(bool (DefiniteEditor::*step)());

    DefiniteEditor editor_;
    QListWidget* all_ = nullptr;
    QListWidget* definite_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* addAll_ = nullptr;
    QPushButton* removeAll_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    bool refreshing_ = false;
};

}  // namespace kolt
