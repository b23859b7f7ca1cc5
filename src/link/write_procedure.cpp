#include "link/write_procedure.h"

#include "base/document_host.h"
#include "base/marben_app.h"
#include "base/prompts.h"
#include "base/texts.h"
#include "catalogue/catalogue.h"
#include "document/marben_doc.h"
#include "link/modbus_port.h"
#include "link/transaction_report.h"

namespace kolt {

namespace {

constexpr int kCapacityNumber = 0;   // F00
constexpr int kFactoryDefault = 52;  // F52

// What happens after a failure at one station.
enum class Next { NextStation, End };

class WriteRun {
public:
    WriteRun(LinkContext& ctx, const CMarbenDoc& doc, const WriteRequest& request,
             const StationWriteObserver& onStation)
        : ctx_(ctx),
          doc_(doc),
          request_(request),
          onStation_(onStation),
          count_(static_cast<int>(request.stations.size())) {}

    WriteOutcome Run() {
        for (int i = 0; i < count_; ++i) {
            last_ = i == count_ - 1;
            const int station = request_.stations[static_cast<std::size_t>(i)];
            report_ = StationWriteReport{};
            report_.station = station;
            const Next next = WriteStation(station);
            CloseProgress();
            if (onStation_) onStation_(report_);
            if (next == Next::End) return WriteOutcome::Ended;
        }
        return WriteOutcome::Completed;
    }

private:
    bool MoreToCome() const { return count_ > 1 && !last_; }

    Next AskContinue(const std::string& text) {
        return ctx_.prompts.ContinueAbort(text) ? Next::NextStation : Next::End;
    }

    Next Failure(int result) {
        report_.result = result == kNoReply          ? StationWriteResult::NoReply
                         : result == kExceptionReply ? StationWriteResult::Refused
                                                     : StationWriteResult::BadFrame;
        if (result == kExceptionReply) report_.message = ExceptionMessage(ctx_.port);
        switch (result) {
        case kNoReply:
            if (!MoreToCome()) {
                ctx_.prompts.CommMessage(text::kTimeOut);
                return Next::End;
            }
            return AskContinue(std::string(text::kCommErrorContinue) + "\n" + text::kContinueNext);
        case kExceptionReply:
            ctx_.prompts.Message(ExceptionMessage(ctx_.port), text::kErrorCaption, Icon::Information);
            return MoreToCome() ? AskContinue(text::kContinueNext) : Next::End;
        default:  // a bad frame ends the whole command
            ctx_.prompts.CommMessage(text::kCheckSumError);
            return Next::End;
        }
    }

    Next WriteStation(int station) {
        CMarbenApp& app = ctx_.app;
        app.currentStation = station;
        ctx_.host.RefreshStatusPanes();

        if (count_ == 1) {
            int version = 0;
            const int result = ctx_.port.TransactWithRetry(ModbusRequest::Version(station), version);
            if (result != kNormalReply) {
                Failure(result);
                return Next::End;
            }
            app.softwareVersion = version;
            ctx_.host.RefreshStatusPanes();
        }

        int capacity = 0;
        const int result = ctx_.port.TransactWithRetry(ModbusRequest::Capacity(station), capacity);
        if (result != kNormalReply) return Failure(result);
        report_.capacity = capacity;
        // Another model's settings would be out of place, or out of range, on this drive.
        if (capacity != doc_.values[0][kCapacityNumber]) {
            report_.result = StationWriteResult::CapacityDiffers;
            ctx_.prompts.Message(text::kCapacityError, text::kErrorCaption, Icon::Information);
            return MoreToCome() ? AskContinue(text::kContinueNext) : Next::End;
        }

        ctx_.prompts.ProgressOpen(false);
        progressOpen_ = true;
        bool failed = false;
        Next next = Next::NextStation;
        if (app.writeBasic) failed = !WriteGroup(station, 0, 0, kFCount, next);
        if (!failed && app.writeAdvanced) failed = !WriteGroup(station, kCFirstNumber, kFCount, kCCount, next);
        return next;
    }

    // False after a failed write; `next` then says how to go on.
    bool WriteGroup(int station, int firstNumber, int firstSlot, int count, Next& next) {
        ctx_.prompts.ProgressRange(0, count);
        for (int i = 0; i < count; ++i) {
            const int number = firstNumber + i;
            if (!IsWrittenByWriteCommand(number)) {
                ctx_.prompts.ProgressStep();
                continue;
            }
            ctx_.prompts.ProgressText(WriteProgressText(number));
            ctx_.prompts.ProgressStep();
            const int value = doc_.values[0][static_cast<std::size_t>(firstSlot + i)];
            const int result = ctx_.port.TransactWithRetry(ModbusRequest::WriteParam(station, number, value));
            if (result != kNormalReply) {
                report_.failedNumber = number;
                next = Failure(result);
                return false;
            }
            ++report_.written;
        }
        return true;
    }

    void CloseProgress() {
        if (!progressOpen_) return;
        ctx_.prompts.ProgressClose();
        progressOpen_ = false;
    }

    LinkContext& ctx_;
    const CMarbenDoc& doc_;
    const WriteRequest& request_;
    const StationWriteObserver& onStation_;
    const int count_;
    StationWriteReport report_;
    bool last_ = false;
    bool progressOpen_ = false;
};

}  // namespace

std::string WriteProgressText(int number) {
    return std::string(text::kWriteProgress) + CodeText(number);
}

bool IsWrittenByWriteCommand(int number) {
    if (number == kCapacityNumber || number == kFactoryDefault) return false;
    return FindParam(number) != nullptr && !IsReadOnly(number);
}

bool CanStartWrite(LinkContext& ctx, const CMarbenDoc& doc) {
    const CMarbenApp& app = ctx.app;
    if (doc.IsCompare() || app.scanFlag || app.monitoringFlag) return false;
    if (!app.linkedFlag) {
        ctx.prompts.CommMessage(text::kNotLinked);
        return false;
    }
    return true;
}

WriteOutcome RunWriteCommand(LinkContext& ctx, const CMarbenDoc& doc, const WriteRequest& request) {
    return RunWriteCommand(ctx, doc, request, {});
}

WriteOutcome RunWriteCommand(LinkContext& ctx, const CMarbenDoc& doc, const WriteRequest& request,
                             const StationWriteObserver& onStation) {
    if (!CanStartWrite(ctx, doc)) return WriteOutcome::NotStarted;
    CMarbenApp& app = ctx.app;
    app.writeBasic = request.writeBasic ? 1 : 0;
    app.writeAdvanced = request.writeAdvanced ? 1 : 0;
    if (request.stations.empty()) {
        // The station text named nobody (a lone comma): say so rather than
        // ending without a word.
        ctx.prompts.Message(text::kNoStationSelected, text::kWriteCaption, Icon::Information);
        return WriteOutcome::NotStarted;
    }
    return WriteRun(ctx, doc, request, onStation).Run();
}

}  // namespace kolt
