#include "link/block_read.h"

#include "link/modbus_port.h"
#include "link/transaction_report.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kolt {
namespace {

// ':' address function byte-count, four digits per register, LRC, CR LF.
constexpr int ReplyLength(int registers) { return 11 + 4 * registers; }
constexpr int kBlockReplyCapacity = ReplyLength(kMaxBlockRegisters);

// Of the port's 400 ms read time, what a reply may take on the line; the rest
// is for the request and the drive's turn-around. Eleven bits a character
// covers every framing the Link dialog offers but 8 data bits with parity and
// two stop bits, which is within the margin.
constexpr int kReplyBudgetMs = 300;
constexpr int kBitsPerCharacter = 11;

// A normal reply to a block read must say it carries 2 x count bytes, and carry them.
bool CarriesBlock(const char* reply, int received, int count) {
    if (received < 7) return false;
    const int bytes = HexDigitValue(reply[5]) * 16 + HexDigitValue(reply[6]);
    std::uint16_t unused = 0;
    return bytes == 2 * count && ReplyRegisterOf(reply, received, count - 1, unused);
}

// One request for the whole block, up to three calls while there is no or a
// garbled reply; on a normal reply the values land in their slots.
int ReadBlock(CModbusPort& port, int station, const RegisterBlock& block, BlockReadResult& out) {
    const int count = static_cast<int>(block.numbers.size());
    char request[kFrameBufferSize] = {};
    const int length = BuildReadRegisters(request, station, block.start, count);
    char reply[kBlockReplyCapacity + 1];
    int result = kNoReply;
    for (int call = 0; call < kRetryCalls; ++call) {
        // Cleared every call, so nothing of an earlier reply passes for this one.
        std::memset(reply, 0, sizeof reply);
        result = port.Transaction(request, length, reply, kBlockReplyCapacity, 1);
        if (result == kNormalReply && !CarriesBlock(reply, port.ReceivedCount(), count)) result = kBadFrame;
        if (result != kNoReply && result != kBadFrame) break;
    }
    if (result != kNormalReply) return result;
    for (int k = 0; k < count; ++k) {
        std::uint16_t value = 0;
        ReplyRegisterOf(reply, port.ReceivedCount(), k, value);
        out.values[static_cast<std::size_t>(SlotOfNumber(block.numbers[static_cast<std::size_t>(k)]))] = value;
    }
    return result;
}

// The block's parameters one request each, as Read sends them. False at the
// first that fails, with the failure recorded.
bool ReadSingly(CModbusPort& port, int station, const RegisterBlock& block, BlockReadResult& out,
                const std::function<bool()>& stop) {
    for (int number : block.numbers) {
        if (stop && stop()) {
            out.cancelled = true;
            return false;
        }
        int value = 0;
        const int result = port.TransactWithRetry(ModbusRequest::ReadParam(station, number), value);
        if (result != kNormalReply) {
            out.result = result;
            out.failedNumber = number;
            out.message = FailureText(result, port);
            return false;
        }
        out.values[static_cast<std::size_t>(SlotOfNumber(number))] = value;
    }
    return true;
}

}  // namespace

std::vector<RegisterBlock> ParameterBlocks(int maxRegisters) {
    maxRegisters = std::clamp(maxRegisters, 1, kMaxBlockRegisters);
    std::vector<const ParamDef*> byRegister;
    for (const ParamDef& p : AllParams()) byRegister.push_back(&p);
    std::sort(byRegister.begin(), byRegister.end(), [](const ParamDef* a, const ParamDef* b) { return a->reg < b->reg; });

    std::vector<RegisterBlock> blocks;
    for (const ParamDef* p : byRegister) {
        const bool continues = !blocks.empty() &&
                               blocks.back().start + blocks.back().numbers.size() == p->reg &&
                               static_cast<int>(blocks.back().numbers.size()) < maxRegisters;
        if (!continues) blocks.push_back({p->reg, {}});
        blocks.back().numbers.push_back(p->number);
    }
    return blocks;
}

int BlockLimitForBaud(int baud) {
    if (baud <= 0) return kMaxBlockRegisters;
    const long characters = static_cast<long>(baud) * kReplyBudgetMs / (kBitsPerCharacter * 1000L);
    return static_cast<int>(std::clamp((characters - ReplyLength(0)) / 4, 1L, static_cast<long>(kMaxBlockRegisters)));
}

int BuildReadRegisters(char* out, int station, std::uint16_t reg, int count) {
    char body[16];
    const int n = std::snprintf(body, sizeof body, ":%02X03%04X%04X", static_cast<unsigned>(station) & 0xFFu,
                                static_cast<unsigned>(reg), static_cast<unsigned>(count) & 0xFFFFu);
    std::memcpy(out, body, static_cast<std::size_t>(n));
    return FinishFrame(out, n);
}

bool BlockReadMemory::NeedsSingleReads(int station, std::uint16_t blockStart) const {
    const auto it = single_.find(station);
    return it != single_.end() && it->second.count(blockStart) != 0;
}

void BlockReadMemory::MarkSingleReads(int station, std::uint16_t blockStart) { single_[station].insert(blockStart); }

std::set<std::uint16_t> BlockReadMemory::SingleReadBlocks(int station) const {
    const auto it = single_.find(station);
    return it == single_.end() ? std::set<std::uint16_t>{} : it->second;
}

bool BlockReadResult::Ok() const { return result == kNormalReply; }

BlockReadResult ReadParameterBlocks(CModbusPort& port, int station, BlockReadMemory& memory,
                                    const std::function<bool()>& stop) {
    BlockReadResult out;
    const int limit = BlockLimitForBaud(port.IsOpen() ? port.GetBaudRate() : 0);
    for (const RegisterBlock& block : ParameterBlocks(limit)) {
        if (stop && stop()) {
            out.cancelled = true;
            return out;
        }
        // A lone register is asked for as Read asks: there is nothing to fall back to.
        if (block.numbers.size() > 1 && !memory.NeedsSingleReads(station, block.start)) {
            const int result = ReadBlock(port, station, block, out);
            if (result == kNormalReply) continue;
            if (result == kNoReply) {
                out.result = result;
                out.failedNumber = block.numbers.front();
                out.message = FailureText(result, port);
                return out;
            }
            // Refused, or garbled three times: this station gets this block singly from now on.
            memory.MarkSingleReads(station, block.start);
        }
        if (!ReadSingly(port, station, block, out, stop)) return out;
    }
    out.result = kNormalReply;
    return out;
}

}  // namespace kolt
