// SPDX-License-Identifier: Apache-2.0
// The tessellator and the Delaunay records on hostile coordinates: NaN,
// infinities, 1e300 and the other limits of FuzzInput::fraction, repeated
// points, and generated jagged rings large enough (up to 3,000 points) for
// the tessellator's triangulation route. Outputs must be consistent: on
// success three indices per triangle, each naming a vertex given back; on
// failure empty outputs. The triangulator record is also filled by hand
// with hostile segment lists (indices out of range, loops that do not
// close), which it must refuse without reading outside the record.
#include <geomkit/Delaunay.h>
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/UtilityTessellation.h>

#include "FuzzInput.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using HQ::CHQ_Point2D;
using HQ::CHQ_Point3D;

namespace {

void require(bool condition, const char* what) { FuzzRequire(condition, "tessellation", what); }

void checkTriangles(bool ok, const std::vector<CHQ_Point3D>& vertices, const std::vector<int>& indices) {
    if (!ok) {
        require(vertices.empty() && indices.empty(), "a failed run left outputs");
        return;
    }
    require(indices.size() % 3 == 0, "indices are not whole triangles");
    for (int i : indices)
        require(i >= 0 && static_cast<size_t>(i) < vertices.size(), "an index names no vertex");
}

// A contour; only the first may be a large star, so that an input holds at
// most about 2,700 points (self-crossing input stays with the system
// tessellator, whose time grows faster than the square of the points).
const unsigned kMaxCrossingStar = 600;

std::vector<CHQ_Point3D> contour(FuzzInput& in, bool first) {
    std::vector<CHQ_Point3D> pts;
    const unsigned op = in.byte() % 8;
    if (op == 0 && first) {
        // A jagged star: n points around a centre at two radii, one
        // coordinate of it perhaps hostile.
        const unsigned n = 3 + in.below(2500);
        const double cx = in.fraction(), cy = in.fraction(), r = 1 + in.below(1000);
        for (unsigned k = 0; k < n; ++k) {
            const double a = 2 * M_PI * k / n, rr = k % 2 ? r : r / 2;
            pts.emplace_back(cx + rr * std::cos(a), cy + rr * std::sin(a), 0.0);
        }
        // A moved point makes the star cross itself, which only the system
        // tessellator takes, in time growing faster than the square of the
        // points: keep such stars small enough for the fuzzer's time-out.
        if (n <= kMaxCrossingStar && in.flag()) pts[in.below(n)].x = in.fraction();
        return pts;
    }
    const unsigned n = in.below(48);
    const double z = op == 1 ? in.fraction() : 0.0;
    for (unsigned k = 0; k < n && !in.empty(); ++k) {
        if (!pts.empty() && in.byte() < 32) {
            pts.push_back(pts[in.below(static_cast<unsigned>(pts.size()))]);  // a repeat
            continue;
        }
        const double x = in.fraction(), y = in.fraction();
        pts.emplace_back(x, y, op == 2 ? in.fraction() : z);
    }
    return pts;
}

// The triangulator on a record filled by hand.
void hostileRecord(FuzzInput& in, const std::vector<CHQ_Point3D>& pts) {
    HQ::triangulateio rec;
    std::memset(&rec, 0, sizeof rec);
    std::vector<double> coords;
    for (const CHQ_Point3D& p : pts) {
        coords.push_back(p.x);
        coords.push_back(p.y);
    }
    std::vector<int> segments;
    const unsigned nSeg = in.below(2 * static_cast<unsigned>(pts.size()) + 2);
    for (unsigned k = 0; k < 2 * nSeg; ++k)
        segments.push_back(in.flag() ? static_cast<int>(in.below(static_cast<unsigned>(pts.size()) + 1))
                                     : in.integer());
    rec.pointlist = coords.empty() ? nullptr : coords.data();
    rec.numberofpoints = static_cast<int>(pts.size());
    rec.segmentlist = segments.empty() ? nullptr : segments.data();
    rec.numberofsegments = static_cast<int>(nSeg);
    HQ::triangulateio out;
    std::memset(&out, 0, sizeof out);
    if (HQ::TriangulateOutline(rec, out)) {
        require(out.numberofcorners == 3, "triangles without three corners");
        for (int k = 0; k < 3 * out.numberoftriangles; ++k)
            require(out.trianglelist[k] >= 0 && out.trianglelist[k] < out.numberofpoints,
                    "a corner names no point");
    } else {
        require(out.numberoftriangles == 0 && out.trianglelist == nullptr,
                "a refused outline left triangles");
    }
    free(out.pointlist);
    free(out.pointattributelist);
    free(out.pointmarkerlist);
    free(out.trianglelist);
    free(out.triangleattributelist);
    free(out.trianglearealist);
    free(out.neighborlist);
    free(out.segmentlist);
    free(out.segmentmarkerlist);
    free(out.holelist);
    free(out.regionlist);
    free(out.edgelist);
    free(out.edgemarkerlist);
    free(out.normlist);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    std::vector<std::vector<CHQ_Point3D>> contours;
    const unsigned n = 1 + in.below(4);
    for (unsigned k = 0; k < n; ++k) contours.push_back(contour(in, k == 0));

    HQ::CHQGS_UtilityTessellation* tess = HQ::CHQGS_UtilityTessellation::getInstance();
    tess->init();
    for (const auto& c : contours) tess->addContour(c);
    std::vector<CHQ_Point3D> vertices;
    std::vector<int> indices;
    checkTriangles(tess->tesselated(vertices, indices), vertices, indices);
    checkTriangles(tess->tesselated(contours[0], vertices, indices), vertices, indices);
    tess->init();

    std::vector<std::vector<CHQ_Point2D>> flat;
    for (const auto& c : contours) {
        flat.emplace_back();
        for (const CHQ_Point3D& p : c) flat.back().emplace_back(p.x, p.y);
    }
    std::vector<CHQ_Point3D> normals;
    const double thickness = in.fraction();
    if (HQ::CHQGS_MathUtilityFunctions::ComputeTextTessellation(flat, thickness, vertices, indices, normals))
        checkTriangles(true, vertices, indices);
    tess->init();

    HQ::CHQGS_Delaunay d;
    const std::vector<CHQ_Point3D> outline = d.Init(contours[0]);
    if (d.Triangulate()) {
        std::vector<CHQ_Point3D> points;
        require(d.Compute(points, indices), "Compute refused a triangulated outline");
        checkTriangles(true, points, indices);
        HQ::CHQGS_Delaunay copy(d);
        require(copy.Compute(points, indices), "a copy lost its records");
    }
    hostileRecord(in, outline.empty() ? contours[0] : outline);
    return 0;
}
