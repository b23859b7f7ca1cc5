#include "cli_prompts.h"

namespace kolt::cli {

void CliPrompts::Print(const std::string& text) {
    // The message texts end in line breaks meant for a box; one is enough here.
    std::string t = text;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
    err_ << t << '\n';
    err_.flush();
}

void CliPrompts::Message(const std::string& text, const std::string&, Icon) { Print(text); }

void CliPrompts::CommMessage(const std::string& text) { Print(text); }

bool CliPrompts::YesNo(const std::string& text, const std::string&, Icon) {
    Print(text);
    return false;
}

Answer CliPrompts::YesNoCancel(const std::string& text, const std::string&, Icon) {
    Print(text);
    return Answer::Cancel;
}

bool CliPrompts::ContinueAbort(const std::string& text) {
    Print(text);
    return false;
}

}  // namespace kolt::cli
