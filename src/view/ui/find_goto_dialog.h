// "Find and Go to": the modeless dialog of the parameter view's Find and Go to
// commands. It only collects the request; the view carries it out. Hidden,
// not destroyed, by Close and Cancel, so its fields are there the next time.
#pragma once

#include "view/find_goto.h"

#include <QDialog>

#include <string>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace kolt {

class CFindGotoDialog : public QDialog {
    Q_OBJECT
public:
    enum Request : int { kFindNext = 1, kGoTo = 2 };

    explicit CFindGotoDialog(QWidget* view);

    const FindGotoState& State() const { return state_; }
    // Switches to a tab (Find 0, Go to 1) and lays the controls out for it.
    void SetTab(int tab);

signals:
    // A find-next or go-to request; connect it queued, as it is a posted message.
    void requested(int kind);

private:
    void Layout();
    void FillCodeList();
    void OnRadio(int which);
    void OnCodeTyped(const QString& typed);
    void OnFindNext();
    void OnGoTo();

    FindGotoState state_;
    std::vector<std::string> entries_;
    QTabBar* tabs_ = nullptr;
    QGroupBox* group_ = nullptr;
    QRadioButton* radio1_ = nullptr;
    QRadioButton* radio2_ = nullptr;
    QLabel* textLabel_ = nullptr;
    QLineEdit* textEdit_ = nullptr;
    QPushButton* findNext_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* codeLabel_ = nullptr;
    QComboBox* codeList_ = nullptr;
    QPushButton* goTo_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kolt
