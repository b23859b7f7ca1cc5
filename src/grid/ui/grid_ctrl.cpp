#include "grid/ui/grid_ctrl.h"

#include "grid/ui/in_place_edit.h"

#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <algorithm>

namespace kolt {

namespace {

constexpr int kStateRole = Qt::UserRole + 1;
constexpr int kFormatRole = Qt::UserRole + 2;
constexpr int kParamRole = Qt::UserRole + 3;
constexpr int kTextMargin = 4;  // pixels either side of a cell's text
constexpr unsigned kDefaultFormat = kFormatLeft | kFormatVCentre | kFormatSingleLine;

Qt::Alignment AlignmentOf(unsigned format) {
    Qt::Alignment a = Qt::AlignLeft;
    if (format & kFormatCentre) a = Qt::AlignHCenter;
    else if (format & kFormatRight) a = Qt::AlignRight;
    return a | ((format & kFormatVCentre) ? Qt::AlignVCenter : Qt::AlignTop);
}

// The colour a cell holds for `role`, or `fallback` when it holds none.
QColor RoleColour(const QTableWidgetItem* item, int role, const QColor& fallback) {
    if (!item) return fallback;
    const QVariant v = item->data(role);
    return v.isValid() ? qvariant_cast<QBrush>(v).color() : fallback;
}

unsigned FormatOfItem(const QTableWidgetItem* item) {
    if (!item) return kDefaultFormat;
    const QVariant v = item->data(kFormatRole);
    return v.isValid() ? v.toUInt() : kDefaultFormat;
}

// Paints a cell with its own placement and ellipsis, then its grid lines.
class CellDelegate : public QStyledItemDelegate {
public:
    // `grid`'s palette gives the cells' default background: the system's
    // window colour, whatever colour the grid's own background has.
    CellDelegate(QWidget* grid, const QColor* lineColour)
        : QStyledItemDelegate(grid), grid_(grid), lineColour_(lineColour) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant f = index.data(kFormatRole);
        const unsigned format = f.isValid() ? f.toUInt() : kDefaultFormat;
        option->displayAlignment = AlignmentOf(format);
        option->textElideMode = (format & kFormatEllipsis) ? Qt::ElideRight : Qt::ElideNone;
        option->features &= ~QStyleOptionViewItem::WrapText;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!index.data(Qt::BackgroundRole).isValid()) painter->fillRect(option.rect, grid_->palette().base());
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(*lineColour_);
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }

private:
    const QWidget* grid_;
    const QColor* lineColour_;
};

// The fixed header row, painted with each header cell's own colours and font.
class FixedRowHeader : public QHeaderView {
public:
    FixedRowHeader(QWidget* parent, const QColor* lineColour) : QHeaderView(Qt::Horizontal, parent), lineColour_(lineColour) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override {
        if (!rect.isValid()) return;
        QAbstractItemModel* m = model();
        const QVariant bk = m->headerData(section, Qt::Horizontal, Qt::BackgroundRole);
        const QVariant fg = m->headerData(section, Qt::Horizontal, Qt::ForegroundRole);
        const QVariant font = m->headerData(section, Qt::Horizontal, Qt::FontRole);
        const QVariant fmt = m->headerData(section, Qt::Horizontal, kFormatRole);
        const unsigned format = fmt.isValid() ? fmt.toUInt() : (kFormatCentre | kFormatVCentre | kFormatSingleLine);
        painter->save();
        painter->fillRect(rect, bk.canConvert<QBrush>() ? qvariant_cast<QBrush>(bk) : palette().button());
        painter->setPen(fg.canConvert<QBrush>() ? qvariant_cast<QBrush>(fg).color() : palette().buttonText().color());
        painter->setFont(font.canConvert<QFont>() ? qvariant_cast<QFont>(font) : this->font());
        const QRect textRect = rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
        QString text = m->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
        if (format & kFormatEllipsis) text = painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
        painter->drawText(textRect, static_cast<int>(AlignmentOf(format)) | Qt::TextSingleLine, text);
        painter->setPen(*lineColour_);
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->restore();
    }

private:
    const QColor* lineColour_;
};

}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("gridCtrl"));
    setHorizontalHeader(new FixedRowHeader(this, &lineColour_));
    setItemDelegate(new CellDelegate(this, &lineColour_));
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);  // the grid opens its own editor
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (!headerSort_ || IsEditing()) return;
        sortItems(section, sortOrder_);
        sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
    titleTip_ = new CTitleTip(this);
    wheelLines_ = QApplication::wheelScrollLines() > 0 ? QApplication::wheelScrollLines() : 3;
    SetListMode(false);
    SetSingleRowSelection(false);
}

