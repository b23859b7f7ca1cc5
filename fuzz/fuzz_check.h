// What every fuzz target shares: an invariant check that stops the run with a
// readable reason, and a user who answers nothing and counts what was shown.
#pragma once

#include "base/prompts.h"

#include <cstdio>
#include <cstdlib>
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

// Answers No, Cancel and Abort, and counts every box.
class QuietPrompts : public CUnattendedPrompts {
public:
    int messages = 0;
    std::string lastText;

    QuietPrompts() { continueAnswer = monitorErrorAnswer = false; }

protected:
    void Shown(const std::string& text) override {
        ++messages;
        lastText = text;
    }
};

}  // namespace kolt::fuzz
