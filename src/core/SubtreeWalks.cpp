#include "core/SubtreeWalks.h"

#include "core/TreeWalk.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace vastel {

void walkSubtrees(const std::vector<WalkSubtree>& subtrees, const WalkOptions& options, int threads,
                  const std::function<WalkSink&(size_t)>& sinkOf, StopToken& stop) {
    WalkOptions own = options;
    own.splitDepth = 0;
    own.sliceMs = 0;  // no window is kept alive from these threads
    own.capacity = WalkOptions::kUnlimited;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        size_t i = next++;
        if (i >= subtrees.size()) return;
        // One walk per thread: its stamp cache and buffers serve all the thread's sub-trees.
        WalkProgress silent;
        TreeWalk walk(own, sinkOf(i), silent, stop);
        for (; i < subtrees.size(); i = next++) walk.scanSubtree(subtrees[i], sinkOf(i));
    };
    if (subtrees.empty()) return;
    const size_t count = std::clamp<size_t>(size_t(std::max(threads, 1)), 1, subtrees.size());
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < count; ++t) helpers.emplace_back(work);
    work();
    for (std::thread& h : helpers) h.join();
}

}  // namespace vastel