CGridCtrl::~CGridCtrl() = default;

// ---- shape ---------------------------------------------------------------

void CGridCtrl::SetRowCount(int rows) {
    if (IsEditing()) EndEditing();
    setRowCount(std::max(0, rows - fixedRows_));
}

int CGridCtrl::GetRowCount() const { return rowCount() + fixedRows_; }

void CGridCtrl::SetColumnCount(int cols) {
    if (IsEditing()) EndEditing();
    setColumnCount(std::max(0, cols));
}

void CGridCtrl::SetFixedRowCount(int rows) {
    const int total = GetRowCount();
    fixedRows_ = std::clamp(rows, 0, 1);
    horizontalHeader()->setVisible(fixedRows_ == 1);
    setRowCount(std::max(0, total - fixedRows_));
}

void CGridCtrl::SetListMode(bool on) {
    listMode_ = on;
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void CGridCtrl::SetSingleRowSelection(bool on) {
    singleRow_ = on;
    setSelectionMode(on ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

void CGridCtrl::SetRowResize(bool on) {
    // Without a visible row header the row borders cannot be dragged at all.
    verticalHeader()->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void CGridCtrl::SetColumnResize(bool on) {
    horizontalHeader()->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void CGridCtrl::SetGridBkColor(const QColor& colour) {
    // Only the area outside the cells: the cells keep the system's colours, so
    // their text stays readable under a dark desktop theme.
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Window, colour);
    viewport()->setPalette(p);
    viewport()->update();
}

void CGridCtrl::SetGridLineColor(const QColor& colour) {
    lineColour_ = colour;
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

// ---- cells ---------------------------------------------------------------

bool CGridCtrl::IsValidCell(int row, int col) const {
    return row >= 0 && row < GetRowCount() && col >= 0 && col < columnCount();
}

QTableWidgetItem* CGridCtrl::Cell(int row, int col) const {
    if (!IsValidCell(row, col)) return nullptr;
    return IsFixedRow(row) ? horizontalHeaderItem(col) : item(TableRow(row), col);
}

QTableWidgetItem* CGridCtrl::EnsureCell(int row, int col) {
    if (!IsValidCell(row, col)) return nullptr;
    if (QTableWidgetItem* existing = Cell(row, col)) return existing;
    auto* cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);  // editing is the grid's own
    if (IsFixedRow(row)) setHorizontalHeaderItem(col, cell);
    else setItem(TableRow(row), col, cell);
    return Cell(row, col);
}

bool CGridCtrl::SetItem(const GridCellItem& in) {
    if (!IsValidCell(in.row, in.col)) return false;
    if (in.mask & GridCellItem::kText) SetItemText(in.row, in.col, in.text);
    if (in.mask & GridCellItem::kState) SetItemState(in.row, in.col, in.state);
    if (in.mask & GridCellItem::kFormat) SetItemFormat(in.row, in.col, in.format);
    if (in.mask & GridCellItem::kFgColour) SetItemFgColour(in.row, in.col, in.fgColour);
    if (in.mask & GridCellItem::kBkColour) SetItemBkColour(in.row, in.col, in.bkColour);
    if (in.mask & GridCellItem::kFont) SetItemFont(in.row, in.col, in.font);
    if (in.mask & GridCellItem::kParam) SetItemData(in.row, in.col, in.param);
    return true;
}

void CGridCtrl::SetItemText(int row, int col, const QString& text) {
    if (QTableWidgetItem* c = EnsureCell(row, col)) c->setText(text);
}

QString CGridCtrl::GetItemText(int row, int col) const {
    const QTableWidgetItem* c = Cell(row, col);
    return c ? c->text() : QString();
}

void CGridCtrl::SetItemState(int row, int col, unsigned state) {
    // Focus, selection and fixed follow from the table itself.
    if (QTableWidgetItem* c = EnsureCell(row, col))
        c->setData(kStateRole, state & (kCellReadOnly | kCellModified));
}

unsigned CGridCtrl::GetItemState(int row, int col) const {
    if (!IsValidCell(row, col)) return 0;
    const QTableWidgetItem* c = Cell(row, col);
    unsigned state = c ? c->data(kStateRole).toUInt() : 0;
    if (IsFixedRow(row)) return state | kCellFixed;
    const QModelIndex index = model()->index(TableRow(row), col);
    if (selectionModel() && selectionModel()->isSelected(index)) state |= kCellSelected;
    if (currentIndex() == index) state |= kCellFocused;
    return state;
}

void CGridCtrl::SetItemFormat(int row, int col, unsigned format) {
    if (QTableWidgetItem* c = EnsureCell(row, col)) c->setData(kFormatRole, format);
}

unsigned CGridCtrl::GetItemFormat(int row, int col) const { return FormatOfItem(Cell(row, col)); }

void CGridCtrl::SetItemFgColour(int row, int col, const QColor& colour) {
    if (QTableWidgetItem* c = EnsureCell(row, col)) c->setForeground(colour);
}

QColor CGridCtrl::GetItemFgColour(int row, int col) const {
    const QPalette& p = palette();
    return RoleColour(Cell(row, col), Qt::ForegroundRole, IsFixedRow(row) ? p.buttonText().color() : p.text().color());
}

void CGridCtrl::SetItemBkColour(int row, int col, const QColor& colour) {
    if (QTableWidgetItem* c = EnsureCell(row, col)) c->setBackground(colour);
}

QColor CGridCtrl::GetItemBkColour(int row, int col) const {
    const QPalette& p = palette();
    return RoleColour(Cell(row, col), Qt::BackgroundRole, IsFixedRow(row) ? p.button().color() : p.base().color());
}

void CGridCtrl::SetItemFont(int row, int col, const QFont& font) {
    if (QTableWidgetItem* c = EnsureCell(row, col)) c->setFont(font);
}

QFont CGridCtrl::GetItemFont(int row, int col) const {
    const QTableWidgetItem* c = Cell(row, col);
    if (c && c->data(Qt::FontRole).isValid()) return c->font();
    return font();
}

void CGridCtrl::SetItemData(int row, int col, qint64 value) {
    if (QTableWidgetItem* c = EnsureCell(row, col)) c->setData(kParamRole, value);
}

qint64 CGridCtrl::GetItemData(int row, int col) const {
    const QTableWidgetItem* c = Cell(row, col);
    return c ? c->data(kParamRole).toLongLong() : 0;
}

void CGridCtrl::SetModified(int row, int col, bool modified) {
    QTableWidgetItem* c = EnsureCell(row, col);
    if (!c) return;
    unsigned state = c->data(kStateRole).toUInt();
    state = modified ? (state | kCellModified) : (state & ~kCellModified);
    c->setData(kStateRole, state);
}

bool CGridCtrl::GetModified(int row, int col) const { return (GetItemState(row, col) & kCellModified) != 0; }

bool CGridCtrl::IsCellEditable(int row, int col) const {
    if (!editable_ || !IsValidCell(row, col) || IsFixedRow(row)) return false;
    return (GetItemState(row, col) & kCellReadOnly) == 0;
}

// ---- focus and selection -------------------------------------------------

GridCellId CGridCtrl::GetFocusCell() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return {};
    return {index.row() + fixedRows_, index.column()};
}

void CGridCtrl::SetFocusCell(int row, int col) {
    if (!IsValidCell(row, col) || IsFixedRow(row)) return;
    const QModelIndex index = model()->index(TableRow(row), col);
    setCurrentIndex(index);
    scrollTo(index);
}

void CGridCtrl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol) {
    minRow = std::max(minRow, fixedRows_);
    if (!IsValidCell(minRow, minCol) || !IsValidCell(maxRow, maxCol)) return;
    const QItemSelection range(model()->index(TableRow(minRow), minCol), model()->index(TableRow(maxRow), maxCol));
    selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
}

void CGridCtrl::MoveFocusRow(int row) {
    const GridCellId focus = GetFocusCell();
    SetFocusCell(row, focus.IsValid() ? focus.col : 0);
}

// ---- sizes and drawing ---------------------------------------------------

void CGridCtrl::AutoSizeColumns() {
    resizeColumnsToContents();
    // Leave room for the text margins the painters use.
    for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, columnWidth(c) + 2 * kTextMargin);
}

void CGridCtrl::AutoSize() {
    AutoSizeColumns();
    resizeRowsToContents();
}

void CGridCtrl::ExpandColumnsToFit() {
    const int cols = columnCount();
    if (cols == 0) return;
    // Work from the widget's own size: the viewport is not laid out yet while hidden.
    QSize avail = maximumViewportSize();
    int contentHeight = horizontalHeader()->isVisible() ? horizontalHeader()->sizeHint().height() : 0;
    for (int r = 0; r < rowCount(); ++r) contentHeight += rowHeight(r);
    if (contentHeight > avail.height()) avail.rwidth() -= verticalScrollBar()->sizeHint().width();
    int total = 0;
    for (int c = 0; c < cols; ++c) total += columnWidth(c);
    const int extra = avail.width() - total;
    if (extra <= 0) return;
    for (int c = 0; c < cols; ++c) setColumnWidth(c, columnWidth(c) + extra / cols + (c < extra % cols ? 1 : 0));
}

void CGridCtrl::SetRedraw(bool on, bool repaint) {
    redraw_ = on;
    setUpdatesEnabled(on);
    if (on && repaint) {
        viewport()->update();
        horizontalHeader()->viewport()->update();
    }
}

void CGridCtrl::ScrollLines(int lines) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

void CGridCtrl::ScrollPages(int pages) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + pages * bar->pageStep());
}

