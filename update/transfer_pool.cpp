#include "update/transfer_pool.h"

#include <algorithm>
#include <chrono>

TransferPool::TransferPool(std::vector<std::size_t> order, std::size_t threads, Work work)
    : order_(std::move(order)), work_(std::move(work)) {
    std::size_t files = 0;
    for (std::size_t file : order_) {
        files = std::max(files, file + 1);
    }
    states_.assign(files, State::Done);
    for (std::size_t file : order_) {
        states_[file] = State::Waiting;
    }
    const std::size_t count = std::min(std::max<std::size_t>(threads, 1), order_.size());
    try {
        for (std::size_t i = 0; i < count; ++i) {
            threads_.emplace_back([this] { workerLoop(); });
        }
    } catch (...) {
        stop();
        if (threads_.empty()) {
            throw;  // not a single transfer: nothing could ever be fetched
        }
    }
}

TransferPool::~TransferPool() {
    stop();
}

std::size_t TransferPool::nextWaiting() const {
    for (std::size_t file : order_) {
        if (states_[file] == State::Waiting) {
            return file;
        }
    }
    return static_cast<std::size_t>(-1);
}

void TransferPool::workerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock,
                      [this] { return stopping_ || (!paused_ && nextWaiting() != static_cast<std::size_t>(-1)); });
        if (stopping_) {
            return;
        }
        const std::size_t file = nextWaiting();
        states_[file] = State::Running;
        ++running_;
        lock.unlock();
        Outcome outcome;
        try {
            outcome = work_(file, interrupt_);
        } catch (...) {
            outcome = Outcome::Failed;
        }
        lock.lock();
        --running_;
        states_[file] = outcome == Outcome::Done     ? State::Done
                        : outcome == Outcome::Failed ? State::Failed
                                                     : State::Waiting;
        changed_.notify_all();
    }
}

TransferPool::Event TransferPool::waitFor(std::size_t file, std::uint32_t timeoutMs, std::size_t& failedFile) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto failed = [this] { return std::find(states_.begin(), states_.end(), State::Failed) != states_.end(); };
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return failed() || states_[file] == State::Done; });
    const auto found = std::find(states_.begin(), states_.end(), State::Failed);
    if (found != states_.end()) {
        failedFile = static_cast<std::size_t>(found - states_.begin());
        return Event::Failed;
    }
    return states_[file] == State::Done ? Event::Done : Event::Timeout;
}

void TransferPool::pause() {
    std::unique_lock<std::mutex> lock(mutex_);
    paused_ = true;
    interrupt_ = true;
    changed_.wait(lock, [this] { return running_ == 0; });
    interrupt_ = false;
}

void TransferPool::resume() {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = false;
    changed_.notify_all();
}

void TransferPool::retry(std::size_t file) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (states_[file] == State::Failed) {
        states_[file] = State::Waiting;
    }
    changed_.notify_all();
}

void TransferPool::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        interrupt_ = true;
        changed_.notify_all();
    }
    for (std::thread& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}
