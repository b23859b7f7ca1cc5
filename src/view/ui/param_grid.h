// The grid that shows a parameter document and edits its settings in place:
// it opens the editor only where a setting may change, filters every key,
// range-checks a finished edit and stores it into the document.
#pragma once

#include "grid/ui/grid_ctrl.h"

#include <cstdint>

namespace kolt {

class CMarbenApp;
class CMarbenDoc;
class IPrompts;

// The state before the last edit that went on line, kept so that a write the
// drive refuses can be undone.
struct OnlineEditMemo {
    bool valid = false;
    int number = -1;
    int row = -1;
    int col = -1;
    QString text;               // the cell's text before the edit
    std::int32_t value = 0;     // the document's setting before the edit
    bool docWasModified = false;
    bool cellWasModified = false;
};

class CParamGrid : public CGridCtrl {
    Q_OBJECT
public:
    explicit CParamGrid(QWidget* parent = nullptr);

    // The document whose settings the grid edits, the application whose
    // switches it consults and the prompts for its messages. Rows show the
    // code in column 1 and the setting in column 4.
    void SetContext(CMarbenDoc* doc, CMarbenApp* app, IPrompts* prompts);
    void SetCompareMode(int mode) { compareMode_ = mode; }
    int CompareMode() const { return compareMode_; }

    // Parameter number of a data row from its "Code" cell; -1 for none.
    int NumberOfRow(int row) const;

    // Over the "Setting" column of an ordinary document: the editable or the
    // not-editable pointer.
    std::optional<QCursor> CellCursor(int row, int col) const override;

    const OnlineEditMemo& LastOnlineEdit() const { return memo_; }
    // Puts the remembered value, text and modified state back and focuses the grid.
    void RestoreOnlineEdit();

signals:
    // An edit of `number` passed the range check (stored or unchanged).
    void settingAccepted(int number);
    // An accepted edit that online edit must write to the drive. Emitted from
    // inside the edit's end: receivers that talk to a drive connect queued.
    void onlineEditRequested(int number);

protected:
    bool OnBeginEdit(int row, int col) override;
    void OnSetupEditor(int row, int col, CInPlaceEdit& editor) override;
    void OnEndEdit(int row, int col, const QString& text, int lastKey, bool cancelled) override;

private:
    bool IsSettingCell(int row, int col) const;

    CMarbenDoc* doc_ = nullptr;
    CMarbenApp* app_ = nullptr;
    IPrompts* prompts_ = nullptr;
    int compareMode_ = 0;
    OnlineEditMemo memo_;
};

}  // namespace kolt