void CGridCtrl::ScrollToTop() { verticalScrollBar()->setValue(verticalScrollBar()->minimum()); }

void CGridCtrl::ScrollToBottom() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

// ---- editing -------------------------------------------------------------

bool CGridCtrl::OnBeginEdit(int, int) { return true; }

void CGridCtrl::OnSetupEditor(int, int, CInPlaceEdit&) {}

void CGridCtrl::OnEndEdit(int row, int col, const QString& text, int, bool cancelled) {
    if (cancelled || text == GetItemText(row, col)) return;
    SetItemText(row, col, text);
    SetModified(row, col, true);
}

std::optional<QCursor> CGridCtrl::CellCursor(int, int) const { return std::nullopt; }

bool CGridCtrl::EditCell(int row, int col, EditStart how, QChar firstKey) {
    if (IsEditing() || !IsCellEditable(row, col)) return false;
    if (!OnBeginEdit(row, col)) return false;
    HideTitleTip();
    SetFocusCell(row, col);
    auto* editor = new CInPlaceEdit(GetItemText(row, col), viewport());
    editor->setFont(GetItemFont(row, col));
    editor->setAlignment(AlignmentOf(GetItemFormat(row, col)) & Qt::AlignHorizontal_Mask);
    QPalette colours = editor->palette();
    colours.setColor(QPalette::Text, GetItemFgColour(row, col));
    colours.setColor(QPalette::Base, GetItemBkColour(row, col));
    editor->setPalette(colours);
    editor_ = editor;
    editCell_ = {row, col};
    OnSetupEditor(row, col, *editor);
    connect(editor, &CInPlaceEdit::editEnded, this, &CGridCtrl::OnEditorEnded);
    PlaceEditor();
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    switch (how) {
        case EditStart::Backspace:
            editor->end(false);
            editor->TypeBackspace();
            break;
        case EditStart::Key:
            editor->selectAll();
            editor->TypeKey(firstKey);
            break;
        default:
            editor->selectAll();
            break;
    }
    return true;
}

