// Procedural goat emblem: a fiery roundel with a gold rim, and in front of it a goat's head
// with ridged curving horns, drooping ears, glowing slit eyes and a pointed beard.
// Every pixel averages a grid of sub-samples so the edges come out smooth.
#include "picture.h"

#include <cmath>

#include "shape_math.h"

namespace {

using shape::Vec2;

constexpr int kSupersample = 4;          // 4x4 sub-samples per pixel give smooth edges
constexpr double kOutline = 0.014;       // dark contour width in picture units (~2 pixels)
constexpr double kRoundelRadius = 0.90;  // fiery disc, leaves room for the gold rim
constexpr double kRimOuter = 0.975;      // outer edge of the gold rim, just inside the square
constexpr double kGoatScale = 0.86;      // goat drawing units to picture units
constexpr Vec2 kGoatOffset{0.0, 0.06};   // lifts the head so the beard fits the disc
constexpr int kHornSegments = 64;        // polyline steps; finer than a pixel along the horn
constexpr double kHornRidges = 15.0;     // growth rings along each horn

struct Rgb {
  double r;
  double g;
  double b;
};

Rgb mix(Rgb a, Rgb b, double t) {
  return {shape::mix(a.r, b.r, t), shape::mix(a.g, b.g, t), shape::mix(a.b, b.b, t)};
}
Rgb scale(Rgb a, double s) { return {a.r * s, a.g * s, a.b * s}; }
Rgb add(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }

constexpr Rgb kInk{0.06, 0.02, 0.02};
constexpr Rgb kFurDark{0.13, 0.07, 0.05};
constexpr Rgb kFurLight{0.45, 0.29, 0.19};
constexpr Rgb kBeardDark{0.22, 0.15, 0.12};
constexpr Rgb kBeardLight{0.66, 0.56, 0.46};
constexpr Rgb kRimLight{1.00, 0.52, 0.12};
constexpr Rgb kBone{0.95, 0.88, 0.70};
constexpr Rgb kHornTip{0.28, 0.18, 0.12};
constexpr Rgb kGold{0.92, 0.68, 0.25};

// Paints `fill` where the shape distance `d` is inside, with a dark contour at its edge.
void paint(Rgb& dst, double d, Rgb fill) {
  if (d >= 0.0) return;
  dst = d > -kOutline ? kInk : fill;
}

// Gradient through a list of colour stops spread evenly over t = 0..1.
Rgb gradient(const Rgb* stops, int count, double t) {
  const double x = shape::clamp01(t) * (count - 1);
  const int i = std::min(static_cast<int>(x), count - 2);
  return mix(stops[i], stops[i + 1], x - i);
}

// Background: dark surround, gold rim and a disc of flame-coloured rays.
Rgb background(Vec2 p) {
  const double r = shape::length(p);
  const double angle = std::atan2(p.y, p.x);
  if (r > kRimOuter) {
    const double v = 0.10 * (1.0 - shape::smoothstep(kRimOuter, 1.4, r));
    return {0.04 + v, 0.015 + v * 0.3, 0.015};
  }
  if (r > kRoundelRadius) {
    // Rounded metal band lit from the upper left.
    const double mid = 0.5 * (kRoundelRadius + kRimOuter);
    const double across = (r - mid) / (0.5 * (kRimOuter - kRoundelRadius));
    const double bevel = std::sqrt(std::max(0.0, 1.0 - across * across));
    const double light = 0.55 + 0.45 * std::cos(angle - 0.75 * shape::kPi);
    Rgb c = scale(kGold, 0.35 + 0.65 * bevel * (0.5 + 0.5 * light));
    if (std::abs(across) > 0.78) c = kInk;
    return c;
  }
  static const Rgb kFire[] = {
      {1.00, 0.92, 0.55}, {1.00, 0.62, 0.14}, {0.86, 0.22, 0.04}, {0.40, 0.04, 0.02}};
  const Vec2 centre{0.0, 0.12};
  const double t = shape::length(p - centre) / kRoundelRadius;
  const double wave = angle + 0.12 * std::sin(r * 14.0);
  const double rays = 0.5 + 0.5 * std::cos(wave * 20.0);
  Rgb c = gradient(kFire, 4, t);
  return scale(c, 1.0 - 0.18 * rays * shape::smoothstep(0.15, 0.5, t));
}

// One horn as a tapering stroke along a cubic curve, kept as a polyline.
class Horn {
 public:
  Horn(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, double base_width, double tip_width)
      : base_width_(base_width), tip_width_(tip_width) {
    for (int i = 0; i <= kHornSegments; ++i) {
      const double t = static_cast<double>(i) / kHornSegments;
      const double u = 1.0 - t;
      points_[i] =
          p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) + p3 * (t * t * t);
    }
  }

