// The program's editable grid: a table of cells with an optional fixed header
// row, a focus cell, per-cell text, colours, font, placement and state, an
// in-place editor and title tips for cut-off texts.
//
// Rows are counted as the program sees them: with one fixed row, row 0 is the
// header and the data rows start at 1.
#pragma once

#include "grid/ui/in_place_edit.h"
#include "grid/ui/title_tip.h"

#include <QCursor>
#include <QFont>
#include <QPointer>
#include <QTableWidget>

#include <optional>

namespace kolt {

// Cell state bits.
enum GridCellState : unsigned {
    kCellFocused = 0x01,   // read only: the focus cell
    kCellSelected = 0x02,  // read only: inside the selection
    kCellReadOnly = 0x04,
    kCellFixed = 0x08,     // read only: a cell of the fixed header row
    kCellModified = 0x10,
};

// Cell text placement bits.
enum GridTextFormat : unsigned {
    kFormatLeft = 0x00,
    kFormatCentre = 0x01,
    kFormatRight = 0x02,
    kFormatVCentre = 0x04,
    kFormatSingleLine = 0x20,
    kFormatEllipsis = 0x8000,  // "..." at the end of a text that does not fit
};

// One call that sets several members of a cell; `mask` says which.
struct GridCellItem {
    enum Mask : unsigned { kText = 0x01, kState = 0x02, kFormat = 0x04, kFgColour = 0x08, kBkColour = 0x10,
                           kFont = 0x20, kParam = 0x40 };
    unsigned mask = 0;
    int row = 0;
    int col = 0;
    QString text;
    unsigned state = 0;
    unsigned format = kFormatLeft | kFormatVCentre | kFormatSingleLine;
    QColor fgColour;
    QColor bkColour;
    QFont font;
    qint64 param = 0;
};

struct GridCellId {
    int row = -1;
    int col = -1;
    bool IsValid() const { return row >= 0 && col >= 0; }
};

// What opened the editor; it decides how the editor starts.
enum class EditStart {
    Mouse,      // double-click: whole text selected
    Enter,      // Enter: whole text selected
    Backspace,  // caret at the end, last character deleted
    Key,        // a character: whole text selected, then the character typed
    SelectAll,  // Tab, space, page and arrow keys: whole text selected
};

class CGridCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Shape. Counts include the fixed row; new cells are empty.
    void SetRowCount(int rows);
    int GetRowCount() const;
    void SetColumnCount(int cols);
    int GetColumnCount() const { return columnCount(); }
    void SetFixedRowCount(int rows);  // 0 or 1
    int GetFixedRowCount() const { return fixedRows_; }

    // Switches
    void SetEditable(bool on) { editable_ = on; }
    bool IsEditable() const { return editable_; }
    void SetListMode(bool on);  // a click selects the whole row
    bool GetListMode() const { return listMode_; }
    void SetSingleRowSelection(bool on);
    void SetHeaderSort(bool on) { headerSort_ = on; }
    void SetRowResize(bool on);
    void SetColumnResize(bool on);
    void SetGridBkColor(const QColor& colour);
    void SetGridLineColor(const QColor& colour);

    // Cells
    bool SetItem(const GridCellItem& item);
    void SetItemText(int row, int col, const QString& text);
    QString GetItemText(int row, int col) const;
    void SetItemState(int row, int col, unsigned state);
    unsigned GetItemState(int row, int col) const;
    void SetItemFormat(int row, int col, unsigned format);
    unsigned GetItemFormat(int row, int col) const;
    void SetItemFgColour(int row, int col, const QColor& colour);
    QColor GetItemFgColour(int row, int col) const;  // the grid's default when unset
    void SetItemBkColour(int row, int col, const QColor& colour);
    QColor GetItemBkColour(int row, int col) const;
    void SetItemFont(int row, int col, const QFont& font);
    QFont GetItemFont(int row, int col) const;  // the grid's default when unset
    void SetItemData(int row, int col, qint64 value);
    qint64 GetItemData(int row, int col) const;
    void SetModified(int row, int col, bool modified = true);
    bool GetModified(int row, int col) const;
    bool IsCellEditable(int row, int col) const;
    bool IsValidCell(int row, int col) const;

    // Focus cell and selection
    GridCellId GetFocusCell() const;
    void SetFocusCell(int row, int col);
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol);

    // Sizes
    void SetColumnWidthPx(int col, int width) { setColumnWidth(col, width); }
    void AutoSizeColumns();
    void AutoSize();  // columns and rows to their contents
    // Widens the columns so that together they fill the client width; the extra
    // width is shared equally.
    void ExpandColumnsToFit();

    // Drawing off while a grid is filled; on again repaints.
    void SetRedraw(bool on, bool repaint = true);

    // Scrolling on request
    void ScrollLines(int lines);
    void ScrollPages(int pages);
    void ScrollToTop();
    void ScrollToBottom();
    int WheelScrollLines() const { return wheelLines_; }

    // Editing
    bool EditCell(int row, int col, EditStart how, QChar firstKey = QChar());
    bool IsEditing() const { return editor_ != nullptr; }
    CInPlaceEdit* Editor() const { return editor_; }
    GridCellId EditingCell() const { return editCell_; }
    // Ends a running edit as if the editor had lost the focus.
    void EndEditing();
    // Closes a running edit as Escape would: nothing changes.
    void CancelEditing();

    // The mouse pointer over a cell; nothing for the usual arrow.
    virtual std::optional<QCursor> CellCursor(int row, int col) const;

    // The title tip text for a cell: its text when it does not fit, else empty.
    QString TitleTipText(int row, int col) const;
    // The title tip pop-up; visible while the mouse rests on a cut-off cell.
    CTitleTip* TitleTip() const { return titleTip_; }

protected:
    // Hooks for a grid that edits by its own rules.
    // Before the editor opens over an editable cell; false refuses the edit.
    virtual bool OnBeginEdit(int row, int col);
    // The editor exists and holds the cell's text.
    virtual void OnSetupEditor(int row, int col, CInPlaceEdit& editor);
    // The editor has closed. The default stores a changed text and marks the cell modified.
    virtual void OnEndEdit(int row, int col, const QString& text, int lastKey, bool cancelled);

    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidgetItem* Cell(int row, int col) const;    // nullptr when never set
    QTableWidgetItem* EnsureCell(int row, int col);
    bool IsFixedRow(int row) const { return row < fixedRows_; }
    int TableRow(int row) const { return row - fixedRows_; }
    void OnEditorEnded(const QString& text, int lastKey, bool cancelled);
    void PlaceEditor();
    void MoveFocusRow(int row);
    void UpdateTitleTip(const QPoint& viewportPos);
    void HideTitleTip();
    // Whether the pointer (or this global point) is still on the cell whose title tip shows.
    bool PointerInTipCell() const;
    bool InTipCell(const QPoint& global) const;

    QColor lineColour_{192, 192, 192};  // grid lines; the painters hold a pointer to it
    int fixedRows_ = 1;
    bool editable_ = true;
    bool listMode_ = false;
    bool singleRow_ = false;
    bool headerSort_ = true;
    bool redraw_ = true;
    int wheelLines_ = 3;
    int wheelRemainder_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QPointer<CInPlaceEdit> editor_;
    GridCellId editCell_;
    CTitleTip* titleTip_ = nullptr;
    GridCellId tipCell_;
};

}  // namespace kolt
