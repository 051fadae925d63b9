#pragma once

#include "core/StopToken.h"
#include "core/WalkOptions.h"
#include "core/WalkSink.h"

#include <functional>
#include <vector>

namespace vastel {

// Walks the sub-trees that a split walk handed over (WalkOptions::splitDepth) on several
// threads at once, subtrees[i] into the sink sinkOf(i), each as TreeWalk::scanSubtree walks
// it. Which thread walks which sub-tree, and when, is not fixed: a sink sees its own sub-tree's
// events in walk order and nothing else, so the sinks must not share what they write. Nothing
// is reported to a progress sink; the stop token ends every walk at its next test.
void walkSubtrees(const std::vector<WalkSubtree>& subtrees, const WalkOptions& options, int threads,
                  const std::function<WalkSink&(size_t)>& sinkOf, StopToken& stop);

}  // namespace vastel
