#include "view/ui/param_grid.h"

#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "document/marben_doc.h"
#include "grid/ui/in_place_edit.h"
#include "view/edit_rules.h"
#include "view/grid_layout.h"

namespace kolt {

namespace {
bool ValidNumber(int number) { return number >= 0 && number < kSlotCount; }
}  // namespace

CParamGrid::CParamGrid(QWidget* parent) : CGridCtrl(parent) { setObjectName(QStringLiteral("parameterGrid")); }

void CParamGrid::SetContext(CMarbenDoc* doc, CMarbenApp* app, IPrompts* prompts) {
    doc_ = doc;
    app_ = app;
    prompts_ = prompts;
}

int CParamGrid::NumberOfRow(int row) const {
    if (row < GetFixedRowCount() || row >= GetRowCount()) return -1;
    const int number = NumberFromCodeCell(GetItemText(row, kColCode).toStdString());
    return SlotOfNumber(number) < 0 ? -1 : number;
}

bool CParamGrid::IsSettingCell(int row, int col) const {
    return compareMode_ == 0 && col == kColSetting && row >= GetFixedRowCount() && row < GetRowCount();
}

bool CParamGrid::OnBeginEdit(int row, int col) {
    if (!doc_ || !app_ || !IsSettingCell(row, col)) return false;
    const int number = NumberOfRow(row);
    return number >= 0 && MayBeginEdit(number, app_->settings.onlineEdit != 0, app_->linkedFlag != 0);
}

void CParamGrid::OnSetupEditor(int row, int, CInPlaceEdit& editor) {
    const int number = NumberOfRow(row);
    // The editor takes at most the width from the document's limit tables.
    editor.SetParameterFilter(Attribute(number), doc_->widthByNumber[static_cast<std::size_t>(number)]);
}

void CParamGrid::OnEndEdit(int row, int col, const QString& text, int, bool cancelled) {
    if (!doc_ || !app_ || !IsSettingCell(row, col)) return;
    const std::string code = GetItemText(row, kColCode).toStdString();
    const int number = NumberFromCodeCell(code);
    if (!ValidNumber(number)) return;
    const auto n = static_cast<std::size_t>(number);
    EndEditInput in;
    in.code = code;
    in.text = text.toStdString();
    in.previousText = GetItemText(row, col).toStdString();
    in.cancelled = cancelled;
    in.min = doc_->minByNumber[n];
    in.max = doc_->maxByNumber[n];
    in.onlineEdit = app_->settings.onlineEdit != 0;
    in.compareMode = compareMode_;
    const EndEditDecision d = DecideEndEdit(in);
    if (d.number < 0 || cancelled) return;

    if (d.rejected) {
        // The edit may end because a busy command opened a dialog: keep its flag.
        NestedFlagGuard busy(app_->busyFlag);
        if (prompts_) prompts_->Message(d.message, text::kErrorCaption, Icon::Information);
        setFocus(Qt::OtherFocusReason);
        return;
    }

    const auto slot = static_cast<std::size_t>(d.slot);
    const QString previousText = GetItemText(row, col);
    const std::int32_t previousValue = doc_->values[0][slot];
    const bool docWasModified = doc_->IsModified();
    const bool cellWasModified = GetModified(row, col);
    if (d.commit) {
        doc_->values[0][slot] = d.value;
        doc_->SetModifiedFlag(true);
        SetModified(row, col, true);
        SetItemText(row, col, text);
    }
    if (d.rememberOnline) memo_ = {true, number, row, col, previousText, previousValue, docWasModified, cellWasModified};
    emit settingAccepted(number);
    if (d.postOnline) emit onlineEditRequested(number);
}

void CParamGrid::RestoreOnlineEdit() {
    if (!memo_.valid || !doc_) return;
    const int slot = SlotOfNumber(memo_.number);
    if (slot >= 0) doc_->values[0][static_cast<std::size_t>(slot)] = memo_.value;
    SetItemText(memo_.row, memo_.col, memo_.text);
    SetModified(memo_.row, memo_.col, memo_.cellWasModified);
    if (!memo_.docWasModified) doc_->SetModifiedFlag(false);
    viewport()->update();
    setFocus(Qt::OtherFocusReason);
}

std::optional<QCursor> CParamGrid::CellCursor(int row, int col) const {
    if (!app_ || !IsSettingCell(row, col)) return std::nullopt;
    const int number = NumberOfRow(row);
    if (number < 0) return std::nullopt;
    const bool editable = MayBeginEdit(number, app_->settings.onlineEdit != 0, app_->linkedFlag != 0);
    return QCursor(editable ? Qt::IBeamCursor : Qt::ForbiddenCursor);
}

}  // namespace kolt
