#include "view/ui/add_remove_dialog.h"

#include "base/texts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

namespace {

QListWidget* MakeList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setMinimumSize(300, 320);
    return list;
}

QPushButton* MakeButton(const char* caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void Fill(QListWidget* list, const std::vector<DefiniteEntry>& entries, int selected) {
    list->clear();
    for (const DefiniteEntry& e : entries) list->addItem(QString::fromStdString(DefiniteListText(e)));
    list->clearSelection();
    if (selected >= 0) {
        list->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
        list->scrollToItem(list->item(selected));
    }
}

int SelectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.front());
}

}  // namespace

CAddRemoveDialog::CAddRemoveDialog(const std::vector<DefiniteEntry>& list, QWidget* parent)
    : QDialog(parent), editor_(list) {
    setObjectName(QStringLiteral("addRemoveDialog"));
    setWindowTitle(QString::fromUtf8(text::kAddRemoveCaption));

    all_ = MakeList("allList", this);
    definite_ = MakeList("definiteList", this);
    all_->setProperty("controlId", 1044);
    definite_->setProperty("controlId", 1045);
    add_ = MakeButton(text::kAddButton, "addButton", this);
    remove_ = MakeButton(text::kRemoveButton, "removeButton", this);
    addAll_ = MakeButton(text::kAddAllButton, "addAllButton", this);
    removeAll_ = MakeButton(text::kRemoveAllButton, "removeAllButton", this);
    up_ = MakeButton(text::kUpMoveButton, "upButton", this);
    down_ = MakeButton(text::kDownMoveButton, "downButton", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* b : {add_, remove_, addAll_, removeAll_}) middle->addWidget(b);
    middle->addSpacing(16);
    middle->addWidget(up_);
    middle->addWidget(down_);
    middle->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromUtf8(text::kAllParameters), this), 0, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(text::kDefiniteList), this), 0, 2);
    grid->addWidget(all_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(definite_, 1, 2);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(buttons);

    // What is selected counts, not the current item: a list that takes the
    // focus gets a current item without a selection.
    connect(all_, &QListWidget::itemSelectionChanged, this, [this] {
        if (refreshing_) return;
        editor_.SelectAll(SelectedRow(all_));
        UpdateButtons();
    });
    connect(definite_, &QListWidget::itemSelectionChanged, this, [this] {
        if (refreshing_) return;
        editor_.SelectDefinite(SelectedRow(definite_));
        UpdateButtons();
    });
    connect(all_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        editor_.SelectAll(all_->row(item));
        Run(&DefiniteEditor::Add);
    });
    connect(definite_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        editor_.SelectDefinite(definite_->row(item));
        Run(&DefiniteEditor::Remove);
    });
    connect(add_, &QPushButton::clicked, this, [this] { Run(&DefiniteEditor::Add); });
    connect(remove_, &QPushButton::clicked, this, [this] { Run(&DefiniteEditor::Remove); });
    connect(up_, &QPushButton::clicked, this, [this] { Run(&DefiniteEditor::MoveUp); });
    connect(down_, &QPushButton::clicked, this, [this] { Run(&DefiniteEditor::MoveDown); });
    connect(addAll_, &QPushButton::clicked, this, [this] {
        editor_.AddAll();
        Refresh();
    });
    connect(removeAll_, &QPushButton::clicked, this, [this] {
        editor_.RemoveAll();
        Refresh();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Refresh();
}

void CAddRemoveDialog::Run(bool (DefiniteEditor::*step)()) {
    (editor_.*step)();
    Refresh();
}

// Both lists and every button from the editor's state.
void CAddRemoveDialog::Refresh() {
    refreshing_ = true;
    Fill(all_, editor_.All(), editor_.SelectedAll());
    Fill(definite_, editor_.Definite(), editor_.SelectedDefinite());
    refreshing_ = false;
    UpdateButtons();
}

void CAddRemoveDialog::UpdateButtons() {
    add_->setEnabled(editor_.CanAdd());
    remove_->setEnabled(editor_.CanRemove());
    up_->setEnabled(editor_.CanMoveUp());
    down_->setEnabled(editor_.CanMoveDown());
    addAll_->setEnabled(editor_.CanAddAll());
    removeAll_->setEnabled(editor_.CanRemoveAll());
}

}  // namespace kolt
