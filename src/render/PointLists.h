#pragma once
// Value lists of integer points, kept in insertion order.
#include "render/XYPoints.h"

#include <vector>

class TPointList {
public:
    // Appends only when no equal point is present; returns whether it appended.
    bool AddUnique(const TPoint& pt);
    void Assign(const TPointList& second) { Items = second.Items; }
    bool Compare(const TPointList& second) const { return Items == second.Items; }
    int Count() const { return int(Items.size()); }

    std::vector<TPoint> Items;
};

class TTaggedPointList {
public:
    // Appends only when no element has an equal point (tags are not compared).
    bool AddUnique(const TTaggedPoint& taggedPoint);
    // First index whose point equals APoint, or -1.
    int IndexOfPoint(const TPoint& aPoint) const;
    int Count() const { return int(Items.size()); }

    std::vector<TTaggedPoint> Items;
};
