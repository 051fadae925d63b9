#pragma once

#include <vector>

namespace vastel {

// Answers, for a quicksort's scans, "where is the first (last) row in a range whose key is not
// before (not after) the pivot" in logarithmic time. Each node holds the position of the row
// that comes first and of the one that comes last in its part of the table under `before`.
// Rows must be reported with changed() whenever their keys move.
template <typename Rows, typename Before>
class ScanTree {
  public:
    ScanTree(const Rows& rows, Before before) : rows_(rows), before_(before) {
        const int n = int(rows.size());
        while (leaves_ < n) leaves_ *= 2;
        least_.assign(size_t(2 * leaves_), -1);
        most_.assign(size_t(2 * leaves_), -1);
        for (int p = 0; p < n; ++p) least_[size_t(leaves_ + p)] = most_[size_t(leaves_ + p)] = p;
        for (int node = leaves_ - 1; node >= 1; --node) recompute(node);
    }

    void changed(int position) {
        for (int node = (leaves_ + position) / 2; node >= 1; node /= 2) recompute(node);
    }

    // First p in [from, to] with !before(key(p), pivot); -1 if none.
    template <typename Key>
    int firstNotBefore(int from, int to, const Key& pivot) const {
        return first(1, 0, leaves_ - 1, from, to, pivot);
    }
    // Last p in [from, to] with !before(pivot, key(p)); -1 if none.
    template <typename Key>
    int lastNotAfter(int from, int to, const Key& pivot) const {
        return last(1, 0, leaves_ - 1, from, to, pivot);
    }

  private:
    const auto& key(int position) const { return rows_[size_t(position)].key; }

    int pick(int a, int b, bool wantFirst) const {
        if (a < 0) return b;
        if (b < 0) return a;
        return wantFirst ? (before_(key(b), key(a)) ? b : a) : (before_(key(a), key(b)) ? b : a);
    }
    void recompute(int node) {
        least_[size_t(node)] = pick(least_[size_t(2 * node)], least_[size_t(2 * node + 1)], true);
        most_[size_t(node)] = pick(most_[size_t(2 * node)], most_[size_t(2 * node + 1)], false);
    }

    template <typename Key>
    int first(int node, int lo, int hi, int from, int to, const Key& pivot) const {
        if (hi < from || lo > to) return -1;
        const int m = most_[size_t(node)];
        // Nothing here stops the scan when even the node's last row comes before the pivot.
        if (m < 0 || (from <= lo && hi <= to && before_(key(m), pivot))) return -1;
        if (lo == hi) return before_(key(lo), pivot) ? -1 : lo;
        const int mid = lo + (hi - lo) / 2;
        const int left = first(2 * node, lo, mid, from, to, pivot);
        return left >= 0 ? left : first(2 * node + 1, mid + 1, hi, from, to, pivot);
    }

    template <typename Key>
    int last(int node, int lo, int hi, int from, int to, const Key& pivot) const {
        if (hi < from || lo > to) return -1;
        const int l = least_[size_t(node)];
        if (l < 0 || (from <= lo && hi <= to && before_(pivot, key(l)))) return -1;
        if (lo == hi) return before_(pivot, key(lo)) ? -1 : lo;
        const int mid = lo + (hi - lo) / 2;
        const int right = last(2 * node + 1, mid + 1, hi, from, to, pivot);
        return right >= 0 ? right : last(2 * node, lo, mid, from, to, pivot);
    }

    const Rows& rows_;
    Before before_;
    int leaves_ = 1;
    std::vector<int> least_;
    std::vector<int> most_;
};

}  // namespace vastel
