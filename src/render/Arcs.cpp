#include "render/Arcs.h"

bool SameArc(const TArc& a, const TArc& b) {
    return SameXYPoint(a.StartPt, b.StartPt) && SameXYPoint(a.EndPt, b.EndPt) &&
           SameXYPoint(a.ThroughPt, b.ThroughPt);
}

bool TArcList::Compare(const TArcList& second) const {
    if (Items.size() != second.Items.size()) return false;
    for (size_t i = 0; i < Items.size(); ++i)
        if (!SameArc(Items[i], second.Items[i])) return false;
    return true;
}
