// How a failed transaction is shown to the user; the same for link, read,
// write and online write.
#pragma once

#include <string>

namespace kolt {

class CModbusPort;
class IPrompts;

// Text of an exception reply: the drive's text, or for a code without one a
// text that names the code, so the user never gets an empty box.
std::string ExceptionMessage(const CModbusPort& port);

// The text a failed transaction shows: "TIME-OUT !!" (result 0), "Check Sum
// Error !!" (1) or the exception text (3); "" for a normal reply.
std::string FailureText(int result, const CModbusPort& port);

// Result 0: "TIME-OUT !!", result 1: "Check Sum Error !!" (both in the
// "Communication Message" window), result 3: the exception text in an
// "Error Message" box with the information icon. Result 2 shows nothing.
void ReportTransactionFailure(int result, const CModbusPort& port, IPrompts& prompts);

}  // namespace kolt
