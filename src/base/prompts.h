// How the procedures reach the user. The window program implements this with Qt
// dialogs; tests use a recording fake that answers scripted choices.
#pragma once

#include <optional>
#include <string>

namespace kolt {

enum class Icon { None, Information, Exclamation, Error };
enum class Answer { Yes, No, Cancel };

class IPrompts {
public:
    virtual ~IPrompts() = default;

    // A modal message box with an OK button.
    virtual void Message(const std::string& text, const std::string& caption, Icon icon) = 0;
    // The modal "Communication Message" window with its "&Quit" button.
    virtual void CommMessage(const std::string& text) = 0;
    // Yes/No; true for Yes.
    virtual bool YesNo(const std::string& text, const std::string& caption, Icon icon) = 0;
    virtual Answer YesNoCancel(const std::string& text, const std::string& caption, Icon icon) = 0;
    // The "Write Message" window with "&Continue" and "&Abort"; true for Continue.
    virtual bool ContinueAbort(const std::string& text) = 0;
    // The monitor error dialog "Monitor Message": the two-line text centred,
    // "&Continue" (the default button) and "&Abort". True for Continue; the
    // close box and Escape count as Abort.
    virtual bool MonitorError(const std::string& text) = 0;

    // The caption-less progress window (bar and text), with or without "Cancel".
    // Pressing Cancel sets the application's cancel flag and closes the window.
    virtual void ProgressOpen(bool cancellable) = 0;
    virtual void ProgressRange(int low, int high) = 0;
    virtual void ProgressStep() = 0;
    virtual void ProgressText(const std::string& text) = 0;
    virtual void ProgressClose() = 0;

    // A remark that needs no answer (a slow adapter, say): the window program shows
    // it in the status bar, the command line on stderr.
    virtual void Notice(const std::string& text) { (void)text; }

    // Process one pending window event, if any, and return at once.
    virtual void PumpOne() = 0;

    // The save-file dialog: filter in the "Name (*.x)|*.x||" form, default suffix,
    // proposed name; overwrite confirmation is the dialog's own. Empty on Cancel.
    virtual std::optional<std::string> AskSavePath(const std::string& filter, const std::string& defaultExt,
                                                   const std::string& proposedName) = 0;
    // The open-file dialog for an existing file. Empty on Cancel.
    virtual std::optional<std::string> AskOpenPath(const std::string& filter, const std::string& defaultExt) = 0;
};

// Nobody at the screen: every box's text goes to Shown() and the box gets the
// answer set below; progress and pumping do nothing; file dialogs are
// cancelled. The benchmarks, the soak and the fuzz targets build on it, so an
// answer added to IPrompts needs a default here only.
class CUnattendedPrompts : public IPrompts {
public:
    bool yesNoAnswer = false;
    Answer yesNoCancelAnswer = Answer::Cancel;
    bool continueAnswer = true;      // "Write Message": Continue
    bool monitorErrorAnswer = true;  // "Monitor Message": Continue

    void Message(const std::string& text, const std::string&, Icon) override { Shown(text); }
    void CommMessage(const std::string& text) override { Shown(text); }
    bool YesNo(const std::string& text, const std::string&, Icon) override { return Shown(text), yesNoAnswer; }
    Answer YesNoCancel(const std::string& text, const std::string&, Icon) override {
        return Shown(text), yesNoCancelAnswer;
    }
    bool ContinueAbort(const std::string& text) override { return Shown(text), continueAnswer; }
    bool MonitorError(const std::string& text) override { return Shown(text), monitorErrorAnswer; }
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

protected:
    virtual void Shown(const std::string& text) { (void)text; }
};

}  // namespace kolt
