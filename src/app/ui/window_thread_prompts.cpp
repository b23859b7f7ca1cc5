#include "app/ui/window_thread_prompts.h"

#include "app/ui/qt_prompts.h"

#include <QDialog>
#include <QThread>

#include <memory>

namespace kolt {

CWindowThreadPrompts::CWindowThreadPrompts(IPrompts& inner) : inner_(inner) {}

bool CWindowThreadPrompts::OnThisThread() const { return QThread::currentThread() == thread(); }

void CWindowThreadPrompts::Abandon() {
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    answered_.notify_all();
}

bool CWindowThreadPrompts::Abandoned() const {
    std::lock_guard lock(mutex_);
    return abandoned_;
}

void CWindowThreadPrompts::Queue(std::function<void()> call) {
    queued_.push_back(std::move(call));
    // By name: Qt's own code makes the event, nothing of ours crosses in it.
    QMetaObject::invokeMethod(this, "RunQueued", Qt::QueuedConnection);
}

void CWindowThreadPrompts::RunQueued() {
    // A call may let events through (the progress window waits until it is
    // seen): the calls after it wait for it to end, as they would have
    // waited for it on one thread, and this loop runs them in turn.
    if (running_) return;
    running_ = true;
    for (;;) {
        std::function<void()> call;
        {
            std::lock_guard lock(mutex_);
            if (queued_.empty()) break;
            call = std::move(queued_.front());
            queued_.pop_front();
        }
        call();
    }
    running_ = false;
}

template <class Result>
Result CWindowThreadPrompts::Ask(std::function<Result()> call, Result whenAbandoned) {
    if (OnThisThread()) return call();
    struct Pending {
        Result result{};
        bool done = false;
    };
    auto pending = std::make_shared<Pending>();
    std::unique_lock lock(mutex_);
    if (abandoned_) return whenAbandoned;
    // The call owns copies of everything it shows: the bus thread may stop
    // waiting (Abandon) before the window's thread gets to it.
    Queue([this, pending, call = std::move(call)] {
        if (Abandoned()) return;
        Result result = call();
        {
            std::lock_guard done(mutex_);
            pending->result = std::move(result);
            pending->done = true;
        }
        answered_.notify_all();
    });
    answered_.wait(lock, [&] { return pending->done || abandoned_; });
    return pending->done ? pending->result : whenAbandoned;
}

bool CWindowThreadPrompts::OnWindowThread(const std::function<void()>& call) {
    return Ask<bool>([call] {
        call();
        return true;
    }, false);
}

void CWindowThreadPrompts::Later(std::function<void()> call) {
    if (OnThisThread()) return call();
    std::lock_guard lock(mutex_);
    Queue([this, call = std::move(call)] {
        if (!Abandoned()) call();
    });
}

void CWindowThreadPrompts::Message(const std::string& text, const std::string& caption, Icon icon) {
    OnWindowThread([=, this] { inner_.Message(text, caption, icon); });
}

void CWindowThreadPrompts::CommMessage(const std::string& text) {
    OnWindowThread([=, this] { inner_.CommMessage(text); });
}

bool CWindowThreadPrompts::YesNo(const std::string& text, const std::string& caption, Icon icon) {
    return Ask<bool>([=, this] { return inner_.YesNo(text, caption, icon); }, false);
}

Answer CWindowThreadPrompts::YesNoCancel(const std::string& text, const std::string& caption, Icon icon) {
    return Ask<Answer>([=, this] { return inner_.YesNoCancel(text, caption, icon); }, Answer::Cancel);
}

bool CWindowThreadPrompts::ContinueAbort(const std::string& text) {
    return Ask<bool>([=, this] { return inner_.ContinueAbort(text); }, false);
}

bool CWindowThreadPrompts::MonitorError(const std::string& text) {
    return Ask<bool>([=, this] { return inner_.MonitorError(text); }, false);
}

void CWindowThreadPrompts::ProgressOpen(bool cancellable) {
    Later([=, this] {
        inner_.ProgressOpen(cancellable);
        // The program's progress window sets the cancel flag on Cancel; the
        // bus must hear it too, at once, not when its wait ends.
        auto* qt = dynamic_cast<QtPrompts*>(&inner_);
        if (!cancellable || !qt || !cancelHook_) return;
        QDialog* window = qt->ProgressWindow();
        // Opening lets events through: Cancel may have been pressed already.
        if (!window || !window->isVisible())
            cancelHook_();
        else
            connect(window, &QDialog::rejected, this, [this] { cancelHook_(); });
    });
}

void CWindowThreadPrompts::ProgressRange(int low, int high) {
    Later([=, this] { inner_.ProgressRange(low, high); });
}

void CWindowThreadPrompts::ProgressStep() {
    Later([this] { inner_.ProgressStep(); });
}

void CWindowThreadPrompts::ProgressText(const std::string& text) {
    Later([=, this] { inner_.ProgressText(text); });
}

void CWindowThreadPrompts::ProgressClose() {
    // Even when abandoned: no progress window may stay up blocking input.
    if (OnThisThread()) return inner_.ProgressClose();
    std::lock_guard lock(mutex_);
    Queue([this] { inner_.ProgressClose(); });
}

void CWindowThreadPrompts::Notice(const std::string& text) {
    Later([=, this] { inner_.Notice(text); });
}

void CWindowThreadPrompts::PumpOne() {
    if (OnThisThread()) inner_.PumpOne();
}

std::optional<std::string> CWindowThreadPrompts::AskSavePath(const std::string& filter, const std::string& defaultExt,
                                                             const std::string& proposedName) {
    return Ask<std::optional<std::string>>([=, this] { return inner_.AskSavePath(filter, defaultExt, proposedName); },
                                           std::nullopt);
}

std::optional<std::string> CWindowThreadPrompts::AskOpenPath(const std::string& filter, const std::string& defaultExt) {
    return Ask<std::optional<std::string>>([=, this] { return inner_.AskOpenPath(filter, defaultExt); }, std::nullopt);
}

}  // namespace kolt
