#include "link/read_procedure.h"

#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "document/doc_commands.h"
#include "document/marben_doc.h"
#include "link/modbus_port.h"
#include "link/transaction_report.h"

#include <cstdio>

namespace kolt {

namespace {

// Reads one group into `values` (by slot). False after reporting a failure.
bool ReadGroup(LinkContext& ctx, int station, int firstNumber, int firstSlot, int count, SlotValues& values) {
    ctx.prompts.ProgressRange(0, count);
    for (int i = 0; i < count; ++i) {
        const int number = firstNumber + i;
        ctx.prompts.ProgressText(ReadProgressText(number));
        ctx.prompts.ProgressStep();
        int value = 0;
        const int result = ctx.port.TransactWithRetry(ModbusRequest::ReadParam(station, number), value);
        if (result != kNormalReply) {
            ReportTransactionFailure(result, ctx.port, ctx.prompts);
            return false;
        }
        values[static_cast<std::size_t>(firstSlot + i)] = value;
    }
    return true;
}

}  // namespace

std::string ReadProgressText(int number) {
    return std::string(text::kReadProgress) + CodeText(number);
}

bool ReadParameters(LinkContext& ctx, int station, bool readF, bool readC) {
    CMarbenApp& app = ctx.app;
    if (!app.linkedFlag) {
        ctx.prompts.CommMessage(text::kNotLinked);
        return false;
    }
    int version = 0;
    int result = ctx.port.TransactWithRetry(ModbusRequest::Version(station), version);
    if (result != kNormalReply) {
        ReportTransactionFailure(result, ctx.port, ctx.prompts);
        return false;
    }
    int capacity = 0;
    result = ctx.port.TransactWithRetry(ModbusRequest::Capacity(station), capacity);
    if (result != kNormalReply) {
        ReportTransactionFailure(result, ctx.port, ctx.prompts);
        return false;
    }

    // Values are collected apart and copied only when every one has come,
    // so a read that breaks off leaves the read buffer as it was.
    SlotValues read = app.staging.values[0];
    ctx.prompts.ProgressOpen(false);
    const bool ok = (!readF || ReadGroup(ctx, station, 0, 0, kFCount, read)) &&
                    (!readC || ReadGroup(ctx, station, kCFirstNumber, kFCount, kCCount, read));
    ctx.prompts.ProgressClose();
    if (!ok) return false;

    for (int slot = kParamCount; slot < kSlotCount; ++slot) read[static_cast<std::size_t>(slot)] = 0;
    app.staging.values[0] = read;
    app.readVersion = version;
    app.readCapacity = capacity;
    return true;
}

bool ReadOneParameter(LinkContext& ctx, int station, int number, int& value) {
    if (!ctx.app.linkedFlag) {
        ctx.prompts.CommMessage(text::kNotLinked);
        return false;
    }
    NestedFlagGuard busy(ctx.app.busyFlag);
    const int result = ctx.port.TransactWithRetry(ModbusRequest::ReadParam(station, number), value);
    if (result == kNormalReply) return true;
    ReportTransactionFailure(result, ctx.port, ctx.prompts);
    return false;
}

bool RunReadCommand(LinkContext& ctx, const ReadRequest& request) {
    FlagGuard busy(ctx.app.busyFlag);
    if (!BeginReadCommand(ctx, request)) return false;
    if (!ReadParameters(ctx, request.station, request.readF, request.readC)) return false;
    FinishReadCommand(ctx, request);
    return true;
}

bool BeginReadCommand(LinkContext& ctx, const ReadRequest& request) {
    CMarbenApp& app = ctx.app;
    if (CMarbenDoc* doc = ctx.host.ActiveDocument()) {
        if (!SaveIfModifiedYesNo(*doc, ctx.prompts)) return false;
        // A comparison or a page preview is no place for drive values: the
        // read goes into a new document instead.
        if (app.staging.compareMode != 0 || doc->IsCompare() || ctx.host.InPrintPreview())
            ctx.host.CloseActiveDocument();
    }

    app.readF = request.readF ? 1 : 0;
    app.readC = request.readC ? 1 : 0;
    return true;
}

void FinishReadCommand(LinkContext& ctx, const ReadRequest& request) {
    CMarbenApp& app = ctx.app;
    app.currentStation = request.station;
    app.softwareVersion = app.readVersion;
    app.currentModel = app.readCapacity;
    app.staging.compareMode = 0;
    app.staging.present = {};
    app.staging.names = {};
    ctx.host.RefreshStatusPanes();

    if (CMarbenDoc* doc = ctx.host.ActiveDocument()) {
        doc->ReloadFromApp();
    } else {
        app.freshRead = 1;
        // A document that could not be made must not take the values later.
        if (ctx.host.CreateNewDocument() == nullptr) app.freshRead = 0;
    }
}

}  // namespace kolt