  double width(double t) const { return shape::mix(base_width_, tip_width_, std::pow(t, 0.85)); }

  // Distance to the horn edge; also where along (t) and across (side, -1..1) the point lies.
  double distance(Vec2 p, double* t_out, double* side_out) const {
    double best = 1e9;
    double best_t = 0.0;
    double best_side = 0.0;
    for (int i = 0; i < kHornSegments; ++i) {
      const Vec2 a = points_[i];
      const Vec2 ba = points_[i + 1] - a;
      const Vec2 pa = p - a;
      const double h = shape::clamp01(shape::dot(pa, ba) / shape::dot(ba, ba));
      const double dist = shape::length(pa - ba * h);
      if (dist < best) {
        best = dist;
        best_t = (i + h) / kHornSegments;
        best_side = shape::cross(ba, pa) < 0.0 ? -1.0 : 1.0;
      }
    }
    const double w = width(best_t);
    *t_out = best_t;
    *side_out = best_side * std::min(1.0, best / w);
    return best - w;
  }

 private:
  double base_width_;
  double tip_width_;
  Vec2 points_[kHornSegments + 1];
};

const Horn& horn() {
  static const Horn kHorn({0.10, 0.31}, {0.20, 0.72}, {0.55, 0.88}, {0.74, 0.70}, 0.100, 0.012);
  return kHorn;
}

// Ivory horn, darker toward the tip, shaded like a cylinder and cut by growth rings.
Rgb horn_colour(double t, double side) {
  const double facing = std::sqrt(std::max(0.0, 1.0 - side * side));
  const double u = t * kHornRidges - 0.35 * (1.0 - facing);
  const double frac = u - std::floor(u);
  const double ridge =
      shape::smoothstep(0.0, 0.25, frac) * (1.0 - shape::smoothstep(0.75, 1.0, frac));
  const double ridge_strength = 0.45 * (1.0 - shape::smoothstep(0.75, 0.97, t));
  Rgb c = mix(kBone, kHornTip, shape::smoothstep(0.45, 1.0, t));
  double light = 0.30 + 0.70 * facing;
  light *= 1.0 - ridge_strength * (1.0 - ridge);
  const double shine = std::pow(std::max(0.0, 1.0 - std::abs(side + 0.35) * 2.5), 3.0);
  return add(scale(c, light), scale(Rgb{1.0, 0.95, 0.85}, 0.35 * shine));
}

double head_distance(Vec2 q) {
  q.x = std::abs(q.x);
  const double skull = shape::ellipse(q - Vec2{0.0, 0.20}, {0.285, 0.22});
  const double face = shape::uneven_capsule(q - Vec2{0.0, -0.44}, 0.105, 0.245, 0.58);
  const double muzzle = shape::ellipse(q - Vec2{0.0, -0.47}, {0.125, 0.10});
  return shape::smooth_union(shape::smooth_union(skull, face, 0.08), muzzle, 0.05);
}

// Fur lit from the front, with an orange rim where the fire behind shines past the edge.
Rgb fur(double d, double extra_light) {
  const double depth = shape::clamp01(-d / 0.14);
  Rgb c = mix(kFurDark, kFurLight, shape::clamp01(0.25 + 0.55 * std::sqrt(depth) + extra_light));
  const double rim = 1.0 - shape::smoothstep(0.0, 0.045, -d);
  return mix(c, kRimLight, 0.75 * rim);
}

double ear_distance(Vec2 q, double* inner) {
  const Vec2 e = shape::rotate(q - Vec2{0.34, 0.13}, 0.38);
  *inner = shape::ellipse(e - Vec2{0.015, 0.008}, {0.135, 0.034});
  return shape::ellipse(e, {0.19, 0.068});
}

double beard_distance(Vec2 q, double* across) {
  constexpr double kTop = -0.46;
  constexpr double kTip = -1.02;
  const double t = shape::clamp01((kTop - q.y) / (kTop - kTip));
  const double half_width =
      0.15 * std::pow(1.0 - t, 0.8) + 0.004 + 0.010 * std::sin(q.y * 45.0) * (1.0 - t);
  *across = q.x / half_width;
  return std::max(std::abs(q.x) - half_width, std::max(kTip - q.y, q.y - kTop));
}

Rgb beard_colour(double across, double y) {
  const double strands = 0.5 + 0.5 * std::cos(across * shape::kPi * 3.5 + y * 6.0);
  const double edge = std::abs(across);
  Rgb c = mix(kBeardDark, kBeardLight, 0.25 + 0.75 * strands * (1.0 - 0.6 * edge));
  return mix(c, kRimLight, 0.7 * shape::smoothstep(0.7, 1.0, edge));
}

