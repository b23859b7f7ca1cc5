#include "link/transaction_report.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "link/modbus_port.h"

#include <cstdio>

namespace kolt {

std::string ExceptionMessage(const CModbusPort& port) {
    std::string text = port.ReplyExceptionText();
    if (!text.empty()) return text;
    const char* reply = port.Reply();
    const char code[3] = {reply[5], reply[6], '\0'};
    char buf[64];
    std::snprintf(buf, sizeof buf, text::kExOther, code);
    return buf;
}

std::string FailureText(int result, const CModbusPort& port) {
    switch (result) {
    case kNoReply: return text::kTimeOut;
    case kBadFrame: return text::kCheckSumError;
    case kExceptionReply: return ExceptionMessage(port);
    default: return {};
    }
}

void ReportTransactionFailure(int result, const CModbusPort& port, IPrompts& prompts) {
    switch (result) {
    case kNoReply: prompts.CommMessage(text::kTimeOut); break;
    case kBadFrame: prompts.CommMessage(text::kCheckSumError); break;
    case kExceptionReply: prompts.Message(ExceptionMessage(port), text::kErrorCaption, Icon::Information); break;
    default: break;
    }
}

}  // namespace kolt
