#include "render/XYLines.h"

#include <cmath>
#include <stdexcept>

TXYLine::TXYLine(const TXYPoint& p1, const TXYPoint& p2) : TXYLineBase(p1, p2) {
    if (p1.X != p2.X) {
        if (p1.Y != p2.Y) {
            fA = (p1.Y - p2.Y) / (p1.X - p2.X);
            fB = p1.Y - fA * p1.X;
        } else {
            fHorizontal = true;
            fB = p1.Y;
        }
    } else {
        fVertical = true;
        fA = p1.X;
    }
}

bool TXYLine::CrossPoint(const TXYLine& second, TXYPoint& s) const {
    s = {0, 0};
    if (fVertical && second.fVertical) return false;
    if (fVertical) {
        s.X = fA;
        s.Y = second.GetY(s.X);
        return true;
    }
    if (second.fVertical) {
        s.X = second.fA;
        s.Y = GetY(s.X);
        return true;
    }
    if (std::fabs(fA - second.fA) <= 1e-6) return false;
    s.X = (second.fB - fB) / (fA - second.fA);
    s.Y = GetY(s.X);
    return true;
}

TXYLineBase* TXYLineList::Add(const TXYPoint& p1, const TXYPoint& p2) {
    fList.push_back(std::make_unique<TXYLineBase>(p1, p2));
    return fList.back().get();
}

TXYLineBase* TXYLineList::GetXYLines(int aIndex) const {
    if (aIndex < 0 || size_t(aIndex) >= fList.size())
        throw std::out_of_range("TXYLineList index out of range");
    return fList[aIndex].get();
}
