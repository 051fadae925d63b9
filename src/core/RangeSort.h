#pragma once

#include "core/ScanTree.h"

#include <bit>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vastel {

// A row of a sort's scratch table: the key, computed once, and the number of its grid row.
template <typename Key>
struct ScratchRow {
    Key key;
    int row;
};

// The grids' quicksort over scratch rows lo..hi, in the order `before` (std::less ascending,
// std::greater descending). The order it leaves depends on every detail (middle pivot, strict
// scans, exchanges of equal keys, for texts the exchange passes over ranges of at most five
// rows), so those are kept exactly. It is not stable.
//
// Two things are added that leave that order unchanged. The two parts after a partition are
// disjoint, so the smaller one is sorted first and the larger one looped on, which keeps the
// stack shallow. And some inputs (keys rising to a peak and falling again, for one) make every
// partition split off a single row, which costs quadratic time: a million such rows would take
// hours. Once the scans have covered more than a few times n log n rows, a ScanTree finds where
// each scan stops in logarithmic time, so a partition costs its exchanges rather than its
// length, and the same exchanges happen in the same order.
template <typename Key, typename Before>
class RangeSorter {
  public:
    using Rows = std::vector<ScratchRow<Key>>;

    // smallRangePasses: the text sort's exchange passes; scanBudget: the scan length after
    // which partitions use the tree (negative: a few times n log n).
    RangeSorter(Rows& rows, Before before, bool smallRangePasses, int64_t scanBudget = -1)
        : rows_(rows), before_(before), smallRangePasses_(smallRangePasses) {
        const int64_t n = int64_t(rows.size());
        budget_ =
            scanBudget >= 0 ? scanBudget : 4 * n * int64_t(std::bit_width(uint64_t(n)) + 1) + 4096;
    }

    void sort(int lo, int hi) {
        for (;;) {
            if (smallRangePasses_ && hi - lo < 5) {
                exchangePasses(lo, hi);
                return;
            }
            if (lo >= hi) return;
            int i = lo;
            int j = hi;
            partition(lo, hi, i, j);
            if (j - lo < hi - i) {
                sort(lo, j);
                lo = i;
            } else {
                sort(i, hi);
                hi = j;
            }
        }
    }

    bool usedTree() const { return tree_ != nullptr; }

  private:
    // Passes over the range, exchanging neighbours out of order, until one pass exchanges none.
    void exchangePasses(int lo, int hi) {
        for (bool exchanged = true; exchanged;) {
            exchanged = false;
            for (int k = lo; k < hi; ++k) {
                if (before_(key(k + 1), key(k))) {
                    exchange(k, k + 1);
                    exchanged = true;
                }
            }
        }
    }

    void partition(int lo, int hi, int& i, int& j) {
        const Key pivot = key(lo + (hi - lo) / 2);
        if (tree_ && hi - lo >= kTreeRange) {
            while (i <= j) {
                // Both stops exist inside the range (see below); hi + 1 and lo - 1 only end
                // the loop should that ever fail.
                const int stopI = tree_->firstNotBefore(i, hi, pivot);
                i = stopI >= 0 ? stopI : hi + 1;
                const int stopJ = tree_->lastNotAfter(lo, j, pivot);
                j = stopJ >= 0 ? stopJ : lo - 1;
                if (i <= j) exchange(i++, j--);
            }
            return;
        }
        // The scans always stop inside lo..hi: at the pivot's own row at first, later at the
        // rows just exchanged.
        while (i <= j) {
            while (before_(key(i), pivot)) ++i;
            while (before_(pivot, key(j))) --j;
            if (i <= j) exchange(i++, j--);
        }
        budget_ -= hi - lo + 1;
        if (budget_ < 0 && !tree_) tree_ = std::make_unique<ScanTree<Rows, Before>>(rows_, before_);
    }

    const Key& key(int position) const { return rows_[size_t(position)].key; }

    void exchange(int a, int b) {
        std::swap(rows_[size_t(a)], rows_[size_t(b)]);
        if (tree_) {
            tree_->changed(a);
            tree_->changed(b);
        }
    }

    static constexpr int kTreeRange = 64;

    Rows& rows_;
    Before before_;
    bool smallRangePasses_;
    int64_t budget_;
    std::unique_ptr<ScanTree<Rows, Before>> tree_;
};

}  // namespace vastel
