// SPDX-License-Identifier: Apache-2.0
// The tolerances of geomkit and the path module, one name per meaning, each
// with the reason for its value. Stored symbols were computed with these
// exact values and comparisons (< or <= as written where they are used), so
// none of them may change.
#ifndef GEOMKIT_SRC_TOLERANCES_H
#define GEOMKIT_SRC_TOLERANCES_H

namespace HQ {
namespace tolerance {

// Map-unit quantities at or below this count as zero: coordinate
// differences, lengths and thicknesses, and the determinants and cross
// products built from coordinates (a side test, an intersection determinant,
// an unnormalised triangle normal). Coordinates are map units, far coarser
// than this resolution, so only coincident points, parallel lines and
// degenerate triangles fall below it.
constexpr double kCoordinateTolerance = 1e-6;

// A segment of this length or shorter gives no usable direction and its end
// point repeats its start: the plotted curves use it as the shortest arm of a
// control-point construction and the offset lines to drop repeated vertices.
constexpr double kShortSegment = 1e-5;
// kShortSegment squared, for comparisons of squared distances. Written as its
// own literal because 1e-5 * 1e-5 rounds to a different double.
constexpr double kShortSegmentSquared = 1e-10;

// Two unit directions whose cross product (the sine of the angle between
// them) stays at or below this make one straight line (or a line folding
// back): the offset lines then step square to the line instead of along a
// mitre, whose length w / sine would blow up.
constexpr double kStraightSine = 1e-5;

// Path parameters and fractions of a path's length (values in [0, 1]) this
// close count as equal: a fraction lands on a polyline vertex, a curve
// parameter just outside [0, 1] is clamped. The length sampling of a curve
// overshoots 1 by about 7e-16, far below this.
constexpr double kParameterTolerance = 1e-6;

// Angles in degrees this close to 0, 90, 180, 270, 360 or a multiple of 5
// degrees take the exact tabulated sine and cosine of that angle: an angle
// meant as such a multiple keeps its exact values despite the rounding of its
// reduction into [0, 360], while any deliberately different angle lies much
// farther away.
constexpr double kAngleToleranceDeg = 1e-8;

// Largest coordinate magnitude the constrained Delaunay triangulations
// (outline triangulator, large-input tessellation) accept. Their in-circle
// test multiplies fourth powers of coordinate differences, measured against
// an enclosing triangle several times the input's extent; beyond about 1e75
// that overflows the double range and the test loses its meaning. 1e60
// leaves a wide margin and still exceeds any map coordinate by far.
constexpr double kTriangulationCoordinateLimit = 1e60;

}  // namespace tolerance
}  // namespace HQ

#endif
