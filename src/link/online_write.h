// Online edit: a setting changed in a grid goes to the drive at once and
// stays in the document only when the drive accepts it.
#pragma once

#include "link/link_context.h"

#include <string>

namespace kolt {

class CMarbenDoc;

// The grid whose edit is being handled: the parameter view's or the
// "Definite parameter" dialog's. The grid keeps the edit's old value, text
// and the document's old modified state, so it can take the edit back.
class IOnlineEditView {
public:
    virtual ~IOnlineEditView() = default;
    // Shows `text` in the Setting cell of parameter `number` (the view's row
    // is slot + 1; the dialog finds its own row for the parameter).
    virtual void ShowSettingText(int number, const std::string& text) = 0;
    // Takes back the last committed edit: old value, old text, old modified state.
    virtual void RevertEdit() = 0;
    virtual void FocusGrid() = 0;
    virtual void Repaint() = 0;
    // The station the online write goes to, kept by the view.
    virtual void RecordStation(int station) = 0;
};

// One Write parameter frame to `station` (up to three calls while there is no
// or a garbled reply). "Write Parameter Successfully !!" on success, the
// failure's message otherwise; the link stays open either way. Not linked:
// "KOLT Not Link With PC !!" and nothing is sent. Sets the busy flag meanwhile.
bool WriteOneParameter(LinkContext& ctx, int station, int number, int value);

// The factory-default question for F52 set to 10 (50 Hz) or 20 (60 Hz); other
// values are not a reset and ask nothing. True when the write may go on.
bool ConfirmFactoryReset(IPrompts& prompts, int number, int value);

// An edit committed in the parameter view's grid: the document already holds
// the new setting of parameter `number`.
void OnViewEditCommitted(LinkContext& ctx, CMarbenDoc& doc, IOnlineEditView& view, int number);

// An edit committed in the "Definite parameter" dialog's grid, for the
// station chosen there. `dialog` is nullptr when the dialog is gone.
void OnDefiniteEditCommitted(LinkContext& ctx, CMarbenDoc& doc, IOnlineEditView& view, IOnlineEditView* dialog,
                             int station, int number, int value);

}  // namespace kolt
