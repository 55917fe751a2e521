#include "render/Arcs.h"

bool SameArc(const TArc& A, const TArc& B) {
    return SameXYPoint(A.StartPt, B.StartPt) && SameXYPoint(A.EndPt, B.EndPt) &&
           SameXYPoint(A.ThroughPt, B.ThroughPt);
}

bool TArcList::Compare(const TArcList& Second) const {
    if (Items.size() != Second.Items.size()) return false;
    for (size_t I = 0; I < Items.size(); ++I)
        if (!SameArc(Items[I], Second.Items[I])) return false;
    return true;
}
