#include "view/ui/marben_view.h"

#include "base/marben_app.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "catalogue/value_text.h"
#include "document/marben_doc.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "view/find_goto.h"
#include "view/grid_layout.h"
#include "view/ui/def_para_dialog.h"
#include "view/ui/find_goto_dialog.h"
#include "view/ui/param_grid.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QResizeEvent>

namespace kolt {

namespace {

constexpr int kGridControlId = 1000;
constexpr int kHeaderFontHeight = 18;
constexpr int kCellFontHeight = 16;
const QColor kHeaderBackground(250, 252, 210);
const QColor kHeaderText(0, 0, 0);
const QColor kCellText(0, 0, 0);
const QColor kDefaultText(255, 0, 0);
const QColor kSettingText(0, 0, 255);
const QColor kGridBackground(255, 255, 255);

constexpr unsigned kHeaderFormat = kFormatCentre | kFormatVCentre | kFormatSingleLine | kFormatEllipsis;
constexpr unsigned kTextFormat = kFormatLeft | kFormatVCentre | kFormatSingleLine | kFormatEllipsis;
constexpr unsigned kValueFormat = kFormatLeft | kFormatVCentre | kFormatSingleLine;

// The grid's fixed-pitch face: Courier New where installed, else the desktop's
// fixed font.
QString FixedFamily() {
    static const QString family = [] {
        const QString wanted = QStringLiteral("Courier New");
        if (QFontDatabase::families().contains(wanted)) return wanted;
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return family;
}

// A fixed-pitch font whose character cell is at most `cellHeight` pixels.
QFont GridFont(int cellHeight, QFont::Weight weight) {
    QFont font(FixedFamily());
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setWeight(weight);
    for (int px = cellHeight; px > 6; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).height() <= cellHeight) break;
    }
    return font;
}

const QFont& HeaderFont() {
    static const QFont font = GridFont(kHeaderFontHeight, QFont::Black);
    return font;
}

const QFont& CellFont() {
    static const QFont font = GridFont(kCellFontHeight, QFont::Normal);
    return font;
}

GridCellItem Cell(int row, int col, const QString& text, unsigned format) {
    GridCellItem item;
    item.mask = GridCellItem::kText | GridCellItem::kState | GridCellItem::kFormat | GridCellItem::kFont;
    item.row = row;
    item.col = col;
    item.text = text;
    item.state = kCellReadOnly;
    item.format = format;
    item.font = CellFont();
    return item;
}

GridCellItem Coloured(GridCellItem item, const QColor& colour) {
    item.mask |= GridCellItem::kFgColour;
    item.fgColour = colour;
    return item;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CMarbenView::CMarbenView(CMarbenDoc* doc, CMarbenApp* app, IPrompts* prompts, QWidget* parent)
    : QWidget(parent), doc_(doc), app_(app), prompts_(prompts) {
    setObjectName(QStringLiteral("parameterView"));
    grid_ = new CParamGrid(this);
    grid_->setProperty("controlId", kGridControlId);
    grid_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(grid_);
    connect(grid_, &CParamGrid::onlineEditRequested, this, [this](int number) {
        // Like a posted window message: the write runs after the edit has ended.
        QMetaObject::invokeMethod(this, [this, number] { emit onlineEditCommitted(number); }, Qt::QueuedConnection);
    });
    connect(this, &CMarbenView::onlineEditCommitted, this, [this](int number) {
        if (linkContext_ && doc_) OnViewEditCommitted(*linkContext_, *doc_, *this, number);
    });
    connect(this, &CMarbenView::definiteEditCommitted, this, &CMarbenView::OnDefiniteEdit);
    if (doc_) {
        QPointer<CMarbenView> self(this);
        doc_->onRefreshView = [self] {
            if (self) self->RefreshDefaultsAndSettings();
        };
    }
    OnInitialUpdate();
}

CMarbenView::~CMarbenView() = default;

CParamGrid* CMarbenView::Grid() const { return grid_; }

void CMarbenView::OnInitialUpdate() {
    if (!grid_ || !doc_ || !app_) return;
    compareMode_ = doc_->compareMode;
    station_ = app_->currentStation;

    CParamGrid& g = *grid_;
    g.CancelEditing();
    g.SetRedraw(false);
    g.SetContext(doc_, app_, prompts_);
    g.SetEditable(true);
    g.SetListMode(true);
    g.SetSingleRowSelection(true);
    g.SetHeaderSort(false);
    g.SetRowResize(false);
    g.SetColumnResize(true);
    g.SetCompareMode(compareMode_);
    g.SetFixedRowCount(1);
    g.SetGridBkColor(kGridBackground);
    // The red defaults and blue settings are meant for a white sheet, so the
    // cells stay black on white under a dark desktop theme too.
    QPalette sheet = g.palette();
    sheet.setColor(QPalette::Base, kGridBackground);
    sheet.setColor(QPalette::Text, kCellText);
    g.setPalette(sheet);

    const std::vector<std::string> headers = GridHeaderTexts(compareMode_, doc_->NameTexts());
    const std::vector<int> rowSlots = GridRowSlots(compareMode_, doc_->differs);
    g.SetRowCount(1);  // drop the cells of an earlier build
    g.SetColumnCount(static_cast<int>(headers.size()));
    g.SetRowCount(1 + static_cast<int>(rowSlots.size()));
    for (int c = 0; c < static_cast<int>(headers.size()); ++c) {
        GridCellItem item = Cell(0, c, Q(headers[static_cast<std::size_t>(c)]), kHeaderFormat);
        item.mask |= GridCellItem::kBkColour | GridCellItem::kFgColour;
        item.bkColour = kHeaderBackground;
        item.fgColour = kHeaderText;
        item.font = HeaderFont();
        g.SetItem(item);
    }
    for (int i = 0; i < static_cast<int>(rowSlots.size()); ++i) {
        // A compare mode this program does not know (a damaged file) is shown in the
        // ordinary layout; the grid edits only mode 0, so it stays read-only.
        if (compareMode_ < 1 || compareMode_ > 3) BuildOrdinaryRow(i + 1, rowSlots[static_cast<std::size_t>(i)]);
        else BuildCompareRow(i + 1, rowSlots[static_cast<std::size_t>(i)]);
    }
    g.AutoSize();
    g.ExpandColumnsToFit();
    g.SetRedraw(true);
}

QString CMarbenView::SettingText(int slot) const {
    const int number = NumberOfSlot(slot);
    // Software version and fault records come only from a linked drive.
    if (!doc_->linked && (number == 53 || number == 54)) return {};
    return Q(FormatParamValue(doc_->values[0][static_cast<std::size_t>(slot)], number));
}

void CMarbenView::BuildOrdinaryRow(int row, int slot) {
    CParamGrid& g = *grid_;
    const int number = NumberOfSlot(slot);
    g.SetItem(Cell(row, kColDescription, Q(Description(number)), kTextFormat));
    g.SetItem(Cell(row, kColCode, Q(CodeText(number)), kTextFormat));
    g.SetItem(Cell(row, kColRange, Q(RangeText(number)), kTextFormat));
    g.SetItem(Coloured(Cell(row, kColDefault, Q(DefaultText(number, doc_->model)), kValueFormat), kDefaultText));
    GridCellItem setting = Coloured(Cell(row, kColSetting, SettingText(slot), kValueFormat), kSettingText);
    setting.state = IsReadOnly(number) ? unsigned{kCellReadOnly} : 0u;
    g.SetItem(setting);
}

void CMarbenView::BuildCompareRow(int row, int slot) {
    CParamGrid& g = *grid_;
    const int number = NumberOfSlot(slot);
    const auto s = static_cast<std::size_t>(slot);
    for (int c = 0; c < g.GetColumnCount(); ++c) {
        const CompareColumn kind = CompareColumnKind(compareMode_, c);
        switch (kind) {
            case CompareColumn::Description:
                g.SetItem(Cell(row, c, Q(Description(number)), kTextFormat));
                break;
            case CompareColumn::Code:
                g.SetItem(Cell(row, c, Q(CodeText(number)), kTextFormat));
                break;
            case CompareColumn::Default:
                g.SetItem(Coloured(Cell(row, c, Q(DefaultText(number, doc_->model)), kValueFormat), kDefaultText));
                break;
            default: {
                const std::size_t k = kind == CompareColumn::Source1 ? 0 : kind == CompareColumn::Source2 ? 1 : 2;
                const QString text = doc_->present[k] ? Q(FormatParamValue(doc_->values[k][s], number)) : QString();
                g.SetItem(Cell(row, c, text, kValueFormat));
                break;
            }
        }
    }
}

void CMarbenView::RefreshDefaultsAndSettings() {
    if (!grid_ || !doc_ || !app_) return;
    const bool sameLayout = doc_->compareMode == compareMode_ && compareMode_ == 0 &&
                            grid_->GetRowCount() == 1 + kParamCount;
    if (!sameLayout) {
        // A reload that changed the kind of document needs the whole grid again.
        OnInitialUpdate();
        return;
    }
    compareMode_ = doc_->compareMode;
    grid_->SetCompareMode(compareMode_);
    grid_->CancelEditing();  // the texts under the editor are about to change
    for (int row = 1; row <= kParamCount; ++row) {
        const int slot = row - 1;
        const int number = NumberOfSlot(slot);
        grid_->SetItemText(row, kColDefault, Q(DefaultText(number, doc_->model)));
        grid_->SetItemText(row, kColSetting, SettingText(slot));
    }
    grid_->viewport()->update();
}

void CMarbenView::RestoreOnlineEdit() {
    if (grid_) grid_->RestoreOnlineEdit();
}

void CMarbenView::ShowSettingTextInRow(int row, const std::string& text) {
    if (!grid_ || row < 1 || row >= grid_->GetRowCount()) return;
    grid_->SetItemText(row, kColSetting, Q(text));
    grid_->viewport()->update();
}

void CMarbenView::ShowSetting(int number) {
    const int slot = SlotOfNumber(number);
    const int row = RowOfNumber(number);
    if (!doc_ || slot < 0 || row < 0 || compareMode_ != 0) return;
    ShowSettingTextInRow(row, SettingText(slot).toStdString());
}

void CMarbenView::ShowSettingText(int number, const std::string& text) {
    const int row = RowOfNumber(number);
    if (row >= 0) ShowSettingTextInRow(row, text);
}

void CMarbenView::Repaint() {
    if (grid_) grid_->viewport()->update();
    update();
}

int CMarbenView::RowOfNumber(int number) const {
    if (!grid_ || SlotOfNumber(number) < 0) return -1;
    for (int row = 1; row < grid_->GetRowCount(); ++row)
        if (grid_->NumberOfRow(row) == number) return row;
    return -1;
}

void CMarbenView::FocusGrid() {
    if (grid_) grid_->setFocus(Qt::OtherFocusReason);
}

void CMarbenView::FitColumns() {
    if (!grid_) return;
    grid_->AutoSizeColumns();
    grid_->ExpandColumnsToFit();
}

// ---- Find and Go to ------------------------------------------------------

void CMarbenView::OnEditFind() { ShowFindGoto(kTabFind); }

void CMarbenView::OnEditGoTo() { ShowFindGoto(kTabGoTo); }

CFindGotoDialog* CMarbenView::FindGotoDialog() const { return findGoto_; }

void CMarbenView::ShowFindGoto(int tab) {
    std::uint8_t unused = 0;
    NestedFlagGuard busy(app_ ? app_->busyFlag : unused);
    if (!findGoto_) {
        findGoto_ = new CFindGotoDialog(this);
        // Like a posted message: the request runs after the button's click.
        connect(findGoto_, &CFindGotoDialog::requested, this, &CMarbenView::OnFindGotoRequest, Qt::QueuedConnection);
    }
    findGoto_->SetTab(tab);
    findGoto_->show();
    findGoto_->raise();
    findGoto_->activateWindow();
}

void CMarbenView::OnFindGotoRequest(int kind) {
    if (kind == CFindGotoDialog::kFindNext) FindNext();
    else if (kind == CFindGotoDialog::kGoTo) GoTo();
}

void CMarbenView::FocusFoundRow(int row) {
    CParamGrid& g = *grid_;
    const int last = g.GetColumnCount() - 1;
    g.SetFocusCell(row, IsCompareLayout(compareMode_) ? kColCode : last);
    g.SetSelectedRange(row, 0, row, last);
    Repaint();
}

void CMarbenView::FindNext() {
    if (!findGoto_ || !grid_) return;
    const FindGotoState& state = findGoto_->State();
    if (state.text.empty()) return;
    CParamGrid& g = *grid_;
    std::vector<std::string> descriptions;
    for (int row = 1; row < g.GetRowCount(); ++row) descriptions.push_back(g.GetItemText(row, kColDescription).toStdString());
    const GridCellId focus = g.GetFocusCell();
    const FindResult found = FindNextRow(descriptions, focus.IsValid() ? focus.row : -1, state.direction, state.text);
    if (found.row < 0) {
        std::uint8_t unused = 0;
        NestedFlagGuard busy(app_ ? app_->busyFlag : unused);
        if (prompts_) prompts_->Message(FindNotFoundText(state.text), text::kFindCaption, Icon::Information);
        return;
    }
    if (found.start == FindScroll::ToTop) g.ScrollToTop();
    else if (found.start == FindScroll::ToBottom) g.ScrollToBottom();
    g.setFocus(Qt::OtherFocusReason);
    g.ScrollLines(state.direction == kFindUp ? -found.scrollLines : found.scrollLines);
    FocusFoundRow(found.row);
}

void CMarbenView::GoTo() {
    if (!findGoto_ || !grid_) return;
    const FindGotoState& state = findGoto_->State();
    if (state.codeIndex < 0) return;
    CParamGrid& g = *grid_;
    const std::string code = GoToCode(state.codeType, state.codeIndex);
    std::vector<std::string> codes;
    for (int row = 1; row < g.GetRowCount(); ++row) codes.push_back(g.GetItemText(row, kColCode).toStdString());
    const int row = FindCodeRow(codes, code);
    if (row < 0) {
        std::uint8_t unused = 0;
        NestedFlagGuard busy(app_ ? app_->busyFlag : unused);
        if (prompts_) prompts_->Message(GoToNotFoundText(code), text::kGoToCaption, Icon::Information);
        return;
    }
    // The row found becomes the first one under the header.
    g.ScrollToTop();
    g.setFocus(Qt::OtherFocusReason);
    g.ScrollLines(row - 1);
    FocusFoundRow(row);
}

// ---- Definite parameters ------------------------------------------------

CDefParaDialog* CMarbenView::DefiniteDialog() const { return definite_; }

void CMarbenView::OnDefiniteParameter() {
    if (!doc_ || !app_ || !prompts_ || definite_) return;
    NestedFlagGuard busy(app_->busyFlag);
    CDefParaDialog dialog(*doc_, *app_, *prompts_, this);
    definite_ = &dialog;
    connect(&dialog, &CDefParaDialog::settingEdited, this, &CMarbenView::definiteEditCommitted, Qt::QueuedConnection);
    dialog.exec();
    // An edit ended by the click that closed the dialog is still on its way:
    // it runs while the dialog exists, so that a write the drive refuses can
    // still be taken back in the dialog's grid, and with it in the document.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    definiteStation_ = dialog.Station();
    definite_ = nullptr;
}

void CMarbenView::OnDefiniteEdit(int number) {
    const int slot = SlotOfNumber(number);
    if (!doc_ || slot < 0) return;
    if (!linkContext_) {
        ShowSetting(number);
        return;
    }
    const int station = definite_ ? definite_->Station() : definiteStation_;
    OnDefiniteEditCommitted(*linkContext_, *doc_, *this, definite_.data(), station, number,
                            doc_->values[0][static_cast<std::size_t>(slot)]);
}

void CMarbenView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!grid_) return;
    grid_->setGeometry(rect());
    FitColumns();
}

}  // namespace kolt
