#pragma once
// Circular arcs given by their two ends and one point they pass through.
#include "render/XYPoints.h"

#include <vector>

struct TArc {
    TXYPoint StartPt;
    TXYPoint EndPt;
    TXYPoint ThroughPt;
};

bool SameArc(const TArc& a, const TArc& b);

class TArcList {
public:
    void Assign(const TArcList& second) { Items = second.Items; }
    bool Compare(const TArcList& second) const;
    int Count() const { return int(Items.size()); }

    std::vector<TArc> Items;
};
