#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
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

namespace detail {

template <typename It, typename Less>
void sortInParts(It first, It last, const Less& less, size_t parts) {
    const size_t n = size_t(last - first);
    if (parts < 2 || n < 2 * parts) {
        std::sort(first, last, less);
        return;
    }
    // A pivot from a sorted sample, so that the parts come out about as large as the threads
    // that sort them are many.
    using Value = typename std::iterator_traits<It>::value_type;
    std::vector<Value> sample;
    constexpr size_t kSample = 127;
    for (size_t k = 0; k < kSample; ++k) sample.push_back(first[std::ptrdiff_t(k * n / kSample)]);
    const size_t leftParts = parts / 2;
    const auto at = sample.begin() + std::ptrdiff_t(kSample * leftParts / parts);
    std::nth_element(sample.begin(), at, sample.end(), less);
    const Value pivot = *at;
    const It middle = std::partition(first, last, [&](const Value& v) { return less(v, pivot); });
    std::thread left([&] { sortInParts(first, middle, less, leftParts); });
    sortInParts(middle, last, less, parts - leftParts);
    left.join();
}

}  // namespace detail

// std::sort on up to eight threads: the range is split around sampled pivots and the parts
// are sorted side by side. As std::sort, not stable; a comparison that orders every pair gives
// the same order as std::sort would. Ranges of fewer than 2 x minPerThread items stay on the
// calling thread.
template <typename It, typename Less>
void parallelSort(It first, It last, const Less& less, size_t minPerThread = 50'000) {
    const size_t n = size_t(last - first);
    const size_t threads =
        std::clamp<size_t>(std::min<size_t>(std::thread::hardware_concurrency(),
                                            n / std::max<size_t>(minPerThread, 1)),
                           1, 8);
    detail::sortInParts(first, last, less, threads);
}

}  // namespace vastel
