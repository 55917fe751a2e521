#include "render/PointLists.h"

#include <algorithm>

bool TPointList::AddUnique(const TPoint& Pt) {
    if (std::find(Items.begin(), Items.end(), Pt) != Items.end()) return false;
    Items.push_back(Pt);
    return true;
}

bool TTaggedPointList::AddUnique(const TTaggedPoint& TaggedPoint) {
    if (IndexOfPoint(TaggedPoint.Pt) >= 0) return false;
    Items.push_back(TaggedPoint);
    return true;
}

int TTaggedPointList::IndexOfPoint(const TPoint& APoint) const {
    for (size_t I = 0; I < Items.size(); ++I)
        if (Items[I].Pt == APoint) return int(I);
    return -1;
}
