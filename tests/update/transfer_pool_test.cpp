// The pool of transfers: order, how many run at once, failures, pausing and stopping.
#include "update/transfer_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Outcome = TransferPool::Outcome;
using Event = TransferPool::Event;

// Waits for a file the way the placing thread does: failures are reported, not skipped.
Event waitLong(TransferPool& pool, std::size_t file, std::size_t& failed) {
    for (int i = 0; i < 400; ++i) {
        const Event event = pool.waitFor(file, 50, failed);
        if (event != Event::Timeout) {
            return event;
        }
    }
    return Event::Timeout;
}

// Records the files worked on, and how many ran at once at most.
struct Recorder {
    std::mutex mutex;
    std::vector<std::size_t> started;
    int running = 0;
    int mostAtOnce = 0;

    void begin(std::size_t file) {
        std::lock_guard<std::mutex> lock(mutex);
        started.push_back(file);
        mostAtOnce = std::max(mostAtOnce, ++running);
    }
    void end() {
        std::lock_guard<std::mutex> lock(mutex);
        --running;
    }
};

TEST(TransferPool, FilesAreTakenInOrderByAtMostTheGivenNumberOfThreads) {
    Recorder recorder;
    const std::vector<std::size_t> order = {5, 4, 3, 2, 1, 0, 6, 7};
    TransferPool pool(order, 3, [&](std::size_t file, const std::atomic<bool>&) {
        recorder.begin(file);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        recorder.end();
        return Outcome::Done;
    });
    std::size_t failed = 0;
    for (std::size_t file : order) {
        EXPECT_EQ(waitLong(pool, file, failed), Event::Done);
    }
    EXPECT_LE(recorder.mostAtOnce, 3);
    EXPECT_GE(recorder.mostAtOnce, 2) << "the files overlap";
    ASSERT_EQ(recorder.started.size(), order.size());
    // Each thread takes the first waiting file: the first three of the order go first.
    std::vector<std::size_t> first(recorder.started.begin(), recorder.started.begin() + 3);
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<std::size_t>{3, 4, 5}));
}

TEST(TransferPool, OneThreadWorksThroughTheFilesOneAfterAnother) {
    Recorder recorder;
    TransferPool pool({2, 0, 1}, 1, [&](std::size_t file, const std::atomic<bool>&) {
        recorder.begin(file);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        recorder.end();
        return Outcome::Done;
    });
    std::size_t failed = 0;
    EXPECT_EQ(waitLong(pool, 1, failed), Event::Done);
    EXPECT_EQ(recorder.mostAtOnce, 1);
    EXPECT_EQ(recorder.started, (std::vector<std::size_t>{2, 0, 1}));
}

TEST(TransferPool, AFailureIsReportedAndTheFileWaitsUntilItIsRetried) {
    std::atomic<int> tries{0};
    TransferPool pool({0, 1}, 2, [&](std::size_t file, const std::atomic<bool>&) {
        if (file == 1) {
            return ++tries == 1 ? Outcome::Failed : Outcome::Done;
        }
        return Outcome::Done;
    });
    std::size_t failed = 99;
    // Waiting reports the failure as soon as it is there.
    Event event = waitLong(pool, 1, failed);
    ASSERT_EQ(event, Event::Failed);
    EXPECT_EQ(failed, 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(tries, 1) << "a failed file is not taken again by itself";
    EXPECT_EQ(pool.waitFor(1, 10, failed), Event::Failed) << "it stays failed until retry";
    pool.retry(1);
    EXPECT_EQ(waitLong(pool, 1, failed), Event::Done);
    EXPECT_EQ(tries, 2);
}

// Pausing interrupts what runs; the interrupted file is taken up again after resume.
TEST(TransferPool, PauseInterruptsTheRunningWorkAndResumeTakesItUpAgain) {
    std::atomic<int> turns{0};
    std::atomic<bool> started{false};
    TransferPool pool({0}, 1, [&](std::size_t, const std::atomic<bool>& interrupt) {
        ++turns;
        started = true;
        while (!interrupt) {
            if (turns > 1) {
                return Outcome::Done;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return Outcome::Interrupted;
    });
    while (!started) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    pool.pause();  // returns only once the work has stopped
    EXPECT_EQ(turns, 1);
    std::size_t failed = 0;
    EXPECT_EQ(pool.waitFor(0, 50, failed), Event::Timeout);
    EXPECT_EQ(turns, 1) << "nothing is taken while paused";
    pool.resume();
    EXPECT_EQ(waitLong(pool, 0, failed), Event::Done);
    EXPECT_EQ(turns, 2);
}

TEST(TransferPool, StopInterruptsAndEndsTheThreads) {
    std::atomic<int> interrupted{0};
    auto pool = std::make_unique<TransferPool>(std::vector<std::size_t>{0, 1, 2, 3}, 2,
                                               [&](std::size_t, const std::atomic<bool>& interrupt) {
                                                   while (!interrupt) {
                                                       std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                                   }
                                                   ++interrupted;
                                                   return Outcome::Interrupted;
                                               });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    pool->stop();
    EXPECT_EQ(interrupted, 2) << "the two running files, and no other taken after the stop";
    pool.reset();  // a second stop in the destructor does nothing
}

TEST(TransferPool, WorkThatThrowsIsAFailure) {
    TransferPool pool({0}, 1, [](std::size_t, const std::atomic<bool>&) -> Outcome { throw std::bad_alloc(); });
    std::size_t failed = 99;
    EXPECT_EQ(waitLong(pool, 0, failed), Event::Failed);
    EXPECT_EQ(failed, 0u);
}

}  // namespace