void CGridCtrl::EndEditing() {
    if (editor_) editor_->EndEdit();
}

void CGridCtrl::CancelEditing() {
    if (editor_) editor_->CancelEdit();
}

void CGridCtrl::PlaceEditor() {
    if (!editor_ || !editCell_.IsValid()) return;
    const QRect r = visualRect(model()->index(TableRow(editCell_.row), editCell_.col));
    editor_->setGeometry(r.adjusted(0, 0, -1, -1));
}

void CGridCtrl::OnEditorEnded(const QString& text, int lastKey, bool cancelled) {
    CInPlaceEdit* editor = editor_;
    const GridCellId cell = editCell_;
    editor_ = nullptr;
    editCell_ = {};
    // Tab, Enter and Escape hand the focus back to the grid; a click elsewhere keeps it there.
    if (lastKey != 0) setFocus(Qt::OtherFocusReason);
    if (editor) {
        editor->hide();
        editor->deleteLater();
    }
    OnEndEdit(cell.row, cell.col, text, lastKey, cancelled);
}

QString CGridCtrl::TitleTipText(int row, int col) const {
    if (!IsValidCell(row, col) || IsFixedRow(row)) return {};
    const QString text = GetItemText(row, col);
    if (text.isEmpty()) return {};
    const QRect r = visualRect(model()->index(TableRow(row), col));
    const int needed = QFontMetrics(GetItemFont(row, col)).horizontalAdvance(text) + 2 * kTextMargin;
    return needed > r.width() ? text : QString();
}

