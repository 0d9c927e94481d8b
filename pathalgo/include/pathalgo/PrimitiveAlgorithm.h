// SPDX-License-Identifier: Apache-2.0
// CPrimitiveAlgorithm: the abstract segment of a drawing path, the segment
// type codes, and SinCosDegrees, the sine/cosine helper the curved segments
// share.
//
// Including this header makes every segment kind available (line, polyline,
// circle, cubic Bezier, ellipse). Each kind also has a header of its own,
// which may be included alone.
//
// Units: coordinates are doubles in the caller's plane; angles are degrees.
#ifndef PATHALGO_PRIMITIVEALGORITHM_H
#define PATHALGO_PRIMITIVEALGORITHM_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point2D.h>

#include <memory>

namespace HQ {

// Segment type codes answered by CPrimitiveAlgorithm::GetPrimitiveType.
enum PrimitiveType {
    Primitive_Circle = 1,    // CCircleAlgorithm
    Primitive_Bezier = 2,    // CBezierCurveAlgorithm
    Primitive_Elliptic = 3,  // CEllipticAlgorithm
    Primitive_Line = 4,      // CLineAlgorithm
    Primitive_PolyLine = 5,  // CPolyLineAlgorithm
};

// Abstract base of all segments; it holds no data. Segments never report
// errors: degenerate input gives degenerate geometry.
class GEOMKIT_API CPrimitiveAlgorithm {
public:
    CPrimitiveAlgorithm() = default;
    virtual ~CPrimitiveAlgorithm();

    // One of the PrimitiveType codes.
    virtual int GetPrimitiveType() const = 0;
    // Length of the segment, fixed when the segment is built (never negative).
    virtual double GetLength() const = 0;
    // The point at parameter t, t running from 0 to 1; each kind defines how
    // t runs along it.
    virtual CHQ_Point2D PointAt(double t) const = 0;
    // A deep copy of this segment, owned by the caller.
    virtual std::unique_ptr<CPrimitiveAlgorithm> Clone() const = 0;

protected:
    CPrimitiveAlgorithm(const CPrimitiveAlgorithm&) = default;
    CPrimitiveAlgorithm& operator=(const CPrimitiveAlgorithm&) = default;
};

// Sine and cosine of an angle in degrees, stored in sinValue and cosValue.
// Multiples of 90 degrees are exact; multiples of 5 degrees come from a table
// of correctly rounded values; every other angle uses sin/cos of
// degrees * 0.017453 (the single-precision value 0.01745299994945526, not
// pi/180), so such results differ from exact trigonometry in about the fifth
// significant digit. Stored symbols depend on these values.
GEOMKIT_API void SinCosDegrees(double degrees, double& sinValue, double& cosValue);

}  // namespace HQ

#endif  // PATHALGO_PRIMITIVEALGORITHM_H

// The kind headers include this header before their own include guard, so
// that whichever header a caller includes first, the kinds are declared in
// dependency order (a polyline needs the line, the ellipse the Bezier curve).
#ifndef PATHALGO_PRIMITIVEALGORITHM_KINDS
#define PATHALGO_PRIMITIVEALGORITHM_KINDS
#include <pathalgo/LineAlgorithm.h>
#include <pathalgo/PolyLineAlgorithm.h>
#include <pathalgo/CircleAlgorithm.h>
#include <pathalgo/BezierCurveAlgorithm.h>
#include <pathalgo/EllipticAlgorithm.h>
#endif  // PATHALGO_PRIMITIVEALGORITHM_KINDS
