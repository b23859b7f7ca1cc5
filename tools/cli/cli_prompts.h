// The user, as far as a command line has one: every message goes to stderr and
// every question is answered without asking, the cautious way (No, Cancel,
// Abort, no file chosen).
#pragma once

#include "app/prompts.h"

#include <ostream>

namespace kolt::cli {

class CliPrompts : public IPrompts {
public:
    explicit CliPrompts(std::ostream& err) : err_(err) {}

    void Message(const std::string& text, const std::string& caption, Icon icon) override;
    void CommMessage(const std::string& text) override;
    bool YesNo(const std::string& text, const std::string& caption, Icon icon) override;
    Answer YesNoCancel(const std::string& text, const std::string& caption, Icon icon) override;
    bool ContinueAbort(const std::string& text) override;

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

private:
    void Print(const std::string& text);

    std::ostream& err_;
};

}  // namespace kolt::cli
