// A recording stand-in for the user: keeps every text shown and answers from
// scripted queues (default answers when a queue is empty).
#pragma once

#include "base/prompts.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kolt::testing {

struct Shown {
    std::string kind;  // "message", "comm", "yesno", "yesnocancel", "continue", "monitor"
    std::string text;
    std::string caption;
    Icon icon = Icon::None;
};

class FakePrompts : public IPrompts {
public:
    std::vector<Shown> shown;
    std::vector<std::string> progressTexts;
    int progressOpens = 0, progressCloses = 0;
    bool progressOpen = false, progressCancellable = false;
    int progressLow = 0, progressHigh = 0, progressSteps = 0;
    int pumps = 0;

    std::deque<bool> yesNoAnswers;          // default: Yes
    std::deque<Answer> yesNoCancelAnswers;  // default: Cancel
    std::deque<bool> continueAnswers;       // default: Continue
    std::deque<bool> monitorAnswers;        // the monitor error dialog; default: Continue
    std::deque<std::optional<std::string>> savePaths;  // default: cancel
    std::deque<std::optional<std::string>> openPaths;  // default: cancel
    // Called while the monitor error dialog is up, before it is answered.
    std::function<void()> onMonitorError;
    // Called on every PumpOne(); tests use it to press Cancel at a chosen moment.
    std::function<void(int pumpCount)> onPump;

    void Message(const std::string& t, const std::string& c, Icon i) override { shown.push_back({"message", t, c, i}); }
    void CommMessage(const std::string& t) override { shown.push_back({"comm", t, "Communication Message", Icon::None}); }
    bool YesNo(const std::string& t, const std::string& c, Icon i) override {
        shown.push_back({"yesno", t, c, i});
        return Next(yesNoAnswers, true);
    }
    Answer YesNoCancel(const std::string& t, const std::string& c, Icon i) override {
        shown.push_back({"yesnocancel", t, c, i});
        return Next(yesNoCancelAnswers, Answer::Cancel);
    }
    bool ContinueAbort(const std::string& t) override {
        shown.push_back({"continue", t, "Write Message", Icon::None});
        return Next(continueAnswers, true);
    }
    bool MonitorError(const std::string& t) override {
        shown.push_back({"monitor", t, "Monitor Message", Icon::None});
        if (onMonitorError) onMonitorError();
        return Next(monitorAnswers, true);
    }
    void ProgressOpen(bool cancellable) override {
        ++progressOpens;
        progressOpen = true;
        progressCancellable = cancellable;
    }
    void ProgressRange(int low, int high) override {
        progressLow = low;
        progressHigh = high;
        progressSteps = 0;
    }
    void ProgressStep() override { ++progressSteps; }
    void ProgressText(const std::string& t) override { progressTexts.push_back(t); }
    void ProgressClose() override {
        ++progressCloses;
        progressOpen = false;
    }
    void PumpOne() override {
        ++pumps;
        if (onPump) onPump(pumps);
    }
    std::optional<std::string> AskSavePath(const std::string&, const std::string&, const std::string&) override {
        return Next(savePaths, std::optional<std::string>{});
    }
    std::optional<std::string> AskOpenPath(const std::string&, const std::string&) override {
        return Next(openPaths, std::optional<std::string>{});
    }

    // Texts of every message of any kind, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& s : shown) out.push_back(s.text);
        return out;
    }

private:
    template <class T>
    static T Next(std::deque<T>& queue, T answer) {
        if (queue.empty()) return answer;
        answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace kolt::testing
