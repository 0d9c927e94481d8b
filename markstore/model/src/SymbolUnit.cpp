// SPDX-License-Identifier: Apache-2.0
// Base of the drawing units: attributes, point lists, the owned path and the
// two sampling helpers shared by the kinds.
#include <markstore/SymbolUnit.h>

#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "UnitPathCopy.h"

#include <cmath>
#include <utility>

namespace HQ {

CHQGS_SymbolUnit::CHQGS_SymbolUnit() : type(Unit_None), attr(), path(new CPrimitiveAlgorithmPath()) {}

CHQGS_SymbolUnit::CHQGS_SymbolUnit(const CHQGS_SymbolUnitAttr& a)
    : type(Unit_None), attr(a), path(new CPrimitiveAlgorithmPath()) {}

CHQGS_SymbolUnit::CHQGS_SymbolUnit(const CHQGS_SymbolUnitAttr& a, const std::vector<CHQ_Point2D>& points)
    : type(Unit_None), attr(a), actualPts(points), path(new CPrimitiveAlgorithmPath()) {}

CHQGS_SymbolUnit::CHQGS_SymbolUnit(const CHQGS_SymbolUnit& other)
    : type(other.type),
      attr(other.attr),
      keyPts(other.keyPts),
      oriPts(other.oriPts),
      actualPts(other.actualPts),
      path(CopyUnitPath(other.path)) {}

CHQGS_SymbolUnit& CHQGS_SymbolUnit::operator=(const CHQGS_SymbolUnit& other) {
    if (this == &other) return *this;
    // Copy the path first: if that allocation fails, this unit is unchanged.
    CPrimitiveAlgorithmPath* newPath = CopyUnitPath(other.path);
    type = other.type;
    attr = other.attr;
    keyPts = other.keyPts;
    oriPts = other.oriPts;
    actualPts = other.actualPts;
    delete path;
    path = newPath;
    return *this;
}

CHQGS_SymbolUnit::~CHQGS_SymbolUnit() {
    delete path;
    path = nullptr;
}

void CHQGS_SymbolUnit::Init() {
    initPath();
    initRealPts();
}

Type_Unit CHQGS_SymbolUnit::GetType() const { return type; }

void CHQGS_SymbolUnit::SetAttr(const CHQGS_SymbolUnitAttr& a) { attr = a; }

CHQGS_SymbolUnitAttr CHQGS_SymbolUnit::GetAttr() const { return attr; }

void CHQGS_SymbolUnit::SetActualPts(const std::vector<CHQ_Point2D>& points) { actualPts = points; }

std::vector<CHQ_Point2D> CHQGS_SymbolUnit::GetActualPts() const { return actualPts; }

std::vector<CHQ_Point2D> CHQGS_SymbolUnit::GetOriPts() const { return oriPts; }

std::vector<CHQ_Point2D> CHQGS_SymbolUnit::GetKeyPts() const { return keyPts; }

CPrimitiveAlgorithmPath* CHQGS_SymbolUnit::GetPainterPath() const { return path; }

void CHQGS_SymbolUnit::TransToPath(CPrimitiveAlgorithmPath* target, const std::vector<CHQ_Point2D>& points) {
    if (target == nullptr || points.empty()) return;
    target->MoveTo(points[0]);
    for (std::size_t i = 1; i < points.size(); ++i) target->LineTo(points[i]);
}

void CHQGS_SymbolUnit::initPath() {}

void CHQGS_SymbolUnit::initRealPts() {}

std::vector<CHQ_Point2D> CHQGS_SymbolUnit::Interpolation(CPrimitiveAlgorithmPath* source, double step) {
    std::vector<CHQ_Point2D> result;
    if (source == nullptr) return result;
    // A step that is not positive would never reach 1: sample the two ends only.
    if (!(step > 0.0)) step = 1.0;
    // The fractions are accumulated by repeated addition on purpose: the count
    // of points (and whether the last two nearly coincide) depends on the
    // rounding of these additions.
    double t = 0.0;
    while (t < 1.0) {
        result.push_back(source->PointAtPercent(t));
        t += step;
    }
    result.push_back(source->PointAtPercent(1.0));
    return result;
}

std::vector<CHQ_Point2D> CHQGS_SymbolUnit::Interpolation(const std::vector<CHQ_Point2D>& points, float) {
    return points;
}

void CHQGS_SymbolUnit::replacePath(CPrimitiveAlgorithmPath* newPath) {
    if (newPath == nullptr || newPath == path) return;
    delete path;
    path = newPath;
}

}  // namespace HQ
