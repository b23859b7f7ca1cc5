#include "link/bus.h"

#include <future>
#include <memory>

namespace kolt {

CBus::CBus(IPrompts* portPrompts) : port_(portPrompts) {
    port_.SetStopFlag(&cancel_);
    thread_ = std::thread([this] { Loop(); });
}

CBus::~CBus() { Shutdown(); }

void CBus::Post(Job job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void CBus::Run(Job job) {
    if (OnBusThread()) {
        job(port_);
        return;
    }
    // A dropped job breaks the promise, which ends the wait as well.
    // Only the job holds the promise, so dropping the job breaks it.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ended = done->get_future();
    Post([job = std::move(job), done = std::move(done)](CModbusPort& port) {
        job(port);
        done->set_value();
    });
    ended.wait();
}

void CBus::Cancel() {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    cancel_.store(true, std::memory_order_release);
    port_.Cancel();
}

bool CBus::Busy() const {
    std::lock_guard lock(mutex_);
    return running_ || !queue_.empty();
}

std::size_t CBus::Queued() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

void CBus::Shutdown() {
    std::deque<Job> dropped;
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) return;
        stopping_ = true;
        dropped.swap(queue_);
        if (running_) {
            cancel_.store(true, std::memory_order_release);
            port_.Cancel();
        }
    }
    wake_.notify_one();
    dropped.clear();  // outside the lock: a dropped Run's waiter wakes here
    thread_.join();
    // Joined: the port is this thread's now.
    if (port_.IsOpen()) port_.Close();
}

void CBus::Loop() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            job = std::move(queue_.front());
            queue_.pop_front();
            running_ = true;
        }
        job(port_);
        job = nullptr;
        std::lock_guard lock(mutex_);
        running_ = false;
        cancel_.store(false, std::memory_order_release);
        port_.ClearCancel();
    }
}

}  // namespace kolt
