#pragma once

// The threads that check and set spread their files over: one a core, each
// taking the next item in order until none is left.

#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

namespace workerpool {

// How many threads `count` items are worth: one a core, at most one an item.
inline int threadsFor(qsizetype count)
{
    return int(qBound<qsizetype>(1, qsizetype(QThread::idealThreadCount()), count));
}

// Runs work(0) .. work(count - 1) on `threads` threads of its own, the
// items taken in order, while the calling thread runs meanwhile(take):
// calling take() there makes the calling thread one more worker. Returns
// when every item is done.
template <typename Work, typename Meanwhile>
void run(qsizetype count, int threads, Work work, Meanwhile meanwhile)
{
    std::atomic<qsizetype> next{0};
    auto take = [&] {
        for (qsizetype i; (i = next++) < count;)
            work(i);
    };
    std::vector<std::thread> workers;
    workers.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        workers.emplace_back(take);
    meanwhile(take);
    for (std::thread &worker : workers)
        worker.join();
}

// Runs work(0) .. work(count - 1) spread over every core, the calling
// thread one of them.
template <typename Work>
void onEveryCore(qsizetype count, Work work)
{
    run(count, threadsFor(count) - 1, work, [](const auto &take) { take(); });
}

} // namespace workerpool
