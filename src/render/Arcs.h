#pragma once
// Circular arcs given by their two ends and one point they pass through.
#include "render/XYPoints.h"

#include <vector>

struct TArc {
    TXYPoint StartPt;
    TXYPoint EndPt;
    TXYPoint ThroughPt;
};

bool SameArc(const TArc& A, const TArc& B);

class TArcList {
public:
    void Assign(const TArcList& Second) { Items = Second.Items; }
    bool Compare(const TArcList& Second) const;
    int Count() const { return int(Items.size()); }

    std::vector<TArc> Items;
};
