// SPDX-License-Identifier: Apache-2.0
// NormalCalc: expands indexed triangle lists, strips and fans into separate
// triangles with one flat face normal per triangle, for display.
//
// The primitive kind is the host graphics engine's render-operation code,
// passed as an integer: 4 triangle list, 5 triangle strip, 6 triangle fan.
// Every other code is rejected. No state; every operation is const.
#ifndef GEOMKIT_NORMALCALC_H
#define GEOMKIT_NORMALCALC_H

#include <geomkit/Color.h>
#include <geomkit/GeomkitExport.h>
#include <geomkit/Point3D.h>

#include <vector>

namespace HQ {

class GEOMKIT_API NormalCalc {
public:
    // Render-operation codes understood by calcNormal.
    static constexpr int OT_TRIANGLE_LIST = 4;
    static constexpr int OT_TRIANGLE_STRIP = 5;
    static constexpr int OT_TRIANGLE_FAN = 6;

    NormalCalc() {}
    virtual ~NormalCalc() {}

    // Appends, per primitive, its three corner positions to outPositions, the
    // colours at the same corners to outColours and the face normal (unit
    // length) three times to outNormals. Corners come from indices, or from
    // the positions in order when indices is empty. The output lists are
    // appended to, not emptied.
    //
    // A primitive with a corner outside the position list (negative or too
    // large) is skipped. A degenerate primitive (normal shorter than 1e-6)
    // repeats the previous primitive's normal ((0, 0, 0) for the first).
    // A trailing partial triangle of a list is ignored.
    //
    // Answers false, outputs untouched, when positions is empty, colours does
    // not have one entry per position, fewer than 3 vertices are given, the
    // type is unknown or there is no primitive.
    bool calcNormal(int operationType, const std::vector<CHQ_Point3D>& positions,
                    const std::vector<int>& indices, const std::vector<CColor>& colours,
                    std::vector<CHQ_Point3D>& outPositions, std::vector<CColor>& outColours,
                    std::vector<CHQ_Point3D>& outNormals) const;

private:
    int calcNumPrimitives(int operationType, int vertexCount) const;
    void calcPrimitiveVertexIndices(int operationType, int primitive, int& i0, int& i1, int& i2) const;
    void mapVertexIndices(const std::vector<int>& indices, int i0, int i1, int i2, int& o0, int& o1,
                          int& o2) const;
    void readVertexPosition(const std::vector<CHQ_Point3D>& positions, int i0, int i1, int i2,
                            CHQ_Point3D& p0, CHQ_Point3D& p1, CHQ_Point3D& p2) const;
    // False (normal untouched) for a degenerate triangle.
    bool calcPatchNormal(const CHQ_Point3D& p0, const CHQ_Point3D& p1, const CHQ_Point3D& p2,
                         CHQ_Point3D& normal) const;
    // False when a corner lies outside the positions; otherwise the corners
    // are set and normal updated unless the triangle is degenerate.
    bool calcPrimitiveNormal(int operationType, int primitive, const std::vector<CHQ_Point3D>& positions,
                             const std::vector<int>& indices, CHQ_Point3D& normal, int& i0, int& i1,
                             int& i2) const;
};

}  // namespace HQ

#endif
