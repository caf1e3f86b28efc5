#include "platform/DecodeWorker.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "platform/Input.h"

TDecodeWorker& TDecodeWorker::Shared() {
    // Never destroyed: textures let go by static destructors at exit still ask it to drop their
    // jobs. Its thread is stopped before the program's statics go (atexit, below).
    static TDecodeWorker& worker = *new TDecodeWorker;
    return worker;
}

void TDecodeWorker::Add(const TDecodeJobPtr& job) {
    if (!job || job->Done()) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(queue_.begin(), queue_.end(), job) != queue_.end()) return;
    queue_.push_back(job);
    if (!thread_.joinable()) {
        static const bool stopAtExit = std::atexit([] { TDecodeWorker::Shared().Stop(); }) == 0;
        (void)stopAtExit;
        thread_ = std::thread([this] { Run(); });
    }
    changed_.notify_all();
}

void TDecodeWorker::Run() {
    for (;;) {
        TDecodeJobPtr job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || !KeepGoing(); });
            if (!KeepGoing()) return;
            job = queue_.front();
            queue_.pop_front();
            job->state_.store(TDecodeJob::kRunning, std::memory_order_relaxed);
        }
        job->work_([this] { return KeepGoing(); });
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job->state_.store(TDecodeJob::kDone, std::memory_order_release);
        }
        changed_.notify_all();
    }
}

bool TDecodeWorker::Finish(const TDecodeJobPtr& job) {
    if (!job || job->Done()) return true;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (job->state_.load(std::memory_order_relaxed) == TDecodeJob::kQueued) {
            // Not begun: done here at once rather than after what the worker has to do first.
            queue_.erase(std::remove(queue_.begin(), queue_.end(), job), queue_.end());
            job->state_.store(TDecodeJob::kRunning, std::memory_order_relaxed);
            lock.unlock();
            job->work_([] { return !QuitPending(); });
            job->state_.store(TDecodeJob::kDone, std::memory_order_release);
            return !QuitPending();
        }
        // It runs: waited for, the quit request looked at meanwhile.
        while (!job->Done()) {
            changed_.wait_for(lock, std::chrono::milliseconds(5));
            if (job->Done()) break;
            lock.unlock();
            const bool quit = QuitPending();
            lock.lock();
            if (quit) {
                lock.unlock();
                Stop();
                return false;
            }
        }
    }
    return true;
}

void TDecodeWorker::Withdraw(const TDecodeJobPtr& job) {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.erase(std::remove(queue_.begin(), queue_.end(), job), queue_.end());
}

void TDecodeWorker::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_.store(true);
        queue_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    stop_.store(false);
}
