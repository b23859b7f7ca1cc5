// The prompts of a procedure that runs on the bus thread: each one is carried
// to the window's thread, shown there by the program's own prompts, and the
// bus thread waits for the answer. On the window's thread itself the calls go
// straight through.
#pragma once

#include "base/prompts.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kolt {

class CWindowThreadPrompts : public QObject, public IPrompts {
    Q_OBJECT
public:
    // Made on the window's thread; `inner` shows the prompts there.
    explicit CWindowThreadPrompts(IPrompts& inner);

    // The user pressed the progress window's Cancel: called on the window's
    // thread, so the bus can end the wait in progress at once.
    void SetCancelHook(std::function<void()> hook) { cancelHook_ = std::move(hook); }

    // The window is closing: a prompt the bus thread waits for is answered at
    // once as its Cancel, No or Abort, and so is every later one; nothing
    // more is shown. Window's thread only.
    void Abandon();
    bool Abandoned() const;

    // Runs `call` on the window's thread and waits for it (at once when
    // called there). False when it was not run: the prompts are abandoned.
    bool OnWindowThread(const std::function<void()>& call);
    // Runs `call` on the window's thread in turn with the prompts, without
    // waiting for it (at once when called there); dropped once abandoned.
    void Post(std::function<void()> call) { Later(std::move(call)); }

    void Message(const std::string& text, const std::string& caption, Icon icon) override;
    void CommMessage(const std::string& text) override;
    bool YesNo(const std::string& text, const std::string& caption, Icon icon) override;
    Answer YesNoCancel(const std::string& text, const std::string& caption, Icon icon) override;
    bool ContinueAbort(const std::string& text) override;
    bool MonitorError(const std::string& text) override;

    // The progress window follows in order without the bus waiting for it.
    void ProgressOpen(bool cancellable) override;
    void ProgressRange(int low, int high) override;
    void ProgressStep() override;
    void ProgressText(const std::string& text) override;
    void ProgressClose() override;

    // A remark needs no answer: it follows without the bus waiting for it.
    void Notice(const std::string& text) override;

    // The window's thread runs its own event loop: nothing to do from the bus.
    void PumpOne() override;

    std::optional<std::string> AskSavePath(const std::string& filter, const std::string& defaultExt,
                                           const std::string& proposedName) override;
    std::optional<std::string> AskOpenPath(const std::string& filter, const std::string& defaultExt) override;

private:
    // Runs the calls the bus thread has queued, in order.
    Q_INVOKABLE void RunQueued();
    bool OnThisThread() const;
    // Queues `call` for the window's thread (with mutex_ held). The call
    // travels in a queue of ours under our own lock rather than inside Qt's
    // posted event, so the race checker sees the hand-over.
    void Queue(std::function<void()> call);
    // Posts `call` to the window's thread without waiting.
    void Later(std::function<void()> call);
    template <class Result>
    Result Ask(std::function<Result()> call, Result whenAbandoned);

    IPrompts& inner_;
    std::function<void()> cancelHook_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    bool abandoned_ = false;
    std::deque<std::function<void()>> queued_;
    bool running_ = false;  // RunQueued is at work (window's thread only)
};

}  // namespace kolt