// Eye: slanted almond with a glowing iris and a goat's horizontal slit pupil.
// Returns true and sets `out` when q is inside the eye; adds glow to nearby fur via `glow`.
bool eye(Vec2 q, Rgb* out, double* glow) {
  const Vec2 e = shape::rotate(q - Vec2{0.118, 0.030}, -0.42);
  const double lid = std::max(shape::circle(e - Vec2{0.0, -0.080}, 0.120),
                              shape::circle(e - Vec2{0.0, 0.080}, 0.120));
  *glow = std::exp(-std::max(0.0, lid) / 0.045);
  if (lid >= 0.0) return false;
  if (lid > -kOutline / kGoatScale) {
    *out = kInk;
    return true;
  }
  const double r = shape::length(e) / 0.085;
  Rgb c = mix(Rgb{1.0, 0.95, 0.45}, Rgb{0.95, 0.42, 0.05}, shape::clamp01(r));
  if (shape::ellipse(e, {0.042, 0.013}) < 0.0) c = kInk;
  if (shape::circle(e - Vec2{-0.026, 0.012}, 0.0075) < 0.0) c = {1.0, 1.0, 0.95};
  *out = c;
  return true;
}

// Colour of the head and its features at goat coordinates q (head distance d < 0).
Rgb head_colour(Vec2 q, double d) {
  const Vec2 m{std::abs(q.x), q.y};
  // Lighter ridge down the nose and a darker dip under the brows.
  const double bridge = std::exp(-std::pow(m.x / 0.05, 2.0)) * shape::smoothstep(0.15, -0.05, q.y) *
                        shape::smoothstep(-0.55, -0.35, q.y);
  const double brow = shape::capsule(m, {0.035, 0.085}, {0.215, 0.125}, 0.020);
  const double brow_light = std::exp(-std::pow((brow - 0.03) / 0.015, 2.0));
  Rgb c = fur(d, 0.35 * bridge + 0.30 * brow_light);
  if (brow < 0.0) c = mix(kFurDark, kInk, 0.4);

  double glow = 0.0;
  Rgb eye_colour{};
  if (eye(m, &eye_colour, &glow)) return eye_colour;
  c = add(c, scale(Rgb{0.9, 0.35, 0.05}, 0.85 * glow));

  const Vec2 nostril = shape::rotate(m - Vec2{0.048, -0.50}, 0.6);
  if (shape::ellipse(nostril, {0.030, 0.013}) < 0.0) c = kInk;
  if (shape::capsule(m, {0.0, -0.555}, {0.055, -0.540}, 0.006) < 0.0) c = kInk;
  return c;
}

// Full picture colour at p (picture units, -1..1, y up).
Rgb sample(Vec2 p) {
  Rgb c = background(p);
  const Vec2 q = (p - kGoatOffset) * (1.0 / kGoatScale);
  const Vec2 m{std::abs(q.x), q.y};

  double t = 0.0;
  double side = 0.0;
  const double horn_d = horn().distance(m, &t, &side);
  paint(c, horn_d * kGoatScale, horn_colour(t, side));

  double inner = 0.0;
  const double ear_d = ear_distance(m, &inner);
  if (ear_d < 0.0) {
    const Rgb inner_colour =
        mix(Rgb{0.55, 0.16, 0.12}, Rgb{0.25, 0.06, 0.05}, shape::clamp01(1.0 + inner / 0.03));
    paint(c, ear_d * kGoatScale, inner < 0.0 ? inner_colour : fur(ear_d, 0.0));
  }

  double across = 0.0;
  const double beard_d = beard_distance(q, &across);
  if (beard_d < 0.0) paint(c, beard_d * kGoatScale, beard_colour(across, q.y));

  const double head_d = head_distance(q);
  if (head_d < 0.0) paint(c, head_d * kGoatScale, head_colour(q, head_d));
  return c;
}

std::uint8_t to_byte(double v) {
  return static_cast<std::uint8_t>(std::lround(shape::clamp01(v) * 255.0));
}

}  // namespace

std::vector<std::uint8_t> draw_goat_emblem(int size) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size) * size * 4);
  const int n = kSupersample;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Rgb sum{0.0, 0.0, 0.0};
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          const double px = (x + (sx + 0.5) / n) / size * 2.0 - 1.0;
          const double py = 1.0 - (y + (sy + 0.5) / n) / size * 2.0;
          sum = add(sum, sample({px, py}));
        }
      }
      const Rgb avg = scale(sum, 1.0 / (n * n));
      std::uint8_t* out = &pixels[(static_cast<std::size_t>(y) * size + x) * 4];
      out[0] = to_byte(avg.r);
      out[1] = to_byte(avg.g);
      out[2] = to_byte(avg.b);
      out[3] = 255;
    }
  }
  return pixels;
}
