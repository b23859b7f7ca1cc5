#include "view/ui/find_goto_dialog.h"

#include "base/texts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

namespace kolt {

namespace {
constexpr int kCodeTypedMax = 2;
}

CFindGotoDialog::CFindGotoDialog(QWidget* view) : QDialog(view) {
    setObjectName(QStringLiteral("findGotoDialog"));
    setWindowTitle(QString::fromUtf8(text::kFindGotoTitle));
    setModal(false);

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("findGotoTabs"));
    tabs_->addTab(QString::fromUtf8(text::kTabFind));
    tabs_->addTab(QString::fromUtf8(text::kTabGoTo));
    tabs_->setExpanding(false);

    group_ = new QGroupBox(this);
    group_->setObjectName(QStringLiteral("radioGroup"));
    radio1_ = new QRadioButton(group_);
    radio1_->setObjectName(QStringLiteral("radio1"));
    radio2_ = new QRadioButton(group_);
    radio2_->setObjectName(QStringLiteral("radio2"));
    auto* radios = new QHBoxLayout(group_);
    radios->addWidget(radio1_);
    radios->addWidget(radio2_);

    textLabel_ = new QLabel(QString::fromUtf8(text::kTextToFind), this);
    textEdit_ = new QLineEdit(this);
    textEdit_->setObjectName(QStringLiteral("findText"));
    textLabel_->setBuddy(textEdit_);
    findNext_ = new QPushButton(QString::fromUtf8(text::kFindNext), this);
    findNext_->setObjectName(QStringLiteral("findNextButton"));
    cancel_ = new QPushButton(QString::fromUtf8(text::kCancel), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));

    codeLabel_ = new QLabel(QString::fromUtf8(text::kGoToCode), this);
    codeList_ = new QComboBox(this);
    codeList_->setObjectName(QStringLiteral("codeList"));
    codeList_->setEditable(true);
    codeList_->setInsertPolicy(QComboBox::NoInsert);
    codeList_->setCompleter(nullptr);  // the list's own prefix rule decides, not completion
    codeList_->lineEdit()->setMaxLength(kCodeTypedMax);
    codeList_->setMaxVisibleItems(12);
    codeLabel_->setBuddy(codeList_);
    goTo_ = new QPushButton(QString::fromUtf8(text::kGoToButton), this);
    goTo_->setObjectName(QStringLiteral("goToButton"));
    close_ = new QPushButton(QString::fromUtf8(text::kCloseButton), this);
    close_->setObjectName(QStringLiteral("closeButton"));

    auto* fields = new QGridLayout;
    fields->addWidget(textLabel_, 0, 0);
    fields->addWidget(textEdit_, 0, 1);
    fields->addWidget(codeLabel_, 1, 0);
    fields->addWidget(codeList_, 1, 1);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {findNext_, goTo_, cancel_, close_}) buttons->addWidget(b);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(group_);
    left->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(buttons);
    auto* top = new QVBoxLayout(this);
    top->addWidget(tabs_);
    top->addLayout(body);
    setMinimumWidth(380);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        state_.tab = tab;
        Layout();
    });
    connect(radio1_, &QRadioButton::clicked, this, [this] { OnRadio(0); });
    connect(radio2_, &QRadioButton::clicked, this, [this] { OnRadio(1); });
    connect(textEdit_, &QLineEdit::textChanged, this, [this](const QString& t) { state_.text = t.toStdString(); });
    connect(codeList_, qOverload<int>(&QComboBox::activated), this, [this](int index) { state_.codeIndex = index; });
    connect(codeList_->lineEdit(), &QLineEdit::textEdited, this, &CFindGotoDialog::OnCodeTyped);
    connect(findNext_, &QPushButton::clicked, this, &CFindGotoDialog::OnFindNext);
    connect(goTo_, &QPushButton::clicked, this, &CFindGotoDialog::OnGoTo);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::hide);
    connect(close_, &QPushButton::clicked, this, &QDialog::hide);

    FillCodeList();
    Layout();
}

void CFindGotoDialog::SetTab(int tab) {
    state_.tab = tab == kTabGoTo ? kTabGoTo : kTabFind;
    const QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(state_.tab);
    Layout();
}

void CFindGotoDialog::Layout() {
    const bool find = state_.tab == kTabFind;
    group_->setTitle(QString::fromUtf8(find ? text::kDirectionGroup : text::kCodeTypeGroup));
    radio1_->setText(QString::fromUtf8(find ? text::kDirectionUp : text::kCodeTypeF));
    radio2_->setText(QString::fromUtf8(find ? text::kDirectionDown : text::kCodeTypeC));
    const int checked = find ? state_.direction : state_.codeType;
    (checked == 0 ? radio1_ : radio2_)->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{textLabel_, textEdit_, findNext_, cancel_}) w->setVisible(find);
    for (QWidget* w : std::initializer_list<QWidget*>{codeLabel_, codeList_, goTo_, close_}) w->setVisible(!find);
    findNext_->setDefault(find);
    goTo_->setDefault(!find);
    (find ? static_cast<QWidget*>(textEdit_) : codeList_)->setFocus(Qt::OtherFocusReason);
}

void CFindGotoDialog::FillCodeList() {
    entries_ = CodeListEntries(state_.codeType);
    const QSignalBlocker block(codeList_);
    codeList_->clear();
    for (const std::string& e : entries_) codeList_->addItem(QString::fromStdString(e));
    state_.codeIndex = 0;
    codeList_->setCurrentIndex(0);
}

void CFindGotoDialog::OnRadio(int which) {
    if (state_.tab == kTabFind) {
        state_.direction = which == 0 ? kFindUp : kFindDown;
        return;
    }
    if (state_.SetCodeType(which == 0 ? kCodeF : kCodeC)) FillCodeList();
}

void CFindGotoDialog::OnCodeTyped(const QString& typed) {
    state_.codeIndex = MatchCodeEntry(entries_, typed.toStdString());
    // Select the entry found without putting its text over what was typed.
    QLineEdit* edit = codeList_->lineEdit();
    const QSignalBlocker block(codeList_);
    const QSignalBlocker blockEdit(edit);
    codeList_->setCurrentIndex(state_.codeIndex);
    edit->setText(typed);
}

void CFindGotoDialog::OnFindNext() {
    state_.text = textEdit_->text().toStdString();
    if (state_.text.empty()) return;
    emit requested(kFindNext);
}

void CFindGotoDialog::OnGoTo() {
    if (state_.codeIndex < 0) return;
    emit requested(kGoTo);
}

}  // namespace kolt
