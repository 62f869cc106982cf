#pragma once
// A small pool of transfer threads working through the files of a queue in a given order,
// while the thread that owns the pool waits for the files one by one in that order and deals
// with the failures: it can pause the pool (the running transfers are interrupted and taken up
// again later), put a failed file back, and stop the whole pool.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TransferPool {
public:
    // What one turn of work on a file came to.
    enum class Outcome {
        Done,         // the file is ready (or needs nothing)
        Failed,       // the file could not be had; it waits until retry
        Interrupted,  // the pool was paused or stopped: the file waits to be taken up again
    };
    // Works on the file with this index of the queue; interrupt is set when the work should
    // stop as soon as it can (returning Interrupted).
    using Work = std::function<Outcome(std::size_t file, const std::atomic<bool>& interrupt)>;

    // Starts the threads (at least one, at most as many as there are files), which take the
    // files in order: each free thread the first waiting one.
    TransferPool(std::vector<std::size_t> order, std::size_t threads, Work work);
    // Stops the pool.
    ~TransferPool();
    TransferPool(const TransferPool&) = delete;
    TransferPool& operator=(const TransferPool&) = delete;

    enum class Event {
        Done,     // the file waited for is done
        Failed,   // some file failed (failedFile says which)
        Timeout,  // neither within the time
    };
    // Waits up to timeoutMs for the file to be done or for any file to fail; a failure comes
    // first, so that it is dealt with while the others go on.
    Event waitFor(std::size_t file, std::uint32_t timeoutMs, std::size_t& failedFile);
    // Interrupts the running work and returns once none runs; no file is taken until resume.
    void pause();
    void resume();
    // Puts a failed file back among the waiting ones.
    void retry(std::size_t file);
    // Interrupts the running work, waits for it and ends the threads; idempotent.
    void stop();

private:
    enum class State { Waiting, Running, Done, Failed };
    void workerLoop();
    // The first waiting file in order, or npos; under the lock.
    std::size_t nextWaiting() const;

    const std::vector<std::size_t> order_;
    const Work work_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<State> states_;
    std::size_t running_ = 0;
    bool paused_ = false;
    bool stopping_ = false;
    std::atomic<bool> interrupt_{false};
    std::vector<std::thread> threads_;
};
