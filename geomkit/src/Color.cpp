// SPDX-License-Identifier: Apache-2.0
#include <geomkit/Color.h>

namespace HQ {

std::uint32_t CColor::getBGR() {
    return static_cast<std::uint32_t>(m_rgba[2]) << 16 | static_cast<std::uint32_t>(m_rgba[1]) << 8 |
           static_cast<std::uint32_t>(m_rgba[0]);
}

std::uint32_t CColor::getARGB() {
    return static_cast<std::uint32_t>(m_rgba[3]) << 24 | static_cast<std::uint32_t>(m_rgba[0]) << 16 |
           static_cast<std::uint32_t>(m_rgba[1]) << 8 | static_cast<std::uint32_t>(m_rgba[2]);
}

}  // namespace HQ
