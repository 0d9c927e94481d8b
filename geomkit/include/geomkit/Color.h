// SPDX-License-Identifier: Apache-2.0
// CColor: four bytes red, green, blue, alpha (0-255 each), with two virtual
// accessors of packed forms. A default-constructed colour has unspecified
// channels until assigned.
#ifndef GEOMKIT_COLOR_H
#define GEOMKIT_COLOR_H

#include <geomkit/GeomkitExport.h>

#include <cstdint>

namespace HQ {

class GEOMKIT_API CColor {
public:
    CColor() {}
    CColor(unsigned char r, unsigned char g, unsigned char b, unsigned char a) : m_rgba{r, g, b, a} {}
    CColor(const CColor& o) : m_rgba{o.m_rgba[0], o.m_rgba[1], o.m_rgba[2], o.m_rgba[3]} {}
    CColor& operator=(const CColor& o) {
        for (int i = 0; i < 4; ++i) m_rgba[i] = o.m_rgba[i];
        return *this;
    }

    // blue << 16 | green << 8 | red (alpha not included).
    virtual std::uint32_t getBGR();
    // alpha << 24 | red << 16 | green << 8 | blue.
    virtual std::uint32_t getARGB();

    unsigned char m_rgba[4];  // red, green, blue, alpha
};

}  // namespace HQ

#endif
