#include "view/ui/print_dialogs.h"

#include "base/texts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }

QCheckBox* Check(const char* text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(Q(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Longest text of each print title field, in field order.
constexpr std::array<int, kPrintFieldCount> kFieldLengths{50, 50, 50, 10, 10, 80, 80, 80};
constexpr std::array<const char*, kPrintFieldCount> kFieldNames{
    "titleEdit", "companyEdit", "programmerEdit", "versionEdit", "dateEdit", "remark1Edit", "remark2Edit", "remark3Edit"};

}  // namespace

// ---------------------------------------------------------------- check boxes

CPrintChecks::CPrintChecks(QCheckBox* title, QCheckBox* basic, QCheckBox* advanced, PrintSelection sel)
    : QObject(title), title_(title), basic_(basic), advanced_(advanced) {
    Show(sel);
    // The rules decide on every click; the boxes only show the outcome.
    connect(basic_, &QCheckBox::clicked, this, [this] {
        PrintSelection s = Selection();
        s.basic = !basic_->isChecked();  // the state before the click
        Show(ToggleBasic(s));
    });
    connect(advanced_, &QCheckBox::clicked, this, [this] {
        PrintSelection s = Selection();
        s.advanced = !advanced_->isChecked();
        Show(ToggleAdvanced(s));
    });
}

void CPrintChecks::Show(PrintSelection sel) {
    title_->setChecked(sel.title);
    basic_->setChecked(sel.basic);
    advanced_->setChecked(sel.advanced);
}

PrintSelection CPrintChecks::Selection() const {
    return PrintSelection{title_->isChecked(), basic_->isChecked(), advanced_->isChecked()};
}

bool CPrintChecks::ConfirmGroups(QWidget* parent) const {
    if (HasGroup(Selection())) return true;
    QMessageBox::information(parent, Q(text::kNoPrintSelectionCaption), Q(text::kNoPrintSelection));
    return false;
}

// ---------------------------------------------------------------- Print Set

CPrintSetDialog::CPrintSetDialog(PrintSelection sel, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("printSetDialog"));
    setWindowTitle(Q(text::kPrintSetTitle));
    auto* title = Check(text::kPrintTitleCheck, "printTitle", this);
    auto* group = new QGroupBox(Q(text::kPrintParameterGroup), this);
    auto* basic = Check(text::kBasicGroup, "printBasic", group);
    auto* advanced = Check(text::kAdvancedGroup, "printAdvanced", group);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(basic);
    groupLayout->addWidget(advanced);
    checks_ = new CPrintChecks(title, basic, advanced, sel);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    auto* preview = buttons->addButton(Q(text::kPrintPreviewButton), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("previewButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(preview, &QPushButton::clicked, this, &CPrintSetDialog::OnPreview);

    auto* left = new QVBoxLayout;
    left->addWidget(title);
    left->addWidget(group);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
}

void CPrintSetDialog::accept() {
    if (!checks_->ConfirmGroups(this)) return;
    QDialog::accept();
}

void CPrintSetDialog::OnPreview() {
    if (!checks_->ConfirmGroups(this)) return;
    preview_ = true;
    QDialog::accept();
}

// ---------------------------------------------------------------- Print Title & Set

CPrintTitleDialog::CPrintTitleDialog(const std::array<std::string, kPrintFieldCount>& fields, PrintSelection sel,
                                     const FieldCodec& codec, QWidget* parent)
    : QDialog(parent), fields_(fields), codec_(codec) {
    setObjectName(QStringLiteral("printTitleDialog"));
    setWindowTitle(Q(text::kPrintTitleSetTitle));
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = new QLineEdit(this);
        edits_[i]->setObjectName(QString::fromLatin1(kFieldNames[i]));
        edits_[i]->setMaxLength(kFieldLengths[i]);
        edits_[i]->setText(QString::fromStdString(codec_.Text(fields[i])));
        edits_[i]->setCursorPosition(0);
        shown_[i] = edits_[i]->text();
    }
    edits_[kPrintVersion]->setMaximumWidth(edits_[kPrintVersion]->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12);
    edits_[kPrintDate]->setMaximumWidth(edits_[kPrintVersion]->maximumWidth());

    auto* titleBox = new QGroupBox(Q(text::kPrintTitleGroup), this);
    auto* grid = new QGridLayout(titleBox);
    auto label = [&](const char* t, int row, int col) { grid->addWidget(new QLabel(Q(t), titleBox), row, col); };
    label(text::kPrintFieldTitle, 0, 0);
    grid->addWidget(edits_[kPrintTitle], 0, 1);
    label(text::kPrintFieldVersion, 0, 2);
    grid->addWidget(edits_[kPrintVersion], 0, 3);
    label(text::kPrintFieldCompany, 1, 0);
    grid->addWidget(edits_[kPrintCompany], 1, 1);
    label(text::kPrintFieldDate, 1, 2);
    grid->addWidget(edits_[kPrintDate], 1, 3);
    label(text::kPrintFieldProgrammer, 2, 0);
    grid->addWidget(edits_[kPrintProgrammer], 2, 1);
    label(text::kPrintFieldPage, 2, 2);
    label(text::kPrintFieldRemark, 3, 0);
    grid->addWidget(edits_[kPrintRemark1], 3, 1, 1, 3);
    grid->addWidget(edits_[kPrintRemark2], 4, 1, 1, 3);
    grid->addWidget(edits_[kPrintRemark3], 5, 1, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* setBox = new QGroupBox(Q(text::kPrintSetGroup), this);
    auto* title = Check(text::kPrintTitleCheck, "printTitle", setBox);
    auto* basic = Check(text::kBasicGroup, "printBasic", setBox);
    auto* advanced = Check(text::kAdvancedGroup, "printAdvanced", setBox);
    checks_ = new CPrintChecks(title, basic, advanced, sel);
    auto* setLayout = new QHBoxLayout(setBox);
    setLayout->addWidget(title);
    setLayout->addSpacing(24);
    setLayout->addWidget(new QLabel(Q(text::kPrintParameterList), setBox));
    setLayout->addWidget(basic);
    setLayout->addWidget(advanced);
    setLayout->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* clear = buttons->addButton(Q(text::kPrintClearTitle), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("clearTitleButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, &CPrintTitleDialog::ClearTitle);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleBox);
    layout->addWidget(setBox);
    layout->addWidget(buttons);
    resize(640, sizeHint().height());
}

std::array<std::string, kPrintFieldCount> CPrintTitleDialog::Fields() const {
    std::array<std::string, kPrintFieldCount> out;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        const QString now = edits_[i]->text();
        out[i] = now == shown_[i] ? fields_[i] : codec_.Stored(now.toStdString());
    }
    return out;
}

void CPrintTitleDialog::ClearTitle() {
    for (QLineEdit* e : edits_) e->clear();
}

void CPrintTitleDialog::accept() {
    if (!checks_->ConfirmGroups(this)) return;
    QDialog::accept();
}

}  // namespace kolt
