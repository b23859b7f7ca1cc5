// CBus: the thread that owns the port. Every transaction of the program runs
// here, one job (a whole procedure) at a time in the order the jobs were
// posted, so whoever posts them (the window's thread, kolt-cli) never waits
// on the line unless it chooses to.
#pragma once

#include "link/modbus_port.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace kolt {

class CBus {
public:
    using Job = std::function<void(CModbusPort& port)>;

    // `portPrompts` hears the port's own complaints (on the bus thread).
    explicit CBus(IPrompts* portPrompts = nullptr);
    // Shutdown().
    ~CBus();
    CBus(const CBus&) = delete;
    CBus& operator=(const CBus&) = delete;

    // Queues a job; it runs after the jobs queued before it.
    void Post(Job job);
    // Posts a job and waits until it has run (or was dropped by Shutdown).
    // On the bus thread itself the job runs at once.
    void Run(Job job);

    // Ends the job in progress: the wait it is in ends at once, and so does
    // every wait after it until the job returns; nothing more is sent. The
    // next job starts uncancelled. Without a job running, nothing happens.
    void Cancel();
    // What the job in progress reads to learn that it has been cancelled.
    const std::atomic<bool>& CancelFlag() const { return cancel_; }

    // A job runs or waits in the queue.
    bool Busy() const;
    // Jobs waiting behind the one that runs.
    std::size_t Queued() const;
    bool OnBusThread() const { return std::this_thread::get_id() == thread_.get_id(); }

    // Cancels the job in progress, drops the queued ones, closes the port and
    // joins the thread. Later posts are dropped. Safe to call twice.
    void Shutdown();

    // The port, for jobs (and for its owner's questions while no job runs).
    CModbusPort& Port() { return port_; }

private:
    void Loop();

    CModbusPort port_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    bool running_ = false;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

}  // namespace kolt
