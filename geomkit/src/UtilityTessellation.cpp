// SPDX-License-Identifier: Apache-2.0
#include <geomkit/UtilityTessellation.h>

#include "TessellationLarge.h"

#include <GL/glu.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <new>

namespace HQ {

CHQGS_UtilityTessellation* CHQGS_UtilityTessellation::instance = nullptr;
std::vector<std::vector<CHQ_Point3D>> CHQGS_UtilityTessellation::m_contours;
std::vector<CHQ_Point3D> CHQGS_UtilityTessellation::m_vertexs;
std::vector<int> CHQGS_UtilityTessellation::m_indexs;
std::vector<CHQ_Point3D> CHQGS_UtilityTessellation::m_tempverts;
int CHQGS_UtilityTessellation::triangleMode = 0;
double CHQGS_UtilityTessellation::currentWinding = GLU_TESS_WINDING_POSITIVE;

namespace {

// A vertex block as the tessellator sees it: coordinates followed by a
// homogeneous 1 and two unused slots.
using VertexBlock = std::array<double, 6>;

// Blocks created by the combine callback during one run. A deque keeps the
// addresses handed to the tessellator stable while it grows; the run clears
// it once the tessellator is gone.
std::deque<VertexBlock> g_combineBlocks;

// Set by the error callback (and by an allocation failure inside a
// callback); the run then answers false instead of a partial result.
bool g_runFailed = false;

// Set once the error line of the current run has been written: the
// tessellator reports some errors once per vertex (every coordinate beyond
// its limit), and one failed run is one line.
bool g_errorReported = false;

// The error line of a failed run.
void ReportError(const char* text) { std::fprintf(stderr, "CHQGS_UtilityTessellation Error: %s\n", text); }

bool IsFinite(const CHQ_Point3D& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

CHQGS_UtilityTessellation::CHQGS_UtilityTessellation() {
    m_vertexs.clear();
    m_indexs.clear();
    m_tempverts.clear();
    for (auto& c : m_contours) c.clear();
    m_contours.clear();
    currentWinding = GLU_TESS_WINDING_POSITIVE;
    triangleMode = 0;
}

CHQGS_UtilityTessellation* CHQGS_UtilityTessellation::getInstance() {
    if (instance == nullptr) instance = new CHQGS_UtilityTessellation();
    return instance;
}

void CHQGS_UtilityTessellation::init() {
    for (auto& c : m_contours) c.clear();
    m_contours.clear();
    m_vertexs.clear();
    m_indexs.clear();
}

void CHQGS_UtilityTessellation::addContour(std::vector<CHQ_Point3D> contour) {
    m_contours.push_back(std::move(contour));
}

void CHQGS_UtilityTessellation::addContour(std::vector<CHQ_Point2D> contour) {
    std::vector<CHQ_Point3D> c;
    c.reserve(contour.size());
    for (const auto& p : contour) c.emplace_back(p.x, p.y, 0.0);
    m_contours.push_back(std::move(c));
}

void CHQGS_UtilityTessellation::ClearContour() { m_contours.clear(); }

std::vector<std::vector<CHQ_Point3D>> CHQGS_UtilityTessellation::getContours() { return m_contours; }

bool CHQGS_UtilityTessellation::tesselated(std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices) {
    return run(m_contours, vertices, indices);
}

bool CHQGS_UtilityTessellation::tesselated(std::vector<CHQ_Point3D> contour,
                                           std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices) {
    std::vector<std::vector<CHQ_Point3D>> one;
    one.push_back(std::move(contour));
    return run(one, vertices, indices);
}

bool CHQGS_UtilityTessellation::run(const std::vector<std::vector<CHQ_Point3D>>& contours,
                                    std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices) {
    m_vertexs.clear();
    m_indexs.clear();
    vertices.clear();
    indices.clear();

    // The tessellator's limit check lets NaN through, and its sweep is not
    // defined for it; such input is refused before it gets there, with one
    // error line for the call.
    std::size_t total = 0;
    for (const auto& c : contours) {
        for (const auto& p : c)
            if (!IsFinite(p)) {
                ReportError("coordinate is not a finite number");
                return false;
            }
        total += c.size();
    }

    if (total >= tessellation::kLargeInputVertices) {
        tessellation::LargeOutcome outcome = tessellation::LargeOutcome::NotTaken;
        try {
            outcome = tessellation::TessellateLarge(contours, m_vertexs, m_indexs);
        } catch (const std::bad_alloc&) {
            outcome = tessellation::LargeOutcome::NotTaken;
        }
        if (outcome == tessellation::LargeOutcome::Filled) {
            if (m_vertexs.empty() || m_indexs.empty()) {
                m_vertexs.clear();
                m_indexs.clear();
                return false;
            }
            vertices = m_vertexs;
            indices = m_indexs;
            return true;
        }
        m_vertexs.clear();
        m_indexs.clear();
    }

    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr) return false;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&beginCallback));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&vertexCallback));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&endCallback));
    gluTessCallback(tess, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(&errorCallback));
    gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(&combineCallback));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, currentWinding);

    g_runFailed = false;
    g_errorReported = false;
    g_combineBlocks.clear();
    // One block per input point, allocated at once so that the addresses
    // handed to the tessellator stay valid until it is deleted.
    std::vector<VertexBlock> blocks;
    try {
        blocks.reserve(total);
    } catch (const std::bad_alloc&) {
        gluDeleteTess(tess);
        return false;
    }

    gluTessBeginPolygon(tess, nullptr);
    for (const auto& c : contours) {
        gluTessBeginContour(tess);
        for (const auto& p : c) {
            blocks.push_back(VertexBlock{p.x, p.y, p.z, 1.0, 0.0, 0.0});
            double* b = blocks.back().data();
            gluTessVertex(tess, b, b);
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    blocks.clear();
    g_combineBlocks.clear();

    if (g_runFailed) {
        m_vertexs.clear();
        m_indexs.clear();
        return false;
    }
    if (m_vertexs.empty() || m_indexs.empty()) return false;
    vertices = m_vertexs;
    indices = m_indexs;
    return true;
}

void CHQGS_UtilityTessellation::beginCallback(unsigned int type) {
    m_tempverts.clear();
    triangleMode = static_cast<int>(type);
}

void CHQGS_UtilityTessellation::vertexCallback(void* data) {
    const double* b = static_cast<const double*>(data);
    try {
        m_tempverts.emplace_back(b[0], b[1], b[2]);
    } catch (const std::bad_alloc&) {
        g_runFailed = true;
    }
}

void CHQGS_UtilityTessellation::combineCallback(double coords[3], void* /*neighbours*/[4],
                                                float /*weights*/[4], void** out) {
    try {
        g_combineBlocks.push_back(VertexBlock{coords[0], coords[1], coords[2], 1.0, 0.0, 0.0});
        *out = g_combineBlocks.back().data();
    } catch (const std::bad_alloc&) {
        // Leaving *out unset makes the tessellator report an error of its own.
        g_runFailed = true;
    }
}

void CHQGS_UtilityTessellation::endCallback() {
    const int base = static_cast<int>(m_vertexs.size());
    const int k = static_cast<int>(m_tempverts.size());
    try {
        m_vertexs.insert(m_vertexs.end(), m_tempverts.begin(), m_tempverts.end());
        switch (triangleMode) {
            case GL_TRIANGLES:
                for (int j = 0; j < k - 2; j += 3) {
                    m_indexs.push_back(base + j);
                    m_indexs.push_back(base + j + 1);
                    m_indexs.push_back(base + j + 2);
                }
                break;
            case GL_TRIANGLE_STRIP:
                // Every other triangle of a strip swaps its last two corners
                // so that all triangles face the same way.
                for (int i = 0; i < k - 2; ++i) {
                    m_indexs.push_back(base + i);
                    m_indexs.push_back(base + i + ((i % 2 == 0) ? 1 : 2));
                    m_indexs.push_back(base + i + ((i % 2 == 0) ? 2 : 1));
                }
                break;
            case GL_TRIANGLE_FAN:
                for (int i = 0; i < k - 2; ++i) {
                    m_indexs.push_back(base);
                    m_indexs.push_back(base + i + 1);
                    m_indexs.push_back(base + i + 2);
                }
                break;
            default:
                break;
        }
    } catch (const std::bad_alloc&) {
        g_runFailed = true;
    }
}

void CHQGS_UtilityTessellation::errorCallback(unsigned int errorCode) {
    g_runFailed = true;
    if (g_errorReported) return;
    g_errorReported = true;
    const GLubyte* text = gluErrorString(errorCode);
    ReportError(text != nullptr ? reinterpret_cast<const char*>(text) : "unknown error");
}

}  // namespace HQ
