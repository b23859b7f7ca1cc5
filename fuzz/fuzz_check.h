// What every fuzz target shares: an invariant check that stops the run with a
// readable reason, and a user who answers nothing and counts what was shown.
#pragma once

#include "base/prompts.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#define FUZZ_CHECK(cond, what)                                                                  \
    do {                                                                                       \
        if (!(cond)) {                                                                         \
            std::fprintf(stderr, "invariant broken at %s:%d: %s (%s)\n", __FILE__, __LINE__, what, \
                         #cond);                                                               \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace kolt::fuzz {

class QuietPrompts : public IPrompts {
public:
    int messages = 0;
    std::string lastText;

    void Message(const std::string& text, const std::string&, Icon) override {
        ++messages;
        lastText = text;
    }
    void CommMessage(const std::string& text) override {
        ++messages;
        lastText = text;
    }
    bool YesNo(const std::string&, const std::string&, Icon) override { return false; }
    Answer YesNoCancel(const std::string&, const std::string&, Icon) override { return Answer::Cancel; }
    bool ContinueAbort(const std::string&) override { return false; }
    bool MonitorError(const std::string&) override { return false; }
    void ProgressOpen(bool) override {}
    void ProgressRange(int, int) override {}
    void ProgressStep() override {}
    void ProgressText(const std::string&) override {}
    void ProgressClose() override {}
    void PumpOne() override {}
    std::optional<std::string> AskSavePath(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> AskOpenPath(const std::string&, const std::string&) override { return std::nullopt; }
};

}  // namespace kolt::fuzz