// ---- events --------------------------------------------------------------

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    const GridCellId focus = GetFocusCell();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (focus.IsValid() && IsCellEditable(focus.row, focus.col)) EditCell(focus.row, focus.col, EditStart::Enter);
            return;
        case Qt::Key_Home:
            MoveFocusRow(fixedRows_);
            return;
        case Qt::Key_End:
            MoveFocusRow(GetRowCount() - 1);
            return;
        case Qt::Key_Backspace:
            if (focus.IsValid() && IsCellEditable(focus.row, focus.col)) EditCell(focus.row, focus.col, EditStart::Backspace);
            return;
        default:
            break;
    }
    const QString text = event->text();
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier)) && text.size() == 1 && text.front().isPrint()) {
        if (focus.IsValid() && IsCellEditable(focus.row, focus.col)) {
            if (text.front() == QLatin1Char(' ')) EditCell(focus.row, focus.col, EditStart::SelectAll);
            else EditCell(focus.row, focus.col, EditStart::Key, text.front());
        }
        return;
    }
    QTableWidget::keyPressEvent(event);  // arrows and pages move the focus cell
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) EditCell(index.row() + fixedRows_, index.column(), EditStart::Mouse);
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    QTableWidget::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton) {  // no pointer change while dragging
        HideTitleTip();
        return;
    }
    UpdateTitleTip(event->position().toPoint());
    const QModelIndex index = indexAt(event->position().toPoint());
    std::optional<QCursor> cursor;
    if (index.isValid()) cursor = CellCursor(index.row() + fixedRows_, index.column());
    if (cursor) viewport()->setCursor(*cursor);
    else viewport()->unsetCursor();
}

