#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace vastel {

// Runs work(first, last) over 0 .. count - 1 split between up to eight threads, the calling
// thread taking the first part; a range of fewer than 2 x minPerThread items stays on the
// calling thread. Parts must not touch shared state that another part writes.
template <typename Work>
void parallelFor(size_t count, size_t minPerThread, const Work& work) {
    const size_t threads =
        std::clamp<size_t>(std::min<size_t>(std::thread::hardware_concurrency(),
                                            count / std::max<size_t>(minPerThread, 1)),
                           1, 8);
    const size_t chunk = (count + threads - 1) / threads;
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < threads; ++t)
        helpers.emplace_back(
            [&work, t, chunk, count] { work(t * chunk, std::min(count, (t + 1) * chunk)); });
    work(0, std::min(count, chunk));
    for (std::thread& h : helpers) h.join();
}

}  // namespace vastel
