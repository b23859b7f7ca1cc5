#include "link/online_write.h"

#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "document/marben_doc.h"
#include "link/modbus_port.h"
#include "link/transaction_report.h"

namespace kolt {

namespace {

constexpr int kFactoryDefault = 52;  // F52
constexpr int kReset50Hz = 10;
constexpr int kReset60Hz = 20;

bool OnlineWriteApplies(const CMarbenApp& app) { return app.settings.onlineEdit && app.linkedFlag; }

std::int32_t& SettingOf(CMarbenDoc& doc, int number) {
    return doc.values[0][static_cast<std::size_t>(SlotOfNumber(number))];
}

std::string SettingText(const CMarbenDoc& doc, int number) {
    return FormatParamValue(doc.values[0][static_cast<std::size_t>(SlotOfNumber(number))], number);
}

}  // namespace

bool WriteOneParameter(LinkContext& ctx, int station, int number, int value) {
    CMarbenApp& app = ctx.app;
    if (!app.linkedFlag) {
        ctx.prompts.CommMessage(text::kNotLinked);
        return false;
    }
    // Nested: the "Definite parameter" dialog writes from inside its own modal
    // loop, whose busy flag must still be up when this write is done.
    NestedFlagGuard busy(app.busyFlag);
    int result = kNoReply;
    ctx.OnPort([&] { result = ctx.port.TransactWithRetry(ModbusRequest::WriteParam(station, number, value)); });
    if (result == kNormalReply) {
        ctx.prompts.Message(text::kWriteOk, text::kWriteCaption, Icon::None);
        return true;
    }
    ReportTransactionFailure(result, ctx.port, ctx.prompts);
    return false;
}

bool ConfirmFactoryReset(IPrompts& prompts, int number, int value) {
    if (number != kFactoryDefault || (value != kReset50Hz && value != kReset60Hz)) return true;
    const char* question = value == kReset50Hz ? text::kF52Reset50 : text::kF52Reset60;
    return prompts.YesNo(question, text::kWriteCaption, Icon::Exclamation);
}

void OnViewEditCommitted(LinkContext& ctx, CMarbenDoc& doc, IOnlineEditView& view, int number) {
    CMarbenApp& app = ctx.app;
    if (SlotOfNumber(number) < 0) return;
    const int value = SettingOf(doc, number);
    if (!OnlineWriteApplies(app)) {
        view.ShowSettingText(number, SettingText(doc, number));
        view.Repaint();
        return;
    }
    {
        FlagGuard busy(app.busyFlag);
        if (!ConfirmFactoryReset(ctx.prompts, number, value)) {
            view.RevertEdit();
            view.Repaint();
            return;
        }
    }
    view.RecordStation(app.currentStation);
    if (WriteOneParameter(ctx, app.currentStation, number, value)) {
        // The drive has carried out the reset; F52 itself reads back as 0.
        if (number == kFactoryDefault) SettingOf(doc, number) = 0;
        view.ShowSettingText(number, SettingText(doc, number));
        view.FocusGrid();
    } else {
        view.RevertEdit();
    }
    view.Repaint();
}

void OnDefiniteEditCommitted(LinkContext& ctx, CMarbenDoc& doc, IOnlineEditView& view, IOnlineEditView* dialog,
                             int station, int number, int value) {
    if (SlotOfNumber(number) < 0) return;
    // F52 = 0 resets nothing: as in the view's grid, it is not sent.
    if (!OnlineWriteApplies(ctx.app) || (number == kFactoryDefault && value == 0)) {
        view.ShowSettingText(number, SettingText(doc, number));
        view.Repaint();
        return;
    }
    if (!ConfirmFactoryReset(ctx.prompts, number, value)) {
        if (dialog) {
            dialog->RevertEdit();
            dialog->Repaint();
        }
        return;
    }
    if (WriteOneParameter(ctx, station, number, value)) {
        if (number == kFactoryDefault) SettingOf(doc, number) = 0;
        view.ShowSettingText(number, SettingText(doc, number));
        view.Repaint();
        if (number == kFactoryDefault && dialog) {
            dialog->ShowSettingText(number, SettingText(doc, number));
            dialog->FocusGrid();
            dialog->Repaint();
        }
    } else if (dialog) {
        dialog->RevertEdit();
        dialog->Repaint();
    }
}

}  // namespace kolt