void CGridCtrl::wheelEvent(QWheelEvent* event) {
    // Lines per notch as the desktop says; a notch is 120 units.
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) ScrollLines(-notches * wheelLines_);
    event->accept();
}

void CGridCtrl::UpdateTitleTip(const QPoint& viewportPos) {
    const QModelIndex index = indexAt(viewportPos);
    const GridCellId cell = index.isValid() ? GridCellId{index.row() + fixedRows_, index.column()} : GridCellId{};
    if (cell.row == tipCell_.row && cell.col == tipCell_.col && titleTip_->isVisible()) return;
    const QString text = (cell.IsValid() && !IsEditing()) ? TitleTipText(cell.row, cell.col) : QString();
    if (text.isEmpty()) {
        HideTitleTip();
        return;
    }
    tipCell_ = cell;
    // The pointer may leave the cell in one jump to a widget that never tells
    // the grid (the header, a toolbar, another window): while the tip shows,
    // every pointer movement and window change of the program is looked at.
    qApp->installEventFilter(this);
    const QRect r = visualRect(index);
    titleTip_->Show(text, viewport()->mapToGlobal(r.topLeft()), r.height(), GetItemFont(cell.row, cell.col),
                    GetItemFgColour(cell.row, cell.col), GetItemBkColour(cell.row, cell.col));
}

void CGridCtrl::HideTitleTip() {
    tipCell_ = {};
    qApp->removeEventFilter(this);
    if (titleTip_) titleTip_->hide();
}

bool CGridCtrl::PointerInTipCell() const { return InTipCell(QCursor::pos()); }

bool CGridCtrl::InTipCell(const QPoint& global) const {
    if (!titleTip_ || !titleTip_->isVisible() || !tipCell_.IsValid()) return false;
    const QPoint at = viewport()->mapFromGlobal(global);
    const QRect cell = visualRect(model()->index(TableRow(tipCell_.row), tipCell_.col));
    return viewport()->rect().contains(at) && cell.contains(at);
}

bool CGridCtrl::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            if (!InTipCell(static_cast<QMouseEvent*>(event)->globalPosition().toPoint())) HideTitleTip();
            break;
        case QEvent::Enter:
        case QEvent::Leave:
            if (!PointerInTipCell()) HideTitleTip();
            break;
        case QEvent::WindowDeactivate:  // another window came up over the grid's (Find, a box)
            if (watched == window()) HideTitleTip();
            break;
        default:
            break;
    }
    return QTableWidget::eventFilter(watched, event);
}

void CGridCtrl::hideEvent(QHideEvent* event) {
    HideTitleTip();
    QTableWidget::hideEvent(event);
}

void CGridCtrl::leaveEvent(QEvent* event) {
    if (!PointerInTipCell()) HideTitleTip();
    QTableWidget::leaveEvent(event);
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::ToolTip:
            return true;  // the title tip does this job
        case QEvent::Leave:
            // Some X servers and window managers report a Leave when the tip is mapped
            // over the pointer, although it takes no input: the tip stays while the
            // pointer is still on its cell.
            if (!PointerInTipCell()) HideTitleTip();
            break;
        case QEvent::Wheel:
        case QEvent::MouseButtonPress:
            HideTitleTip();
            break;
        default:
            break;
    }
    return QTableWidget::viewportEvent(event);
}

void CGridCtrl::scrollContentsBy(int dx, int dy) {
    HideTitleTip();
    QTableWidget::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void CGridCtrl::changeEvent(QEvent* event) {
    // System colours come from the palette at paint time; a change only needs a repaint.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        viewport()->update();
        horizontalHeader()->viewport()->update();
    }
    QTableWidget::changeEvent(event);
}

}  // namespace kolt
