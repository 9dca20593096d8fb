#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace skerry {

// Computes compute(0) .. compute(count - 1) on worker threads, one per processor, and hands each
// result to consume(i, result) on the calling thread in order of i: a run of many scans keeps
// every core busy while its messages, plots and files stay in the order the user gave. The
// workers run at most a few results ahead of `consume`, so that memory stays bounded however
// many there are. `compute` must be safe to call from several threads at once.
template <typename Result, typename Compute, typename Consume>
void inOrder(std::size_t count, Compute compute, Consume consume) {
    const std::size_t workers = std::max(1U, std::thread::hardware_concurrency());
    const std::size_t ahead = 4 * workers;
    std::vector<std::optional<Result>> slots(ahead);
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;     // the next index a worker takes
    std::size_t consumed = 0; // results handed to `consume`
    bool stop = false;        // the caller has failed: a worker not made, or `consume` thrown
    const auto work = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next == count || next < consumed + ahead; });
            if (stop || next == count) {
                return;
            }
            const std::size_t i = next++;
            lock.unlock();
            Result result = compute(i);
            lock.lock();
            slots[i % ahead] = std::move(result);
            changed.notify_all();
        }
    };
    std::vector<std::jthread> pool;
    try {
        for (std::size_t k = 0; k < std::min(workers, count); ++k) {
            pool.emplace_back(work);
        }
        for (std::size_t i = 0; i < count; ++i) {
            std::optional<Result> result;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return slots[i % ahead].has_value(); });
                result = std::move(slots[i % ahead]);
                slots[i % ahead].reset();
                ++consumed;
            }
            changed.notify_all();
            consume(i, *result);
        }
    } catch (...) {
        // The workers are stopped before the pool joins them.
        const std::scoped_lock lock(mutex);
        stop = true;
        changed.notify_all();
        throw;
    }
}

} // namespace skerry
