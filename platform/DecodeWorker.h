// The background worker that decodes files ahead of their use (pictures, music): one thread
// that runs one job after the other. A job only turns bytes into buffers of its own: it touches
// no GL, no engine state and nothing the main thread uses until the job is done, and it gives up
// at once when asked. The main thread hands jobs in, takes back a job not yet begun (to do the
// work itself at once), and waits for one that runs. Not for callers outside platform/.
#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TDecodeJob {
public:
    // The work, given the question it asks as it goes (false: give up now). It runs once, on the
    // worker or on the main thread.
    explicit TDecodeJob(std::function<void(const std::function<bool()>& keepGoing)> work) : work_(std::move(work)) {}
    // The work has run (its outcome can be read).
    bool Done() const { return state_.load(std::memory_order_acquire) == kDone; }

private:
    friend class TDecodeWorker;
    static constexpr int kQueued = 0, kRunning = 1, kDone = 2;
    std::function<void(const std::function<bool()>&)> work_;
    std::atomic<int> state_{kQueued};
};
using TDecodeJobPtr = std::shared_ptr<TDecodeJob>;

class TDecodeWorker {
public:
    static TDecodeWorker& Shared();

    // Queues the job (the thread starts on first need).
    void Add(const TDecodeJobPtr& job);
    // Makes sure the job has run: a job still queued is taken back and run here, one that runs
    // is waited for. False when it gave up because the program is asked to quit (the worker is
    // then told to stop).
    bool Finish(const TDecodeJobPtr& job);
    // Takes a queued job back unrun (nothing for one that runs or ran).
    void Withdraw(const TDecodeJobPtr& job);
    // Tells the job that runs to give up, drops the queued ones and waits for the thread.
    void Stop();

private:
    TDecodeWorker() = default;
    void Run();
    bool KeepGoing() const { return !stop_.load(std::memory_order_relaxed); }
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TDecodeJobPtr> queue_;
    std::atomic<bool> stop_{false};
};
