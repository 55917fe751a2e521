#pragma once
// A static packed R-tree over a fixed set of boxes, built in one go (sort-tile-recursive) and
// queried for the boxes that meet a rectangle. A drawing is indexed once per change of its
// geometry and then queried on every paint and click, so building favours a compact layout over
// updates: there are none, a change rebuilds.
#include <cstdint>
#include <vector>

class TSpatialIndex {
public:
    // Inclusive bounds with Left <= Right and Bottom <= Top.
    struct TBox {
        int32_t Left = 0, Bottom = 0, Right = 0, Top = 0;
    };
    // Inclusive query bounds; wider than int32_t so that a margin never overflows.
    struct TQuery {
        int64_t Left = 0, Bottom = 0, Right = 0, Top = 0;
    };

    // Item i of the index is boxes[i].
    void Build(const std::vector<TBox>& boxes);
    void Clear();
    int32_t Size() const { return fCount; }

    // The items whose boxes meet the query, in ascending order, appended to Out.
    void Query(const TQuery& q, std::vector<int32_t>& out) const;

    // Items per node, leaves and inner nodes alike.
    static constexpr int32_t NodeSize = 16;

private:
    int32_t fCount = 0;
    // fLevels[0] holds the item boxes in packed order, fLevels[k] the boxes of the nodes that
    // cover NodeSize consecutive entries of fLevels[k - 1] each; the last level has one entry.
    std::vector<std::vector<TBox>> fLevels;
    // The item at each position of fLevels[0].
    std::vector<int32_t> fItems;
};
