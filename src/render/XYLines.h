#pragma once
// Floating segments and lines, used by the three-point arc constructions.
#include "render/XYPoints.h"

#include <memory>
#include <vector>

class TXYLineBase {
public:
    TXYLineBase() = default;
    TXYLineBase(const TXYPoint& p1, const TXYPoint& p2) : fP1(p1), fP2(p2) {}
    virtual ~TXYLineBase() = default;

    TXYPoint fP1;
    TXYPoint fP2;
};

class TXYLine : public TXYLineBase {
public:
    TXYLine(const TXYPoint& p1, const TXYPoint& p2);

    double GetY(double x) const { return fA * x + fB; }
    // Crossing of the two infinite lines; S is (0, 0) and the result false when they are parallel.
    bool CrossPoint(const TXYLine& second, TXYPoint& s) const;

    bool fVertical = false;
    bool fHorizontal = false;
    // Vertical: fA = X. Otherwise Y = fA * X + fB.
    double fA = 0;
    double fB = 0;
};

class TXYLineList {
public:
    TXYLineBase* Add(const TXYPoint& p1, const TXYPoint& p2);
    // Throws std::out_of_range.
    TXYLineBase* GetXYLines(int aIndex) const;
    int GetCount() const { return int(fList.size()); }
    void Clear() { fList.clear(); }

    std::vector<std::unique_ptr<TXYLineBase>> fList;
};
