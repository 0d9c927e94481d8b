// SPDX-License-Identifier: Apache-2.0
// Memory of the triangulator records (triangulateio): clearing, allocating,
// copying and freeing their arrays. Shared by CHQGS_Delaunay, which owns the
// arrays of its records, and the outline triangulator, which fills an output
// record.
#ifndef GEOMKIT_SRC_TRIANGLERECORD_H
#define GEOMKIT_SRC_TRIANGLERECORD_H

#include <geomkit/Delaunay.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <set>

namespace HQ {
namespace record {

inline void ClearRecord(triangulateio& r) { std::memset(&r, 0, sizeof(r)); }

template <typename T>
T* AllocArray(std::size_t count) {
    // calloc(0) may answer null or a unique pointer; ask for one item at
    // least so that "absent" and "empty" stay distinct only by count.
    return static_cast<T*>(std::calloc(count == 0 ? 1 : count, sizeof(T)));
}

template <typename T>
T* CopyArray(const T* src, std::size_t count) {
    if (src == nullptr || count == 0) return nullptr;
    T* dst = static_cast<T*>(std::malloc(count * sizeof(T)));
    if (dst != nullptr) std::memcpy(dst, src, count * sizeof(T));
    return dst;
}

inline void FreeRecordArrays(triangulateio& r) {
    void* arrays[] = {r.pointlist,
                      r.pointattributelist,
                      r.pointmarkerlist,
                      r.trianglelist,
                      r.triangleattributelist,
                      r.trianglearealist,
                      r.neighborlist,
                      r.segmentlist,
                      r.segmentmarkerlist,
                      r.holelist,
                      r.regionlist,
                      r.edgelist,
                      r.edgemarkerlist,
                      r.normlist};
    std::set<void*> distinct(std::begin(arrays), std::end(arrays));
    for (void* a : distinct) std::free(a);
    ClearRecord(r);
}

}  // namespace record
}  // namespace HQ

#endif
