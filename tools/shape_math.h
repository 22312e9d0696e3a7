// Small 2-D vector helpers and signed-distance shapes used to draw the emblem.
// Distances are negative inside a shape and positive outside it.
#pragma once

#include <algorithm>
#include <cmath>

namespace shape {

constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
  double x;
  double y;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double s) { return {a.x * s, a.y * s}; }
inline double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline double length(Vec2 a) { return std::sqrt(dot(a, a)); }

inline double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

inline double smoothstep(double edge0, double edge1, double v) {
  const double t = clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

inline double mix(double a, double b, double t) { return a + (b - a) * t; }

// Rotates a point by `angle` radians (counter-clockwise).
inline Vec2 rotate(Vec2 p, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {c * p.x - s * p.y, s * p.x + c * p.y};
}

inline double circle(Vec2 p, double radius) { return length(p) - radius; }

// Close approximation of the distance to an axis-aligned ellipse.
inline double ellipse(Vec2 p, Vec2 radii) {
  const Vec2 q{p.x / radii.x, p.y / radii.y};
  const Vec2 r{p.x / (radii.x * radii.x), p.y / (radii.y * radii.y)};
  const double k0 = length(q);
  const double k1 = length(r);
  if (k1 == 0.0) return -std::min(radii.x, radii.y);
  return k0 * (k0 - 1.0) / k1;
}

// Rounded cone between a circle of radius r1 at the origin and radius r2 at (0, h).
inline double uneven_capsule(Vec2 p, double r1, double r2, double h) {
  p.x = std::abs(p.x);
  const double b = (r1 - r2) / h;
  const double a = std::sqrt(std::max(0.0, 1.0 - b * b));
  const double k = dot(p, Vec2{-b, a});
  if (k < 0.0) return length(p) - r1;
  if (k > a * h) return length(p - Vec2{0.0, h}) - r2;
  return dot(p, Vec2{a, b}) - r1;
}

// Distance to the segment a-b, thickened by `radius`.
inline double capsule(Vec2 p, Vec2 a, Vec2 b, double radius) {
  const Vec2 pa = p - a;
  const Vec2 ba = b - a;
  const double h = clamp01(dot(pa, ba) / dot(ba, ba));
  return length(pa - ba * h) - radius;
}

// Union of two shapes with a rounded blend of size k.
inline double smooth_union(double a, double b, double k) {
  const double h = clamp01(0.5 + 0.5 * (b - a) / k);
  return mix(b, a, h) - k * h * (1.0 - h);
}

}  // namespace shape
