// SPDX-License-Identifier: Apache-2.0
// Base unit: defaults, attribute record, path building and sampling, copies.
#include <markstore/SymbolUnit.h>

#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "ModelTestSupport.h"

#include <cstring>
#include <memory>

namespace HQ {
namespace {

using modeltest::Near;
using modeltest::SameAttr;
using modeltest::SamePoints;

// Opens the protected sampling helpers to the tests.
class ProbeUnit : public CHQGS_SymbolUnit {
public:
    using CHQGS_SymbolUnit::CHQGS_SymbolUnit;
    std::vector<CHQ_Point2D> Sample(CPrimitiveAlgorithmPath* p, double step) {
        return Interpolation(p, step);
    }
    std::vector<CHQ_Point2D> SampleList(const std::vector<CHQ_Point2D>& pts) {
        return Interpolation(pts, 0.5f);
    }
};

CHQGS_SymbolUnitAttr SampleAttr() {
    CHQGS_SymbolUnitAttr a;
    a.Style = -3;
    a.LineStyle = 65535;
    a.LineWidth = 2.5;
    a.IsClose = true;
    a.IsOutline = true;
    a.FillStyle = 7;
    const std::uint8_t line[4] = {1, 2, 3, 4}, outline[4] = {5, 6, 7, 8}, fill[4] = {9, 10, 11, 255};
    std::memcpy(a.LineColor, line, 4);
    std::memcpy(a.OutlineColor, outline, 4);
    std::memcpy(a.FillColor, fill, 4);
    a.IsLineStyleFixedness = true;
    a.IsColorFixedness = true;
    a.IsNotFill = false;
    a.IsSpare = true;
    a.SpareA = 1.5f;
    a.SpareB = 2.5f;
    return a;
}

TEST(SymbolUnitAttr, DefaultsAreZeroExceptNotFillAndSpareB) {
    const CHQGS_SymbolUnitAttr a;
    EXPECT_EQ(a.Style, 0);
    EXPECT_EQ(a.LineStyle, 0u);
    EXPECT_EQ(a.LineWidth, 0.0);
    EXPECT_FALSE(a.IsClose);
    EXPECT_FALSE(a.IsOutline);
    EXPECT_EQ(a.FillStyle, 0u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a.LineColor[i], 0);
        EXPECT_EQ(a.OutlineColor[i], 0);
        EXPECT_EQ(a.FillColor[i], 0);
    }
    EXPECT_FALSE(a.IsLineStyleFixedness);
    EXPECT_FALSE(a.IsColorFixedness);
    EXPECT_TRUE(a.IsNotFill);
    EXPECT_FALSE(a.IsSpare);
    EXPECT_EQ(a.SpareA, 0.0f);
    EXPECT_EQ(a.SpareB, -1.0f);
}

TEST(SymbolUnitAttr, DefaultRecordsAreBytewiseEqual) {
    // The whole record, padding included, is defined.
    const CHQGS_SymbolUnitAttr a, b;
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(SymbolUnit, DefaultUnitIsEmptyWithAnEmptyPath) {
    const CHQGS_SymbolUnit unit;
    EXPECT_EQ(unit.GetType(), Unit_None);
    EXPECT_TRUE(unit.GetActualPts().empty());
    EXPECT_TRUE(unit.GetOriPts().empty());
    EXPECT_TRUE(unit.GetKeyPts().empty());
    ASSERT_NE(unit.GetPainterPath(), nullptr);
    EXPECT_EQ(unit.GetPainterPath()->Length(), 0.0);
    EXPECT_TRUE(SameAttr(unit.GetAttr(), CHQGS_SymbolUnitAttr()));
}

TEST(SymbolUnit, ConstructorsKeepAttributesAndPoints) {
    const CHQGS_SymbolUnitAttr a = SampleAttr();
    const std::vector<CHQ_Point2D> pts = {{1, 2}, {3, 4}};
    const CHQGS_SymbolUnit withAttr(a);
    const CHQGS_SymbolUnit withPoints(a, pts);
    EXPECT_TRUE(SameAttr(withAttr.GetAttr(), a));
    EXPECT_TRUE(withAttr.GetActualPts().empty());
    EXPECT_TRUE(SameAttr(withPoints.GetAttr(), a));
    EXPECT_TRUE(SamePoints(withPoints.GetActualPts(), pts));
    EXPECT_TRUE(withPoints.GetOriPts().empty());
    EXPECT_EQ(withPoints.GetType(), Unit_None);
}

TEST(SymbolUnit, SetAttrRoundTripsEveryField) {
    CHQGS_SymbolUnit unit;
    const CHQGS_SymbolUnitAttr a = SampleAttr();
    unit.SetAttr(a);
    EXPECT_TRUE(SameAttr(unit.GetAttr(), a));
    unit.SetActualPts({{5, 6}});
    EXPECT_TRUE(SamePoints(unit.GetActualPts(), {{5, 6}}));
}

TEST(SymbolUnit, InitOfTheBaseChangesNothing) {
    CHQGS_SymbolUnit unit(SampleAttr(), {{0, 0}, {10, 10}});
    CPrimitiveAlgorithmPath* before = unit.GetPainterPath();
    unit.Init();
    EXPECT_EQ(unit.GetPainterPath(), before);
    EXPECT_TRUE(unit.GetOriPts().empty());
    EXPECT_EQ(before->Length(), 0.0);
}

TEST(SymbolUnit, TransToPathBuildsOnePolyline) {
    struct Case {
        const char* name;
        std::vector<CHQ_Point2D> points;
        double length;
        CHQ_Point2D current;
    };
    const Case cases[] = {
        {"empty list", {}, 0.0, {0, 0}},
        {"one point only moves", {{3, 4}}, 0.0, {3, 4}},
        {"two points", {{0, 0}, {3, 4}}, 5.0, {3, 4}},
        {"three points", {{0, 0}, {3, 4}, {3, 10}}, 11.0, {3, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPrimitiveAlgorithmPath p;
        CHQGS_SymbolUnit::TransToPath(&p, c.points);
        const CHQ_Point2D cur = p.CurrentPosition();
        EXPECT_EQ(cur.x, c.current.x);
        EXPECT_EQ(cur.y, c.current.y);
        EXPECT_DOUBLE_EQ(p.Length(), c.length);
    }
    CHQGS_SymbolUnit::TransToPath(nullptr, {{1, 1}});  // ignored, must not crash
}

TEST(SymbolUnit, InterpolationCountsAndEnds) {
    struct Case {
        const char* name;
        double step;
        std::size_t count;
    };
    // The count is the number of additions needed to reach 1, plus one.
    const Case cases[] = {
        {"halves", 0.5, 3},
        {"whole", 1.0, 2},
        {"step above one", 2.0, 2},
        {"thirds (repeated addition stays below 1)", 1.0 / 3, 4},
        {"1/180", 0.005555555555555556, 182},
        {"1/270", 1.0 / 270, 272},
        {"zero step samples only the ends", 0.0, 2},
        {"negative step samples only the ends", -0.25, 2},
    };
    CPrimitiveAlgorithmPath p;
    CHQGS_SymbolUnit::TransToPath(&p, {{0, 0}, {10, 0}});
    ProbeUnit unit;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<CHQ_Point2D> pts = unit.Sample(&p, c.step);
        ASSERT_EQ(pts.size(), c.count);
        EXPECT_TRUE(Near(pts.front(), 0, 0, 1e-12));
        EXPECT_TRUE(Near(pts.back(), 10, 0, 1e-12));
    }
    const std::vector<CHQ_Point2D> halves = unit.Sample(&p, 0.5);
    EXPECT_TRUE(Near(halves[1], 5, 0, 1e-12));
}

TEST(SymbolUnit, InterpolationOfEmptyOrMissingPath) {
    ProbeUnit unit;
    CPrimitiveAlgorithmPath empty;
    const std::vector<CHQ_Point2D> pts = unit.Sample(&empty, 0.25);
    ASSERT_EQ(pts.size(), 5u);
    for (const CHQ_Point2D& pt : pts) EXPECT_TRUE(Near(pt, 0, 0, 0));
    EXPECT_TRUE(unit.Sample(nullptr, 0.25).empty());
    const std::vector<CHQ_Point2D> list = {{1, 2}, {3, 4}};
    EXPECT_TRUE(SamePoints(unit.SampleList(list), list));
}

TEST(SymbolUnit, CopiesOwnTheirPath) {
    std::unique_ptr<CHQGS_SymbolUnit> original(new CHQGS_SymbolUnit(SampleAttr(), {{1, 1}, {2, 2}}));
    CHQGS_SymbolUnit::TransToPath(original->GetPainterPath(), {{0, 0}, {6, 8}});
    CHQGS_SymbolUnit copy(*original);
    CHQGS_SymbolUnit assigned;
    assigned = *original;
    EXPECT_NE(copy.GetPainterPath(), original->GetPainterPath());
    EXPECT_NE(assigned.GetPainterPath(), original->GetPainterPath());
    original.reset();  // the copies must not depend on it any more
    for (CHQGS_SymbolUnit* u : {&copy, &assigned}) {
        EXPECT_TRUE(SameAttr(u->GetAttr(), SampleAttr()));
        EXPECT_TRUE(SamePoints(u->GetActualPts(), {{1, 1}, {2, 2}}));
        EXPECT_DOUBLE_EQ(u->GetPainterPath()->Length(), 10.0);
        EXPECT_TRUE(Near(u->GetPainterPath()->PointAtPercent(0.5), 3, 4, 1e-12));
    }
    CHQGS_SymbolUnit& self = assigned;
    assigned = self;
    EXPECT_DOUBLE_EQ(assigned.GetPainterPath()->Length(), 10.0);
}

}  // namespace
}  // namespace HQ
