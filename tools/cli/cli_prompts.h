// The user, as far as a command line has one: messages go to stderr (the one
// that reports success, "Write Parameter Successfully !!", to stdout with the
// results) and every question is answered without asking. The answers are
// the cautious ones (No, Cancel, Abort, no file chosen) unless a command's
// options say otherwise. Progress shows on stderr only when it is a terminal.
#pragma once

#include "base/prompts.h"

#include <functional>
#include <ostream>

namespace kolt::cli {

class CliPrompts : public IPrompts {
public:
    CliPrompts(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // How Yes/No and Continue/Abort questions are answered.
    void SetYesAnswer(bool yes) { yes_ = yes; }
    void SetContinueAnswer(bool go) { continue_ = go; }
    // Show the progress line (on a terminal: one line rewritten in place).
    void SetShowProgress(bool show) { showProgress_ = show; }

    void Message(const std::string& text, const std::string& caption, Icon icon) override;
    void CommMessage(const std::string& text) override;
    bool YesNo(const std::string& text, const std::string& caption, Icon icon) override;
    Answer YesNoCancel(const std::string& text, const std::string& caption, Icon icon) override;
    bool ContinueAbort(const std::string& text) override;
    // The monitor error dialog: its text on stderr, answered like ContinueAbort.
    bool MonitorError(const std::string& text) override;
    // A remark on stderr.
    void Notice(const std::string& text) override;

    void ProgressOpen(bool) override {}
    void ProgressRange(int, int) override {}
    void ProgressStep() override {}
    void ProgressText(const std::string& text) override;
    void ProgressClose() override;
    // Runs the pump hook, if any: a long scan can look at Ctrl+C there.
    void PumpOne() override {
        if (pumpHook_) pumpHook_();
    }
    void SetPumpHook(std::function<void()> hook) { pumpHook_ = std::move(hook); }

    std::optional<std::string> AskSavePath(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> AskOpenPath(const std::string&, const std::string&) override { return std::nullopt; }

private:
    void Print(std::ostream& to, const std::string& text);
    void ClearProgressLine();

    std::ostream& out_;
    std::ostream& err_;
    bool yes_ = false;
    bool continue_ = false;
    bool showProgress_ = false;
    bool progressShown_ = false;
    std::function<void()> pumpHook_;
};

}  // namespace kolt::cli
