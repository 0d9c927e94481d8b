// SPDX-License-Identifier: Apache-2.0
#include <geomkit/Angle.h>

#include <cmath>

namespace HQ {

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
}  // namespace

CHQGS_Angle::CHQGS_Angle() : m_cos(1.0), m_sin(0.0) {}
CHQGS_Angle::CHQGS_Angle(double radians) : m_cos(std::cos(radians)), m_sin(std::sin(radians)) {}
CHQGS_Angle::CHQGS_Angle(double c, double s, int) : m_cos(c), m_sin(s) {}
CHQGS_Angle::CHQGS_Angle(const CHQGS_Angle& other) = default;
CHQGS_Angle& CHQGS_Angle::operator=(const CHQGS_Angle& other) = default;
CHQGS_Angle::~CHQGS_Angle() {}

CHQGS_Angle CHQGS_Angle::fromRadians(double r) { return CHQGS_Angle(r); }
CHQGS_Angle CHQGS_Angle::fromDegrees(double d) { return CHQGS_Angle(d * kPi / 180.0); }

double CHQGS_Angle::toRadians(double normalize) const {
    double a = std::atan2(m_sin, m_cos);
    if (normalize != 0.0 && a < 0.0) a += kTwoPi;
    return a;
}

double CHQGS_Angle::toDegrees(bool normalize) const { return toRadians(normalize ? 1.0 : 0.0) * 180.0 / kPi; }

CHQGS_Angle CHQGS_Angle::operator+(const CHQGS_Angle& o) const {
    return CHQGS_Angle(m_cos * o.m_cos - m_sin * o.m_sin, o.m_sin * m_cos + m_sin * o.m_cos, 0);
}

CHQGS_Angle CHQGS_Angle::operator-(const CHQGS_Angle& o) const {
    return CHQGS_Angle(o.m_cos * m_cos + m_sin * o.m_sin, m_sin * o.m_cos - o.m_sin * m_cos, 0);
}

CHQGS_Angle& CHQGS_Angle::operator+=(const CHQGS_Angle& o) { return *this = *this + o; }
CHQGS_Angle& CHQGS_Angle::operator-=(const CHQGS_Angle& o) { return *this = *this - o; }

CHQGS_Angle CHQGS_Angle::operator*(double k) const { return CHQGS_Angle(std::atan2(m_sin, m_cos) * k); }

CHQGS_Angle& CHQGS_Angle::operator*=(double k) { return *this = *this * k; }

bool CHQGS_Angle::operator==(const CHQGS_Angle& o) const { return m_cos == o.m_cos && m_sin == o.m_sin; }

}  // namespace HQ
