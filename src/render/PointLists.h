#pragma once
// Value lists of integer points, kept in insertion order.
#include "render/XYPoints.h"

#include <vector>

class TPointList {
public:
    // Appends only when no equal point is present; returns whether it appended.
    bool AddUnique(const TPoint& Pt);
    void Assign(const TPointList& Second) { Items = Second.Items; }
    bool Compare(const TPointList& Second) const { return Items == Second.Items; }
    int Count() const { return int(Items.size()); }

    std::vector<TPoint> Items;
};

class TTaggedPointList {
public:
    // Appends only when no element has an equal point (tags are not compared).
    bool AddUnique(const TTaggedPoint& TaggedPoint);
    // First index whose point equals APoint, or -1.
    int IndexOfPoint(const TPoint& APoint) const;
    int Count() const { return int(Items.size()); }

    std::vector<TTaggedPoint> Items;
};
