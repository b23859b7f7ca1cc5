#include "view/ui/def_para_dialog.h"

#include "base/marben_app.h"
#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"
#include "document/marben_doc.h"
#include "view/grid_layout.h"
#include "view/ui/add_remove_dialog.h"
#include "view/ui/param_grid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolt {

namespace {

constexpr int kGridControlId = 119;
constexpr int kColumnWidths[5] = {260, 40, 90, 70, 70};
const QColor kDefaultText(255, 0, 0);
const QColor kSettingText(0, 0, 255);
const QColor kHeaderBackground(250, 252, 210);
const QColor kSheet(255, 255, 255);

GridCellItem Cell(int row, int col, const QString& text, const QColor& colour = QColor()) {
    GridCellItem item;
    item.mask = GridCellItem::kText | GridCellItem::kState | GridCellItem::kFormat;
    item.row = row;
    item.col = col;
    item.text = text;
    item.state = kCellReadOnly;
    item.format = kFormatLeft | kFormatVCentre | kFormatSingleLine | kFormatEllipsis;
    if (colour.isValid()) {
        item.mask |= GridCellItem::kFgColour;
        item.fgColour = colour;
    }
    return item;
}

}  // namespace

CDefParaDialog::CDefParaDialog(CMarbenDoc& doc, CMarbenApp& app, IPrompts& prompts, QWidget* parent)
    : QDialog(parent), doc_(doc), app_(app), prompts_(prompts), list_(DefiniteListOf(app.settings)) {
    setObjectName(QStringLiteral("definiteDialog"));
    setWindowTitle(QString::fromUtf8(text::kDefiniteCaption));

    stations_ = new QComboBox(this);
    stations_->setObjectName(QStringLiteral("stationCombo"));
    for (int s = 1; s <= kStationMax; ++s) stations_->addItem(QString::number(s));
    stations_->setCurrentIndex(station_ - 1);
    stations_->setEnabled(app_.linkedFlag != 0);
    auto* stationLabel = new QLabel(QString::fromUtf8(text::kStationNo), this);
    stationLabel->setBuddy(stations_);

    auto* addRemove = new QPushButton(QString::fromUtf8(text::kAddRemoveButton), this);
    addRemove->setObjectName(QStringLiteral("addRemoveButton"));
    addRemove->setAutoDefault(false);
    auto* close = new QPushButton(QString::fromUtf8(text::kCloseButton), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);

    grid_ = new CParamGrid(this);
    grid_->setObjectName(QStringLiteral("definiteGrid"));
    grid_->setProperty("controlId", kGridControlId);

    auto* topRow = new QHBoxLayout;
    topRow->addWidget(stationLabel);
    topRow->addWidget(stations_);
    topRow->addStretch(1);
    topRow->addWidget(addRemove);
    topRow->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topRow);
    layout->addWidget(grid_, 1);
    int width = 0;
    for (int w : kColumnWidths) width += w;
    resize(width + 60, 360);

    connect(stations_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { station_ = index + 1; });
    connect(addRemove, &QPushButton::clicked, this, &CDefParaDialog::AddRemove);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(grid_, &CParamGrid::settingAccepted, this, &CDefParaDialog::settingEdited);
    grid_->installEventFilter(this);
    stations_->installEventFilter(this);
    BuildGrid();
}

void CDefParaDialog::BuildGrid() {
    CParamGrid& g = *grid_;
    g.CancelEditing();
    g.SetRedraw(false);
    g.SetContext(&doc_, &app_, &prompts_);
    // A compare document's values are not settings: its definite grid is read-only.
    g.SetCompareMode(doc_.compareMode);
    g.SetEditable(true);
    g.SetListMode(true);
    g.SetSingleRowSelection(true);
    g.SetHeaderSort(false);
    g.SetRowResize(false);
    g.SetFixedRowCount(1);
    g.SetGridBkColor(kSheet);
    QPalette sheet = g.palette();
    sheet.setColor(QPalette::Base, kSheet);
    sheet.setColor(QPalette::Text, Qt::black);
    g.setPalette(sheet);

    // Only entries that name a parameter get a row; the list keeps the others.
    std::vector<int> numbers;
    for (const DefiniteEntry& e : list_)
        if (e.ParamNumber() >= 0) numbers.push_back(e.ParamNumber());

    const char* headers[5] = {text::kColDescription, text::kColCode, text::kColRange, text::kColDefault,
                              text::kColSetting};
    g.SetRowCount(1);
    g.SetColumnCount(5);
    g.SetRowCount(1 + static_cast<int>(numbers.size()));
    for (int c = 0; c < 5; ++c) {
        GridCellItem item = Cell(0, c, QString::fromUtf8(headers[c]));
        item.mask |= GridCellItem::kBkColour;
        item.bkColour = kHeaderBackground;
        item.format = kFormatCentre | kFormatVCentre | kFormatSingleLine | kFormatEllipsis;
        g.SetItem(item);
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const int n = numbers[i];
        const auto slot = static_cast<std::size_t>(SlotOfNumber(n));
        g.SetItem(Cell(row, kColDescription, QString::fromStdString(Description(n))));
        g.SetItem(Cell(row, kColCode, QString::fromStdString(CodeText(n))));
        g.SetItem(Cell(row, kColRange, QString::fromStdString(RangeText(n))));
        g.SetItem(Cell(row, kColDefault, QString::fromStdString(DefaultText(n, doc_.model)), kDefaultText));
        GridCellItem setting =
            Cell(row, kColSetting, QString::fromStdString(FormatParamValue(doc_.values[0][slot], n)), kSettingText);
        setting.state = IsReadOnly(n) ? unsigned{kCellReadOnly} : 0u;
        g.SetItem(setting);
    }
    g.resizeRowsToContents();
    for (int c = 0; c < 5; ++c) g.SetColumnWidthPx(c, kColumnWidths[c]);
    g.SetRedraw(true);
}

int CDefParaDialog::RowOfNumber(int number) const {
    if (!grid_) return -1;
    for (int row = 1; row < grid_->GetRowCount(); ++row)
        if (grid_->NumberOfRow(row) == number) return row;
    return -1;
}

void CDefParaDialog::AddRemove() {
    if (grid_) grid_->EndEditing();
    CAddRemoveDialog dialog(list_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    list_ = dialog.Result();
    StoreDefiniteList(app_.settings, list_);
    BuildGrid();
}

void CDefParaDialog::ShowSettingText(int number, const std::string& text) {
    const int row = RowOfNumber(number);
    if (row >= 0) grid_->SetItemText(row, kColSetting, QString::fromStdString(text));
}

void CDefParaDialog::RevertEdit() {
    if (grid_) grid_->RestoreOnlineEdit();
}

void CDefParaDialog::FocusGrid() {
    if (grid_) grid_->setFocus(Qt::OtherFocusReason);
}

void CDefParaDialog::Repaint() {
    if (grid_) grid_->viewport()->update();
}

void CDefParaDialog::done(int result) {
    // However the dialog ends, a value still being typed is committed and the
    // list goes back to the application.
    if (grid_) grid_->EndEditing();
    StoreDefiniteList(app_.settings, list_);
    QDialog::done(result);
}

// Enter and Escape typed in the grid or the station list stay there and never
// close the dialog: the grid opens its editor on Enter, the rest is dropped.
bool CDefParaDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == grid_ || watched == stations_)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (key == Qt::Key_Escape || (enter && watched == stations_)) return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kolt
