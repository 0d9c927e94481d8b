// SPDX-License-Identifier: Apache-2.0
// CHQGS_Delaunay: the input and output records of the outline triangulator,
// filled from an outline, read back as a mesh, and the ownership of their
// arrays.
#include <geomkit/Delaunay.h>

#include "TriangleRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>
#include <vector>

namespace HQ {

namespace {

using namespace record;

// The attribute Init gives every point of the input record.
constexpr double kPointAttribute = 0.04;

}  // namespace

// Every distinct array pointer ever seen in the records of the objects that
// share this owner; freed once when the last of them lets go.
struct CHQGS_Delaunay::ArrayOwner {
    std::set<void*> arrays;
    void adopt(const triangulateio& r) {
        for (void* a : {static_cast<void*>(r.pointlist), static_cast<void*>(r.pointattributelist),
                        static_cast<void*>(r.pointmarkerlist), static_cast<void*>(r.trianglelist),
                        static_cast<void*>(r.triangleattributelist), static_cast<void*>(r.trianglearealist),
                        static_cast<void*>(r.neighborlist), static_cast<void*>(r.segmentlist),
                        static_cast<void*>(r.segmentmarkerlist), static_cast<void*>(r.holelist),
                        static_cast<void*>(r.regionlist), static_cast<void*>(r.edgelist),
                        static_cast<void*>(r.edgemarkerlist), static_cast<void*>(r.normlist)})
            if (a != nullptr) arrays.insert(a);
    }
    ~ArrayOwner() {
        for (void* a : arrays) std::free(a);
    }
};

CHQGS_Delaunay::CHQGS_Delaunay() : m_valid(false), m_arrays(std::make_shared<ArrayOwner>()) {
    ClearRecord(inRecord);
    ClearRecord(outRecord);
}

CHQGS_Delaunay::CHQGS_Delaunay(const CHQGS_Delaunay& other)
    : m_valid(other.m_valid), inRecord(other.inRecord), outRecord(other.outRecord) {
    other.adoptArrays();
    m_arrays = other.m_arrays;
}

CHQGS_Delaunay& CHQGS_Delaunay::operator=(const CHQGS_Delaunay& other) {
    if (this == &other) return *this;
    other.adoptArrays();
    adoptArrays();
    m_valid = other.m_valid;
    inRecord = other.inRecord;
    outRecord = other.outRecord;
    m_arrays = other.m_arrays;
    return *this;
}

CHQGS_Delaunay::~CHQGS_Delaunay() {
    m_valid = false;
    adoptArrays();
}

void CHQGS_Delaunay::adoptArrays() const {
    m_arrays->adopt(inRecord);
    m_arrays->adopt(outRecord);
}

void CHQGS_Delaunay::releaseArrays() {
    adoptArrays();
    m_arrays = std::make_shared<ArrayOwner>();
}

std::vector<CHQ_Point3D> CHQGS_Delaunay::Init(std::vector<CHQ_Point3D> points) {
    // Keep the last of each group of equal points: walk backwards, keep what
    // was not seen yet, then restore the order. Points with a NaN coordinate
    // equal nothing and are always kept.
    auto less = [](const CHQ_Point3D& a, const CHQ_Point3D& b) {
        return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    };
    std::set<CHQ_Point3D, decltype(less)> seen(less);
    std::vector<CHQ_Point3D> result;
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
        const bool nan = std::isnan(it->x) || std::isnan(it->y) || std::isnan(it->z);
        if (nan || seen.insert(*it).second) result.push_back(*it);
    }
    std::reverse(result.begin(), result.end());

    if (result.size() < 3) {
        m_valid = false;
        return result;
    }
    const int n = static_cast<int>(result.size());
    releaseArrays();
    ClearRecord(inRecord);
    ClearRecord(outRecord);

    inRecord.numberofpoints = n;
    inRecord.numberofpointattributes = 1;
    inRecord.pointlist = AllocArray<double>(2 * static_cast<std::size_t>(n));
    inRecord.pointattributelist = AllocArray<double>(static_cast<std::size_t>(n));
    inRecord.numberofsegments = n;
    inRecord.segmentlist = AllocArray<int>(2 * static_cast<std::size_t>(n));
    inRecord.segmentmarkerlist = AllocArray<int>(static_cast<std::size_t>(n));  // all 0
    if (inRecord.pointlist == nullptr || inRecord.pointattributelist == nullptr ||
        inRecord.segmentlist == nullptr || inRecord.segmentmarkerlist == nullptr) {
        FreeRecordArrays(inRecord);
        m_valid = false;
        return result;
    }
    for (int i = 0; i < n; ++i) {
        inRecord.pointlist[2 * i] = result[i].x;
        inRecord.pointlist[2 * i + 1] = result[i].y;
        inRecord.pointattributelist[i] = kPointAttribute;
        inRecord.segmentlist[2 * i] = i;
        inRecord.segmentlist[2 * i + 1] = (i + 1) % n;
    }
    m_valid = true;
    return result;
}

bool CHQGS_Delaunay::Triangulate() {
    if (!m_valid) return false;
    adoptArrays();
    ClearRecord(outRecord);
    return TriangulateOutline(inRecord, outRecord);
}

bool CHQGS_Delaunay::Compute(std::vector<CHQ_Point3D>& points, std::vector<int>& indices) {
    if (!m_valid) return false;
    points.clear();
    indices.clear();
    if (outRecord.pointlist != nullptr)
        for (int i = 0; i < outRecord.numberofpoints; ++i)
            points.emplace_back(outRecord.pointlist[2 * i], outRecord.pointlist[2 * i + 1], 0.0);
    if (outRecord.trianglelist != nullptr && outRecord.numberofcorners > 0) {
        const std::size_t corners = static_cast<std::size_t>(outRecord.numberofcorners);
        for (int t = 0; t < outRecord.numberoftriangles; ++t)
            for (std::size_t c = 0; c < corners; ++c)
                indices.push_back(outRecord.trianglelist[static_cast<std::size_t>(t) * corners + c]);
    }
    return true;
}

}  // namespace HQ
