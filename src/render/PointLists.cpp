#include "render/PointLists.h"

#include <algorithm>

bool TPointList::AddUnique(const TPoint& pt) {
    if (std::find(Items.begin(), Items.end(), pt) != Items.end()) return false;
    Items.push_back(pt);
    return true;
}

bool TTaggedPointList::AddUnique(const TTaggedPoint& taggedPoint) {
    if (IndexOfPoint(taggedPoint.Pt) >= 0) return false;
    Items.push_back(taggedPoint);
    return true;
}

int TTaggedPointList::IndexOfPoint(const TPoint& aPoint) const {
    for (size_t i = 0; i < Items.size(); ++i)
        if (Items[i].Pt == aPoint) return int(i);
    return -1;
}
