#include "components/Connectivity.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory_resource>
#include <numbers>
#include <unordered_set>

#include "components/Ports.h"
#include "model/KeyValues.h"
#include "objects/SheetObjects.h"
#include "render/IntLines.h"
#include "render/PointUtils.h"

namespace {

TSymbolObjectConnectionLine* AsLine(TSymbolObject* o) {
    // The main type gates the cast: walks over large drawings ask this of every object.
    return o->fSymbolObjectMainType == somConnectionLine ? dynamic_cast<TSymbolObjectConnectionLine*>(o)
                                                         : nullptr;
}

// The lines of the subtree in depth-first order. Only objects of the line class take part: a
// record of another kind whose sub-type names a connection line has none of a line's data.
std::vector<TSymbolObjectConnectionLine*> SubtreeLines(TSymbolObject& root) {
    std::vector<TSymbolObjectConnectionLine*> lines;
    root.ForEachInSubtree([&](TSymbolObject* o) {
        if (o->fSymbolObjectSubType == soConnectionLine)
            if (auto* line = AsLine(o)) lines.push_back(line);
    });
    return lines;
}

// Which line of the pair (first, second) shows a jump where their segments s and t cross:
// 0 none, 1 the first, 2 the second.
int CrossReceiver(const TIntLine& s, const TIntLine& t, TJumpMode mode, TPoint& x) {
    if (s.IsParallel(t) || !s.IntersectionPointOnLines(t, x)) return 0;
    switch (mode) {
    case jmVertRight:
    case jmVertLeft:
        return s.IsVert() ? 1 : t.IsVert() ? 2 : 0;
    case jmHorzUp:
    case jmHorzDown:
        return s.IsHorz() ? 1 : t.IsHorz() ? 2 : 0;
    default:
        return 0;
    }
}

bool IsJumpMode(TJumpMode mode) {
    return mode >= jmVertRight && mode <= jmHorzDown;
}

int32_t Saturated(int64_t v) {
    return TPoint::Saturate(v);
}

// P[i] moved toward P[j] by v units, so that a line ends on the circle of an inner port.
void MoveToward(std::vector<TPoint>& p, size_t i, size_t j, int32_t v) {
    if (v == 0) return;
    const int64_t dx = int64_t(p[j].X) - p[i].X, dy = int64_t(p[j].Y) - p[i].Y;
    if (dx == 0) {
        p[i].Y = Saturated(int64_t(p[i].Y) + (dy < 0 ? -int64_t(v) : int64_t(v)));
    } else if (dy != 0) {
        const double a = PointAngle(p[j], p[i]) * std::numbers::pi / 180;
        p[i] = TPoint(Round(p[i].X + v * std::cos(a)), Round(p[i].Y + v * std::sin(a)));
    } else {
        p[i].X = Saturated(int64_t(p[i].X) + (dx < 0 ? -int64_t(v) : int64_t(v)));
    }
}

// M keeps the end segment axis-parallel while its end E moves to O.
TPoint Follow(TPoint m, const TPoint& e, const TPoint& o) {
    if (m.X == e.X)
        m.X = o.X;
    else if (m.Y == e.Y)
        m.Y = o.Y;
    return m;
}

template <class Next>
TSymbolObjectPort* FollowLoop(const TConnectivityIndex& index, TSymbolObjectPort* port, Next next) {
    if (!port) return nullptr;
    auto following = [&](const TSymbolObjectPort* p) -> TSymbolObjectPort* {
        const int32_t handle = next(p);
        return handle == -1 ? nullptr : dynamic_cast<TSymbolObjectPort*>(index.Find(handle));
    };
    TSymbolObjectPort* current = port;
    TSymbolObjectPort* step = following(current);
    if (!step) return current; // the usual case: not looped
    // Chains are short; the set only comes into play for long ones.
    std::vector<const TSymbolObjectPort*> passed{port};
    std::unordered_set<const TSymbolObjectPort*> passedSet;
    for (; step; step = following(current)) {
        if (passedSet.empty()) {
            if (std::find(passed.begin(), passed.end(), step) != passed.end()) break;
            passed.push_back(step);
            if (passed.size() > 32) passedSet.insert(passed.begin(), passed.end());
        } else if (!passedSet.insert(step).second) {
            break;
        }
        current = step;
    }
    return current;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TConnectivityIndex

TConnectivityIndex::TConnectivityIndex(const TSymbolObjectList& list) {
    Walk(list, -1, 0, true);
    // Handles as stored are nearly always in walk order already; the stable sort keeps the walk
    // order among equal handles either way.
    std::vector<int32_t> order(fNodes.size());
    for (size_t n = 0; n < order.size(); ++n)
        order[n] = int32_t(n);
    auto byHandle = [&](int32_t a, int32_t b) {
        return fNodes[size_t(a)].Object->fHandle < fNodes[size_t(b)].Object->fHandle;
    };
    if (!std::is_sorted(order.begin(), order.end(), byHandle))
        std::stable_sort(order.begin(), order.end(), byHandle);
    for (size_t begin = 0; begin < order.size();) {
        const int32_t handle = fNodes[size_t(order[begin])].Object->fHandle;
        size_t end = begin + 1;
        while (end < order.size() && fNodes[size_t(order[end])].Object->fHandle == handle)
            ++end;
        fHandles.push_back(handle);
        Resolve(&order[begin], end - begin);
        begin = end;
    }
    // Drawings number their objects densely: a table then answers with one read.
    if (!fHandles.empty()) {
        const int64_t span = int64_t(fHandles.back()) - fHandles.front() + 1;
        if (span <= 4 * int64_t(fHandles.size()) + 1024) {
            fDirect.assign(size_t(span), -1);
            for (size_t k = 0; k < fHandles.size(); ++k)
                fDirect[size_t(int64_t(fHandles[k]) - fHandles.front())] = int32_t(k);
        }
    }
}

int32_t TConnectivityIndex::Position(int32_t handle) const {
    if (fHandles.empty()) return -1;
    if (!fDirect.empty()) {
        const int64_t at = int64_t(handle) - fHandles.front();
        return at < 0 || at >= int64_t(fDirect.size()) ? -1 : fDirect[size_t(at)];
    }
    auto it = std::lower_bound(fHandles.begin(), fHandles.end(), handle);
    return it == fHandles.end() || *it != handle ? -1 : int32_t(it - fHandles.begin());
}

TConnectivityIndex::TConnectivityIndex(TSymbolObjectSymbol& symbol)
    : TConnectivityIndex(symbol.fSymbolObjectList) {
    fSymbol = &symbol;
    fOwners = true;
}

void TConnectivityIndex::Walk(const TSymbolObjectList& list, int32_t parent, int32_t depth, bool searched) {
    for (const auto& obj : list) {
        const auto n = int32_t(fNodes.size());
        fNodes.push_back({obj.get(), parent, depth, searched});
        Walk(obj->fSymbolObjectList, n, depth + 1, searched && obj->SearchesChildren());
    }
}

void TConnectivityIndex::Resolve(const int32_t* run, size_t count) {
    // The owner search looks at the parents in pre-order: the earliest parent wins, the list's
    // own owner (the symbol) first of all.
    int32_t owner = -1;
    for (size_t k = 0; k < count; ++k) {
        const int32_t parent = fNodes[size_t(run[k])].Parent;
        const int32_t candidate = parent < 0 ? -2 : parent;
        if (owner == -1 || candidate == -2 || (owner != -2 && candidate < owner)) owner = candidate;
    }
    fOwner.push_back(owner);
    // The handle search: the first match in walk order; after it no composite is entered any
    // more, and what is still visited are the later siblings of the match and of its ancestors,
    // the outermost last. The last match among them replaces the first.
    size_t k = 0;
    while (k < count && !fNodes[size_t(run[k])].Searched)
        ++k;
    if (k == count) {
        fFound.push_back(-1);
        return;
    }
    const int32_t first = run[k];
    int32_t best = first;
    if (count - k > 1) {
        std::vector<int32_t> ancestors{-1};
        for (int32_t a = fNodes[size_t(first)].Parent; a != -1; a = fNodes[size_t(a)].Parent)
            ancestors.push_back(a);
        for (++k; k < count; ++k) {
            const TNode& x = fNodes[size_t(run[k])];
            if (!x.Searched || std::find(ancestors.begin(), ancestors.end(), x.Parent) == ancestors.end())
                continue;
            const TNode& b = fNodes[size_t(best)];
            if (best == first || x.Depth < b.Depth || (x.Depth == b.Depth && run[k] > best)) best = run[k];
        }
    }
    fFound.push_back(best);
}

TSymbolObject* TConnectivityIndex::Find(int32_t handle) const {
    const int32_t at = Position(handle);
    if (at < 0) return nullptr;
    const int32_t n = fFound[size_t(at)];
    return n < 0 ? nullptr : fNodes[size_t(n)].Object;
}

TSymbolObject* TConnectivityIndex::Owner(int32_t handle) const {
    if (!fOwners) return nullptr;
    if (handle == fSymbol->fHandle) return fSymbol;
    const int32_t at = Position(handle);
    if (at < 0) return nullptr;
    const int32_t n = fOwner[size_t(at)];
    return n == -2 ? fSymbol : fNodes[size_t(n)].Object;
}

// ---------------------------------------------------------------------------------------------
// One line

void TSymbolObjectConnectionLine::Update(TSymbolObjectSymbol& symbol, bool isNew) {
    Update(TConnectivityIndex(symbol), isNew);
}

void TSymbolObjectConnectionLine::Update(const TConnectivityIndex& index, bool isNew) {
    TSymbolObject* owner = index.Owner(fHandle);
    const bool nested = owner && owner != index.Symbol();
    int32_t startInset = 0, endInset = 0;
    auto attach = [&](int32_t handle, TPoint& end, int32_t& inset) {
        if (handle == -1) return;
        TSymbolObject* e = index.Find(handle);
        if (!e) return;
        // One cast per end: the main type says which class to expect.
        TSymbolObjectWithGroups* g = nullptr;
        TSymbolObjectPort* port = nullptr;
        TSymbolObjectConnectionNode* node = nullptr;
        TSymbolObjectIPort* inner = nullptr;
        switch (e->fSymbolObjectMainType) {
        case somPort:
            g = port = dynamic_cast<TSymbolObjectPort*>(e);
            break;
        case somConnectionNode:
            g = node = dynamic_cast<TSymbolObjectConnectionNode*>(e);
            break;
        case somIPort:
            g = inner = dynamic_cast<TSymbolObjectIPort*>(e);
            break;
        default:
            g = dynamic_cast<TSymbolObjectWithGroups*>(e);
            break;
        }
        if (g && !g->fBreakConnection) {
            if (!g->SubGroupData().Code.empty())
                SetSubGroupData(g->SubGroupData());
            else
                g->SetSubGroupData(SubGroupData());
            if (!g->MainGroupData().Code.empty())
                SetMainGroupData(g->MainGroupData());
            else
                g->SetMainGroupData(MainGroupData());
        }
        if (port) {
            end = nested ? port->fP2 : FindLastLoopedToPort(index, port)->fP2;
        } else if (node) {
            end = node->fP1;
        } else if (inner) {
            end = inner->fP1;
            inset = Round(inner->Radius());
        }
    };
    attach(fPort1Handle, fO1, startInset);
    attach(fPort2Handle, fO2, endInset);

    UpdatePoints(isNew);
    auto& p = fDrawPoints.Items;
    if (p.size() == 2 && !fNonOrthoAllowed && Port1Exists() && Port2Exists() && fO1.X != fO2.X &&
        fO1.Y != fO2.Y) {
        const int64_t dx = int64_t(fO2.X) - fO1.X, dy = int64_t(fO2.Y) - fO1.Y;
        TPoint c1, c2;
        if (std::llabs(dx) > std::llabs(dy)) {
            const auto m = int32_t((int64_t(fO1.X) + fO2.X) / 2);
            c1 = {m, fO1.Y}, c2 = {m, fO2.Y};
        } else {
            const auto m = int32_t((int64_t(fO1.Y) + fO2.Y) / 2);
            c1 = {fO1.X, m}, c2 = {fO2.X, m};
        }
        p.insert(p.begin() + 1, {c1, c2});
    }
    if (isNew && fNonOrthoAllowed) {
        bool diagonal = false;
        for (size_t i = 1; i < p.size() && !diagonal; ++i)
            diagonal = p[i].X != p[i - 1].X && p[i].Y != p[i - 1].Y;
        fNonOrthoAllowed = diagonal;
    }
    if (p.size() > 1 && Port2Exists()) {
        MoveToward(p, 0, 1, startInset);
        MoveToward(p, p.size() - 1, p.size() - 2, endInset);
    }
    InvalidateDrawCache();
}

void TSymbolObjectConnectionLine::CleanPoints() {
    auto& p = fDrawPoints.Items;
    size_t count = 0;
    for (size_t r = 0; r < p.size(); ++r)
        if (count == 0 || p[r] != p[count - 1]) p[count++] = p[r];
    p.resize(count);
    if (count > 2) {
        // The test looks at the neighbours in the list without duplicates, not at the points kept
        // so far: the previous one is held aside while the list is compacted in place.
        TPoint prev = p[0];
        size_t out = 1;
        for (size_t k = 1; k + 1 < count; ++k) {
            const TPoint cur = p[k], next = p[k + 1];
            const bool drop =
                cur == next || (prev.X == cur.X && cur.X == next.X) || (prev.Y == cur.Y && cur.Y == next.Y);
            prev = cur;
            if (!drop) p[out++] = cur;
        }
        p[out++] = p[count - 1];
        p.resize(out);
    }
    InvalidateDrawCache();
}

void TSymbolObjectConnectionLine::UpdatePoints(bool) {
    auto& p = fDrawPoints.Items;
    if (p.size() > 2) CleanPoints();
    InvalidateDrawCache();
    if (p.size() <= 2) {
        p = {fO1, fO2};
        return;
    }
    const TPoint first = p.front(), last = p.back();
    if (first == fO1 && last == fO2) return;
    const size_t n = p.size();
    if (n == 3) {
        p[1] = Follow(Follow(p[1], first, fO1), last, fO2);
    } else {
        p[1] = Follow(p[1], first, fO1);
        p[n - 2] = Follow(p[n - 2], last, fO2);
    }
    p[0] = fO1;
    p[n - 1] = fO2;
    CleanPoints();
}

void TSymbolObjectConnectionLine::CheckCrosses(TSymbolObjectConnectionLine& second, TJumpMode jumpMode) {
    fJumpMode = second.fJumpMode = jumpMode;
    const auto &p = fDrawPoints.Items, &q = second.fDrawPoints.Items;
    if (p.size() < 2 || q.size() < 2) return;
    for (size_t s = 1; s < p.size(); ++s) {
        const TIntLine ls(p[s - 1], p[s]);
        for (size_t t = 1; t < q.size(); ++t) {
            TPoint x;
            switch (CrossReceiver(ls, TIntLine(q[t - 1], q[t]), jumpMode, x)) {
            case 1:
                if (fCrossPoints.AddUnique(x)) InvalidateDrawCache();
                break;
            case 2:
                if (second.fCrossPoints.AddUnique(x)) second.InvalidateDrawCache();
                break;
            default:
                break;
            }
        }
    }
}

bool TSymbolObjectConnectionLine::IsCrossing(const TSymbolObjectConnectionLine& second) const {
    const auto &p = fDrawPoints.Items, &q = second.fDrawPoints.Items;
    for (size_t s = 1; s < p.size(); ++s) {
        const TIntLine ls(p[s - 1], p[s]);
        for (size_t t = 1; t < q.size(); ++t) {
            const TIntLine lt(q[t - 1], q[t]);
            TPoint x;
            if (!ls.IsParallel(lt) && ls.IntersectionPointOnLines(lt, x)) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Crossings of many lines

void CheckCrossesPairwise(const std::vector<TSymbolObjectConnectionLine*>& lines, TJumpMode jumpMode) {
    for (size_t i = 0; i < lines.size(); ++i)
        for (size_t j = i + 1; j < lines.size(); ++j)
            lines[i]->CheckCrosses(*lines[j], jumpMode);
}

namespace {

// Sorts on the upper 34 bits (three 12-bit digits, least significant first); the order among
// equal keys does not matter to the callers.
void SortByUpperBits(std::vector<uint64_t>& keys) {
    std::vector<uint64_t> buffer(keys.size());
    for (int shift = 30; shift < 64; shift += 12) {
        std::vector<uint32_t> count(4097, 0);
        for (uint64_t k : keys)
            ++count[((k >> shift) & 4095) + 1];
        for (size_t d = 1; d < count.size(); ++d)
            count[d] += count[d - 1];
        for (uint64_t k : keys)
            buffer[count[(k >> shift) & 4095]++] = k;
        keys.swap(buffer);
    }
}

struct TCross {
    int32_t Receiver;
    int32_t I, J, S, T; // the pair and its segments, in the order the pairwise rule meets them
    TPoint X;
};

// The sweep runs in coordinates where the segments that receive jumps are vertical: the drawing's
// own for the vertical modes, with X and Y exchanged for the horizontal ones.
void FindCrossings(const std::vector<TSymbolObjectConnectionLine*>& lines, TJumpMode jumpMode,
                   std::vector<TCross>& found, TBusyScope* busy) {
    const bool vertical = jumpMode == jmVertRight || jumpMode == jmVertLeft;
    auto work = [vertical](const TPoint& p) { return vertical ? p : TPoint(p.Y, p.X); };

    struct TSeg {
        int32_t Line, Seg;
        int32_t X1, X2, Y1, Y2; // working coordinates, X1 <= X2, Y1 <= Y2
        TPoint A, B;            // the segment as drawn
    };
    std::vector<TSeg> receivers, others;
    for (size_t l = 0; l < lines.size(); ++l) {
        const auto& p = lines[l]->fDrawPoints.Items;
        for (size_t s = 1; s < p.size(); ++s) {
            const TPoint a = work(p[s - 1]), b = work(p[s]);
            const TSeg seg{int32_t(l),         int32_t(s - 1),     std::min(a.X, b.X), std::max(a.X, b.X),
                           std::min(a.Y, b.Y), std::max(a.Y, b.Y), p[s - 1],           p[s]};
            (a.X == b.X ? receivers : others).push_back(seg);
        }
    }
    if (receivers.empty() || others.empty()) return;

    // Events along X, packed into one number each so that they sort as plain integers: the X,
    // then entering before asking before leaving (bounds are inclusive), then the segment.
    enum : uint64_t { Enter, Ask, Leave };
    auto pack = [](int32_t x, uint64_t kind, size_t index) {
        return (uint64_t(uint32_t(x) ^ 0x80000000u) << 32) | (kind << 30) | uint64_t(index);
    };
    std::vector<uint64_t> events;
    events.reserve(receivers.size() + 2 * others.size());
    int64_t slantSpan = 0;
    for (size_t k = 0; k < others.size(); ++k) {
        events.push_back(pack(others[k].X1, Enter, k));
        events.push_back(pack(others[k].X2, Leave, k));
        if (others[k].Y1 != others[k].Y2)
            slantSpan = std::max(slantSpan, int64_t(others[k].Y2) - others[k].Y1);
    }
    for (size_t k = 0; k < receivers.size(); ++k)
        events.push_back(pack(receivers[k].X1, Ask, k));
    SortByUpperBits(events);

    // Active segments by their lower Y: level ones exactly, slanted ones searched back by the
    // largest slanted height. The pool keeps the many short-lived tree nodes cheap.
    std::pmr::unsynchronized_pool_resource pool;
    std::pmr::multimap<int32_t, int32_t> level(&pool), slanted(&pool);
    std::vector<std::pmr::multimap<int32_t, int32_t>::iterator> where(others.size());
    auto tryPair = [&](const TSeg& r, const TSeg& o) {
        if (r.Line == o.Line) return;
        const bool rFirst = r.Line < o.Line;
        const TSeg& a = rFirst ? r : o;
        const TSeg& b = rFirst ? o : r;
        TPoint x;
        const int who = CrossReceiver(TIntLine(a.A, a.B), TIntLine(b.A, b.B), jumpMode, x);
        if (who != 0) found.push_back({who == 1 ? a.Line : b.Line, a.Line, b.Line, a.Seg, b.Seg, x});
    };
    const auto total = int64_t(events.size());
    for (int64_t e = 0; e < total; ++e) {
        const uint64_t ev = events[size_t(e)];
        const uint64_t kind = (ev >> 30) & 3;
        const size_t index = size_t(ev & 0x3FFFFFFF);
        // The sweep is the second half of the update's work.
        if (busy) busy->Step(total + e, 2 * total);
        if (kind == Enter) {
            const TSeg& o = others[index];
            where[index] = (o.Y1 == o.Y2 ? level : slanted).emplace(o.Y1, int32_t(index));
        } else if (kind == Leave) {
            const TSeg& o = others[index];
            (o.Y1 == o.Y2 ? level : slanted).erase(where[index]);
        } else {
            const TSeg& r = receivers[index];
            for (auto it = level.lower_bound(r.Y1); it != level.end() && it->first <= r.Y2; ++it)
                tryPair(r, others[size_t(it->second)]);
            if (!slanted.empty()) {
                const auto from = Saturated(int64_t(r.Y1) - slantSpan);
                for (auto it = slanted.lower_bound(from); it != slanted.end() && it->first <= r.Y2; ++it)
                    if (others[size_t(it->second)].Y2 >= r.Y1) tryPair(r, others[size_t(it->second)]);
            }
        }
    }
}

struct TPointHash {
    size_t operator()(const TPoint& p) const {
        return std::hash<uint64_t>()((uint64_t(uint32_t(p.X)) << 32) | uint32_t(p.Y));
    }
};

void CheckCrossesAll(const std::vector<TSymbolObjectConnectionLine*>& lines, TJumpMode jumpMode,
                     TBusyScope* busy) {
    if (lines.size() < 2) return;
    for (auto* line : lines)
        line->fJumpMode = jumpMode;
    if (!IsJumpMode(jumpMode)) return;
    std::vector<TCross> found;
    FindCrossings(lines, jumpMode, found, busy);
    // Grouped by the receiving line (a counting sort), then each small group in the order the
    // pairwise rule would have met its crossings.
    std::vector<uint32_t> start(lines.size() + 1, 0);
    for (const TCross& c : found)
        ++start[size_t(c.Receiver) + 1];
    for (size_t l = 1; l < start.size(); ++l)
        start[l] += start[l - 1];
    std::vector<TCross> grouped(found.size());
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (const TCross& c : found)
            grouped[fill[size_t(c.Receiver)]++] = c;
    }
    found = std::move(grouped);
    for (size_t begin = 0; begin < found.size();) {
        const size_t end = start[size_t(found[begin].Receiver) + 1];
        std::sort(found.begin() + std::ptrdiff_t(begin), found.begin() + std::ptrdiff_t(end),
                  [](const TCross& a, const TCross& b) {
                      return std::tie(a.I, a.J, a.S, a.T) < std::tie(b.I, b.J, b.S, b.T);
                  });
        auto* line = lines[size_t(found[begin].Receiver)];
        auto& points = line->fCrossPoints.Items;
        // Few crossings per line are the rule: a linear look-up then beats hashing.
        constexpr size_t hashFrom = 32;
        if (points.size() + (end - begin) < hashFrom) {
            for (size_t k = begin; k < end; ++k)
                if (std::find(points.begin(), points.end(), found[k].X) == points.end())
                    points.push_back(found[k].X);
        } else {
            std::unordered_set<TPoint, TPointHash> present(points.begin(), points.end());
            for (size_t k = begin; k < end; ++k)
                if (present.insert(found[k].X).second) points.push_back(found[k].X);
        }
        line->InvalidateDrawCache();
        begin = end;
    }
}

} // namespace

void CheckCrossesAll(const std::vector<TSymbolObjectConnectionLine*>& lines, TJumpMode jumpMode) {
    CheckCrossesAll(lines, jumpMode, nullptr);
}

// ---------------------------------------------------------------------------------------------
// The update

void UpdateConnections(TSymbolObjectSymbol& symbol, bool updateAll) {
    TBusyScope busy;
    const TJumpMode jumpMode = symbol.fJumpMode;
    const std::vector<TSymbolObjectConnectionLine*> lines = SubtreeLines(symbol);
    // Above this many lines the update is long enough to show the hourglass.
    constexpr size_t busyLines = 50;
    if (lines.size() > busyLines) busy.Show();
    TSymbolObjectList& list = symbol.fSymbolObjectList;

    std::vector<TSymbolObjectConnectionLine*> affected;
    if (updateAll) {
        affected = lines;
    } else {
        if (jumpMode != jmNone)
            for (auto* line : lines)
                line->fJumpMode = jumpMode;
        std::unordered_set<TSymbolObjectConnectionLine*> in;
        auto add = [&](TSymbolObject* o) {
            if (auto* line = AsLine(o); line && in.insert(line).second) affected.push_back(line);
        };
        auto addLinesTo = [&](int32_t handle) {
            for (TSymbolObject* o : CreateListConnectionLinesTo(list, handle))
                add(o);
        };
        for (const auto& child : list) {
            if (!child->Selected()) continue;
            switch (child->fSymbolObjectMainType) {
            case somPort:
            case somConnectionNode:
            case somIPort:
                addLinesTo(child->fHandle);
                break;
            case somSymbol:
            case somConnectionLineRef:
                for (const auto& inner : child->fSymbolObjectList) {
                    add(inner.get());
                    if (inner->fSymbolObjectMainType == somPort || inner->fSymbolObjectMainType == somIPort)
                        addLinesTo(inner->fHandle);
                }
                break;
            case somConnectionLine:
                add(child.get());
                break;
            default:
                break;
            }
        }
        if (jumpMode != jmNone)
            for (size_t k = 0; k < affected.size(); ++k)
                for (auto* line : lines)
                    if (!in.count(line) && affected[k]->IsCrossing(*line)) add(line);
    }

    if (affected.empty()) return;
    // Line ends and corners move: cached bounds of the drawing must be computed anew.
    symbol.GeometryChanged();
    const TConnectivityIndex index(symbol);
    const auto total = int64_t(affected.size());
    for (int64_t k = 0; k < total; ++k) {
        busy.Step(k, 2 * total);
        affected[size_t(k)]->Update(index, false);
        affected[size_t(k)]->fCrossPoints.Items.clear();
    }
    if (jumpMode != jmNone) CheckCrossesAll(affected, jumpMode, &busy);
}

void UpdateInMainSymbol(TSymbolObjectList& list, bool isSchematic) {
    const uint8_t top = usedInMainSymbol | (isSchematic ? usedInSchematicMainSymbol : 0);
    for (const auto& child : list) {
        child->ForEachInSubtree([](TSymbolObject* o) { o->fInMainSymbol = 0; });
        child->fInMainSymbol = top;
    }
}

namespace {

void ExamineForHelpPorts(TSymbolObject& component) {
    std::unordered_set<int32_t> lineEnds;
    std::vector<TSymbolObjectIBorder*> borders;
    bool hasLines = false;
    for (const auto& child : component.fSymbolObjectList)
        child->ForEachInSubtree([&](TSymbolObject* o) {
            if (auto* line = AsLine(o)) {
                hasLines = true;
                lineEnds.insert(line->fPort1Handle);
                lineEnds.insert(line->fPort2Handle);
            } else if (o->fSymbolObjectSubType == soIBorder) {
                if (auto* border = dynamic_cast<TSymbolObjectIBorder*>(o)) borders.push_back(border);
            }
        });
    if (!hasLines || borders.empty()) return;
    for (TSymbolObjectIBorder* b : borders) {
        const TPoint lo(std::min(b->fP1.X, b->fP2.X), std::min(b->fP1.Y, b->fP2.Y));
        const TPoint hi(std::max(b->fP1.X, b->fP2.X), std::max(b->fP1.Y, b->fP2.Y));
        b->fP1 = lo;
        b->fP2 = hi;
        component.ForEachInSubtree([&](TSymbolObject* o) {
            auto* port = o->fSymbolObjectMainType == somPort ? dynamic_cast<TSymbolObjectPort*>(o) : nullptr;
            if (!port || !port->fHideInOutput || !lineEnds.count(port->fHandle)) return;
            const TPoint c = port->ConnectionLinePoint();
            if (lo.X < c.X && c.X < hi.X && lo.Y < c.Y && c.Y < hi.Y) port->fUsedAsHelpPort = true;
        });
    }
}

} // namespace

void UpdateHelpPorts(TSymbolObjectList& list, bool isSchematic, TSymbolObjectSymbol* checkSymbol) {
    UpdateInMainSymbol(list, isSchematic);
    for (const auto& child : list)
        child->ForEachInSubtree([](TSymbolObject* o) {
            if (o->fSymbolObjectSubType != soPort || o->fSymbolObjectMainType != somPort) return;
            if (auto* port = dynamic_cast<TSymbolObjectPort*>(o)) port->fUsedAsHelpPort = false;
        });
    if (checkSymbol) {
        ExamineForHelpPorts(*checkSymbol);
    } else if (isSchematic) {
        for (const auto& child : list)
            if (child->fSymbolObjectMainType == somSymbol) ExamineForHelpPorts(*child);
    }
}

// ---------------------------------------------------------------------------------------------
// List queries

TObjectRefList CreateListConnectionLinesTo(const TSymbolObjectList& list, int32_t handle) {
    TObjectRefList result;
    for (const auto& o : list)
        if (auto* line = AsLine(o.get());
            line && (line->fPort1Handle == handle || line->fPort2Handle == handle))
            result.push_back(line);
    return result;
}

int CountConnectionLinesTo(const TSymbolObjectList& list, int32_t handle) {
    return int(CreateListConnectionLinesTo(list, handle).size());
}

TSymbolObjectPort* FindLastLoopedToPort(const TConnectivityIndex& index, TSymbolObjectPort* port) {
    return FollowLoop(index, port, [](const TSymbolObjectPort* p) { return p->fLoopedToHandle; });
}

TSymbolObjectPort* FindFirstLoopedFromPort(const TConnectivityIndex& index, TSymbolObjectPort* port) {
    return FollowLoop(index, port, [](const TSymbolObjectPort* p) { return p->fLoopedFromHandle; });
}

TSymbolObjectPort* FindLastLoopedToPort(const TSymbolObjectList& list, TSymbolObjectPort* port) {
    return FindLastLoopedToPort(TConnectivityIndex(list), port);
}

TSymbolObjectPort* FindFirstLoopedFromPort(const TSymbolObjectList& list, TSymbolObjectPort* port) {
    return FindFirstLoopedFromPort(TConnectivityIndex(list), port);
}

namespace {

template <class Accept>
void CollectPorts(const TSymbolObjectList& list, TIntegerList& portList, Accept accept) {
    auto visit = [&](const TSymbolObject* o) {
        const auto* port = dynamic_cast<const TSymbolObjectBasicPort*>(o);
        if (!port) return;
        const bool normal = o->fSymbolObjectMainType == somIPort || port->fPortType != soptLoopThrough;
        if (normal && accept(port->SubGroupData().Code)) portList.Add(port->fHandle);
    };
    for (const auto& o : list) {
        visit(o.get());
        if (o->fSymbolObjectMainType == somSymbol)
            for (const auto& inner : o->fSymbolObjectList)
                visit(inner.get());
    }
}

} // namespace

void FindPortsWithGroup(const TSymbolObjectList& list, const std::string& groupCode, TIntegerList& portList) {
    portList.Clear();
    if (groupCode.empty()) return;
    CollectPorts(list, portList, [&](const std::string& code) { return SameTextAscii(code, groupCode); });
}

void FindPortsWithoutGroup(const TSymbolObjectList& list, TIntegerList& portList) {
    portList.Clear();
    CollectPorts(list, portList, [](const std::string& code) { return code.empty(); });
}

void FindConnectionLinesWithoutGroup(const TSymbolObjectList& list, TIntegerList& handles) {
    handles.Clear();
    for (const auto& o : list) {
        const auto* g = dynamic_cast<const TSymbolObjectWithGroups*>(o.get());
        const bool lineOrNode =
            o->fSymbolObjectMainType == somConnectionLine || o->fSymbolObjectMainType == somConnectionNode;
        if (g && lineOrNode && g->SubGroupData().Code.empty()) handles.Add(o->fHandle);
    }
}
