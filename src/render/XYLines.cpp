#include "render/XYLines.h"

#include <cmath>
#include <stdexcept>

TXYLine::TXYLine(const TXYPoint& P1, const TXYPoint& P2) : TXYLineBase(P1, P2) {
    if (P1.X != P2.X) {
        if (P1.Y != P2.Y) {
            fA = (P1.Y - P2.Y) / (P1.X - P2.X);
            fB = P1.Y - fA * P1.X;
        } else {
            fHorizontal = true;
            fB = P1.Y;
        }
    } else {
        fVertical = true;
        fA = P1.X;
    }
}

bool TXYLine::CrossPoint(const TXYLine& Second, TXYPoint& S) const {
    S = {0, 0};
    if (fVertical && Second.fVertical) return false;
    if (fVertical) {
        S.X = fA;
        S.Y = Second.GetY(S.X);
        return true;
    }
    if (Second.fVertical) {
        S.X = Second.fA;
        S.Y = GetY(S.X);
        return true;
    }
    if (std::fabs(fA - Second.fA) <= 1e-6) return false;
    S.X = (Second.fB - fB) / (fA - Second.fA);
    S.Y = GetY(S.X);
    return true;
}

TXYLineBase* TXYLineList::Add(const TXYPoint& P1, const TXYPoint& P2) {
    fList.push_back(std::make_unique<TXYLineBase>(P1, P2));
    return fList.back().get();
}

TXYLineBase* TXYLineList::GetXYLines(int AIndex) const {
    if (AIndex < 0 || size_t(AIndex) >= fList.size())
        throw std::out_of_range("TXYLineList index out of range");
    return fList[AIndex].get();
}
