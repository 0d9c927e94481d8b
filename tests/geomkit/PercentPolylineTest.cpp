// SPDX-License-Identifier: Apache-2.0
// Positions, directions and pieces at fractions of a polyline's length.
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/PrimitiveUtilityFunctions.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using HQ::CHQ_Point2D;
using M = HQ::CHQGS_MathUtilityFunctions;
using P = HQ::CHQGS_PrimitiveUtilityFunctions;
using Line = std::vector<CHQ_Point2D>;
using Pieces = std::vector<Line>;

namespace {

using sitplot_test::IsFloat;

void ExpectPointsEq(const Line& actual, const Line& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].x, expected[i].x) << what << " [" << i << "]";
        EXPECT_EQ(actual[i].y, expected[i].y) << what << " [" << i << "]";
    }
}

const Line kEll = {CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)};

}  // namespace

TEST(PercentPolyline, PositionsDirectionsAndPieces) {
    const CHQ_Point2D o(0, 0);
    struct Case {
        const char* name;
        Line line;
        std::vector<float> fractions;
        Line positions, directions;
        Pieces pieces;
    } cases[] = {
        {"quarter and three quarters",
         kEll,
         {0.25f, 0.75f},
         {CHQ_Point2D(5, 0), CHQ_Point2D(10, 5)},
         {CHQ_Point2D(1, 0), CHQ_Point2D(0, 1)},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(5, 0)},
          {CHQ_Point2D(5, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 5)},
          {CHQ_Point2D(10, 5), CHQ_Point2D(10, 10)}}},
        {"both ends",
         kEll,
         {0.0f, 1.0f},
         {CHQ_Point2D(0, 0), CHQ_Point2D(10, 10)},
         {CHQ_Point2D(1, 0), CHQ_Point2D(0, 1)},
         {kEll}},
        {"on a vertex: not duplicated, direction of the next segment",
         kEll,
         {0.5f},
         {CHQ_Point2D(10, 0)},
         {CHQ_Point2D(0, 1)},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(10, 0)}, {CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)}}},
        {"outside [0, 1] is skipped",
         kEll,
         {0.25f, 1.5f},
         {CHQ_Point2D(5, 0), o},
         {CHQ_Point2D(1, 0), o},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(5, 0)},
          {CHQ_Point2D(5, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)}}},
        {"negative first fraction",
         kEll,
         {-0.1f, 0.5f},
         {o, CHQ_Point2D(10, 0)},
         {o, CHQ_Point2D(0, 1)},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(10, 0)}, {CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)}}},
        {"only skipped fractions: one piece", kEll, {1.5f}, {o}, {o}, {kEll}},
        {"a single fraction at 0", kEll, {0.0f}, {CHQ_Point2D(0, 0)}, {CHQ_Point2D(1, 0)}, {kEll}},
        {"a repeated 1 keeps the end point and adds no empty piece",
         kEll,
         {1.0f, 1.0f},
         {CHQ_Point2D(10, 10), CHQ_Point2D(10, 10)},
         {CHQ_Point2D(0, 1), CHQ_Point2D(0, 1)},
         {kEll}},
        // The ends count as split points by the fractions' values: a last
        // fraction that snaps to the end vertex without being 1 leaves a
        // one-point piece, so that piece i still follows fraction i - 1.
        {"a last fraction just below 1 lands on the end and still closes the list",
         kEll,
         {0.25f, 0.99999994f},
         {CHQ_Point2D(5, 0), CHQ_Point2D(10, 10)},
         {CHQ_Point2D(1, 0), CHQ_Point2D(0, 1)},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(5, 0)},
          {CHQ_Point2D(5, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)},
          {CHQ_Point2D(10, 10)}}},
        {"descending: the later fraction is placed but does not split",
         kEll,
         {0.75f, 0.25f},
         {CHQ_Point2D(10, 5), CHQ_Point2D(5, 0)},
         {CHQ_Point2D(0, 1), CHQ_Point2D(1, 0)},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 5)},
          {CHQ_Point2D(10, 5), CHQ_Point2D(10, 10)}}},
        {"zero-length segment after a vertex: finite direction",
         {CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)},
         {0.5f},
         {CHQ_Point2D(10, 0)},
         {o},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(10, 0)},
          {CHQ_Point2D(10, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)}}},
        {"line of length 0",
         {CHQ_Point2D(3, 3), CHQ_Point2D(3, 3)},
         {0.5f},
         {o},
         {o},
         {{CHQ_Point2D(3, 3), CHQ_Point2D(3, 3)}}},
        {"line of length 0, both ends",
         {CHQ_Point2D(3, 3), CHQ_Point2D(3, 3)},
         {0.0f, 1.0f},
         {o, o},
         {o, o},
         {{CHQ_Point2D(3, 3), CHQ_Point2D(3, 3)}}},
        {"single point", {CHQ_Point2D(3, 3)}, {0.0f, 0.5f}, {o, o}, {o, o}, {}},
        {"empty line", {}, {0.25f, 0.5f}, {o, o}, {o, o}, {}},
        // Positions and directions are rounded to single precision.
        {"rounded position",
         {CHQ_Point2D(0.1, 0.2), CHQ_Point2D(3.2, 0.2)},
         {0.7f},
         {CHQ_Point2D(2.2699999809265137, static_cast<float>(0.2))},
         {CHQ_Point2D(1, 0)},
         {{CHQ_Point2D(0.1, 0.2), CHQ_Point2D(2.2699999809265137, static_cast<float>(0.2))},
          {CHQ_Point2D(2.2699999809265137, static_cast<float>(0.2)), CHQ_Point2D(3.2, 0.2)}}},
        {"rounded direction",
         {CHQ_Point2D(0, 0), CHQ_Point2D(3, 7)},
         {1.0f / 3.0f},
         {CHQ_Point2D(1.0, 2.3333334922790527)},
         {CHQ_Point2D(0.39391928911209106, 0.9191450476646423)},
         {{CHQ_Point2D(0, 0), CHQ_Point2D(1.0, 2.3333334922790527)},
          {CHQ_Point2D(1.0, 2.3333334922790527), CHQ_Point2D(3, 7)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The out vectors are appended to, not replaced.
        Line positions = {CHQ_Point2D(-7, -7)}, directions = {CHQ_Point2D(-8, -8)};
        const Pieces pieces = M::GetPercentPos(c.line, c.fractions, positions, directions);
        ASSERT_EQ(positions.size(), c.fractions.size() + 1);
        ASSERT_EQ(directions.size(), c.fractions.size() + 1);
        EXPECT_EQ(positions[0].x, -7);
        EXPECT_EQ(directions[0].x, -8);
        ExpectPointsEq(Line(positions.begin() + 1, positions.end()), c.positions, "positions");
        ExpectPointsEq(Line(directions.begin() + 1, directions.end()), c.directions, "directions");
        ASSERT_EQ(pieces.size(), c.pieces.size());
        for (size_t i = 0; i < pieces.size(); ++i) ExpectPointsEq(pieces[i], c.pieces[i], "piece");

        // The copy in the primitive utilities answers the same.
        Line positions2, directions2;
        const Pieces pieces2 = P::GetPercentPos(c.line, c.fractions, positions2, directions2);
        ExpectPointsEq(positions2, c.positions, "primitive positions");
        ExpectPointsEq(directions2, c.directions, "primitive directions");
        ASSERT_EQ(pieces2.size(), c.pieces.size());

        // The single-fraction forms give the position of the first fraction.
        CHQ_Point2D one(-1, -1), two(-1, -1);
        M::GetPercentPos(c.line, c.fractions[0], one);
        P::GetPercentPos(c.line, c.fractions[0], two);
        ExpectPointsEq({one, two}, {c.positions[0], c.positions[0]}, "single fraction");
    }
}

TEST(PercentPolyline, NoFractionsAnswerNothing) {
    Line positions, directions;
    EXPECT_TRUE(M::GetPercentPos(kEll, {}, positions, directions).empty());
    EXPECT_TRUE(positions.empty());
    EXPECT_TRUE(directions.empty());
}

// Random polylines (some with repeated points) and ascending fractions: the
// pieces join up into the whole line, each position lies at its fraction of
// the length, and every direction is a finite unit vector or (0, 0).
TEST(PercentPolyline, PiecesCoverTheLineOnRandomInput) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> coord(-1000.0, 1000.0);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int round = 0; round < 200; ++round) {
        Line line(2 + rng() % 30);
        for (CHQ_Point2D& p : line) p = CHQ_Point2D(coord(rng), coord(rng));
        if (round % 3 == 0) line[1 + rng() % (line.size() - 1)] = line[rng() % line.size()];
        std::vector<float> fractions(1 + rng() % 8);
        for (float& f : fractions) f = unit(rng);
        std::sort(fractions.begin(), fractions.end());
        if (round % 5 == 0) fractions.front() = 0.0f;
        if (round % 7 == 0) fractions.back() = 1.0f;

        Line positions, directions;
        const Pieces pieces = M::GetPercentPos(line, fractions, positions, directions);
        const double total = M::ComputeDistance(line);
        ASSERT_FALSE(pieces.empty());
        double covered = 0.0;
        for (size_t i = 0; i < pieces.size(); ++i) {
            ASSERT_GE(pieces[i].size(), 2u);
            if (i > 0) {
                EXPECT_EQ(pieces[i].front().x, pieces[i - 1].back().x);
                EXPECT_EQ(pieces[i].front().y, pieces[i - 1].back().y);
            }
            covered += M::ComputeDistance(pieces[i]);
        }
        EXPECT_NEAR(covered, total, 1e-3);
        EXPECT_NEAR(pieces.front().front().x, line.front().x, 1e-4);
        EXPECT_NEAR(pieces.back().back().y, line.back().y, 1e-4);

        for (size_t i = 0; i < fractions.size(); ++i) {
            const CHQ_Point2D& p = positions[i];
            EXPECT_TRUE(IsFloat(p.x) && IsFloat(p.y));
            if (total == 0.0) {  // no position on a line of length 0
                EXPECT_TRUE(p.x == 0.0 && p.y == 0.0);
                continue;
            }
            EXPECT_TRUE(M::IsPointOnLine(p, line, 1e-3)) << round << " " << fractions[i];
            // The first piece of a single fraction runs from the start to the
            // position: its length is the fraction of the total.
            Line pos1, dir1;
            const Pieces upTo = M::GetPercentPos(line, {fractions[i]}, pos1, dir1);
            if (fractions[i] > 0.0f) {
                ASSERT_FALSE(upTo.empty());
                EXPECT_NEAR(M::ComputeDistance(upTo.front()), fractions[i] * total, 1e-3);
            }
            EXPECT_EQ(pos1[0].x, p.x);
            const CHQ_Point2D& d = directions[i];
            const double len = std::hypot(d.x, d.y);
            EXPECT_TRUE(len == 0.0 || std::fabs(len - 1.0) < 1e-6) << len;
        }
    }
}
