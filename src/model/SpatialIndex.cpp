#include "model/SpatialIndex.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t CentreX(const TSpatialIndex::TBox& b) {
    return int64_t(b.Left) + b.Right;
}
int64_t CentreY(const TSpatialIndex::TBox& b) {
    return int64_t(b.Bottom) + b.Top;
}

bool Meets(const TSpatialIndex::TBox& b, const TSpatialIndex::TQuery& q) {
    return b.Left <= q.Right && b.Right >= q.Left && b.Bottom <= q.Top && b.Top >= q.Bottom;
}

TSpatialIndex::TBox Union(const TSpatialIndex::TBox* first, const TSpatialIndex::TBox* last) {
    TSpatialIndex::TBox u = *first;
    for (const TSpatialIndex::TBox* b = first + 1; b < last; ++b) {
        u.Left = std::min(u.Left, b->Left);
        u.Bottom = std::min(u.Bottom, b->Bottom);
        u.Right = std::max(u.Right, b->Right);
        u.Top = std::max(u.Top, b->Top);
    }
    return u;
}

} // namespace

void TSpatialIndex::Clear() {
    fCount = 0;
    fLevels.clear();
    fItems.clear();
}

void TSpatialIndex::Build(const std::vector<TBox>& boxes) {
    Clear();
    fCount = int32_t(boxes.size());
    if (fCount == 0) return;

    // Sort-tile-recursive: vertical slices by centre X, each slice cut into leaves by centre Y,
    // so that a leaf holds neighbours and a query opens few of them.
    fItems.resize(size_t(fCount));
    for (int32_t i = 0; i < fCount; ++i)
        fItems[size_t(i)] = i;
    const int64_t leaves = (int64_t(fCount) + NodeSize - 1) / NodeSize;
    const int64_t slices = std::max<int64_t>(1, int64_t(std::ceil(std::sqrt(double(leaves)))));
    const int64_t perSlice = ((leaves + slices - 1) / slices) * NodeSize;
    auto byX = [&](int32_t a, int32_t b) { return CentreX(boxes[size_t(a)]) < CentreX(boxes[size_t(b)]); };
    auto byY = [&](int32_t a, int32_t b) { return CentreY(boxes[size_t(a)]) < CentreY(boxes[size_t(b)]); };
    std::sort(fItems.begin(), fItems.end(), byX);
    for (int64_t start = 0; start < fCount; start += perSlice) {
        const auto first = fItems.begin() + start;
        const auto last = fItems.begin() + std::min<int64_t>(fCount, start + perSlice);
        std::sort(first, last, byY);
    }

    std::vector<TBox> level(static_cast<size_t>(fCount));
    for (int32_t i = 0; i < fCount; ++i)
        level[size_t(i)] = boxes[size_t(fItems[size_t(i)])];
    fLevels.push_back(std::move(level));
    while (fLevels.back().size() > 1) {
        const std::vector<TBox>& below = fLevels.back();
        std::vector<TBox> up;
        up.reserve((below.size() + NodeSize - 1) / NodeSize);
        for (size_t start = 0; start < below.size(); start += NodeSize)
            up.push_back(
                Union(below.data() + start, below.data() + std::min(below.size(), start + size_t(NodeSize))));
        fLevels.push_back(std::move(up));
    }
}

void TSpatialIndex::Query(const TQuery& q, std::vector<int32_t>& out) const {
    if (fCount == 0) return;
    const size_t first = out.size();
    // Depth-first through the levels; the stack holds (level, entry) pairs that met the query.
    struct TEntry {
        int32_t Level;
        int32_t Index;
    };
    std::vector<TEntry> stack;
    const int32_t top = int32_t(fLevels.size()) - 1;
    if (!Meets(fLevels[size_t(top)][0], q)) return;
    if (top == 0) {
        out.push_back(fItems[0]);
        return;
    }
    stack.push_back({top, 0});
    while (!stack.empty()) {
        const TEntry e = stack.back();
        stack.pop_back();
        const std::vector<TBox>& below = fLevels[size_t(e.Level - 1)];
        const size_t start = size_t(e.Index) * NodeSize;
        const size_t end = std::min(below.size(), start + size_t(NodeSize));
        for (size_t i = start; i < end; ++i) {
            if (!Meets(below[i], q)) continue;
            if (e.Level == 1)
                out.push_back(fItems[i]);
            else
                stack.push_back({e.Level - 1, int32_t(i)});
        }
    }
    std::sort(out.begin() + std::ptrdiff_t(first), out.end());
}
