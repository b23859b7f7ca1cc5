#include "cli_prompts.h"

#include "base/texts.h"

namespace kolt::cli {

void CliPrompts::ClearProgressLine() {
    if (!progressShown_) return;
    err_ << "\r\x1b[K";
    err_.flush();
    progressShown_ = false;
}

void CliPrompts::Print(std::ostream& to, const std::string& text) {
    ClearProgressLine();
    // The message texts end in line breaks meant for a box; one is enough here.
    std::string t = text;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
    to << t << '\n';
    to.flush();
}

void CliPrompts::Message(const std::string& text, const std::string&, Icon) {
    Print(text == text::kWriteOk ? out_ : err_, text);
}

void CliPrompts::CommMessage(const std::string& text) { Print(err_, text); }

bool CliPrompts::YesNo(const std::string& text, const std::string&, Icon) {
    Print(err_, text + (yes_ ? "\n-> Yes" : "\n-> No"));
    return yes_;
}

Answer CliPrompts::YesNoCancel(const std::string& text, const std::string&, Icon) {
    Print(err_, text);
    return Answer::Cancel;
}

bool CliPrompts::ContinueAbort(const std::string& text) {
    Print(err_, text + (continue_ ? "\n-> Continue" : "\n-> Abort"));
    return continue_;
}

bool CliPrompts::MonitorError(const std::string& text) {
    Print(err_, text);
    return continue_;
}

void CliPrompts::Notice(const std::string& text) { Print(err_, text); }

void CliPrompts::ProgressText(const std::string& text) {
    if (!showProgress_) return;
    err_ << "\r\x1b[K" << text;
    err_.flush();
    progressShown_ = true;
}

void CliPrompts::ProgressClose() { ClearProgressLine(); }

}  // namespace kolt::cli
