#include "layout/sign_frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/error.h"
#include "geometry/cut_order.h"
#include "geometry/kerf_offset.h"

namespace kerfline {
namespace {

// Chords per full turn of radius r that stray at most tolerance from it.
int chordsPerTurn(double r, double tolerance) {
  if (!(r > tolerance)) return 12;
  const double n = std::numbers::pi / std::acos(1 - tolerance / r);
  return static_cast<int>(std::clamp(std::ceil(n), 12.0, 4096.0));
}

// A frame's chords lie outside its true curve, touching it at their middles, so that the margin
// holds for the path that is cut; a hole's chords lie inside it, so that the hole is never
// larger than asked. This is the radius of the chords' ends for the outside.
double outsideRadius(double r, double chordAngle) { return r / std::cos(chordAngle / 2); }

// A quarter turn of a rounded rectangle's corner from angle a0, about c, outside the arc.
void appendArc(std::vector<Vec2>& out, const Vec2& c, double r, double a0, int chords) {
  const double step = std::numbers::pi / 2 / chords;
  const double outside = outsideRadius(r, step);
  out.push_back({c.x + r * std::cos(a0), c.y + r * std::sin(a0)});
  for (int j = 0; j < chords; ++j) {
    const double a = a0 + step * (j + 0.5);
    out.push_back({c.x + outside * std::cos(a), c.y + outside * std::sin(a)});
  }
  out.push_back({c.x + r * std::cos(a0 + std::numbers::pi / 2), c.y + r * std::sin(a0 + std::numbers::pi / 2)});
}

Contour rectangle(const Extent& e) {
  Contour k;
  k.points = {{e.minX, e.minY}, {e.maxX, e.minY}, {e.maxX, e.maxY}, {e.minX, e.maxY}};
  return k;
}

Contour roundedRectangle(const Extent& e, double r, double tolerance) {
  r = std::min({r, e.width() / 2, e.height() / 2});
  if (!(r > 0)) return rectangle(e);
  const int chords = std::max(3, chordsPerTurn(r, tolerance) / 4);
  Contour k;
  constexpr double q = std::numbers::pi / 2;
  appendArc(k.points, {e.maxX - r, e.minY + r}, r, -q, chords);
  appendArc(k.points, {e.maxX - r, e.maxY - r}, r, 0, chords);
  appendArc(k.points, {e.minX + r, e.maxY - r}, r, q, chords);
  appendArc(k.points, {e.minX + r, e.minY + r}, r, 2 * q, chords);
  return k;
}

// An ellipse's chords inside it (a hole) or outside it (a frame): the chords of a circle
// stretched, which keep their side of the curve.
Contour ellipse(const Vec2& c, double a, double b, bool outside, double tolerance) {
  const int n = chordsPerTurn(std::max(a, b), tolerance);
  const double grow = outside ? outsideRadius(1, 2 * std::numbers::pi / n) : 1;
  Contour k;
  k.points.reserve(n);
  for (int j = 0; j < n; ++j) {
    const double t = 2 * std::numbers::pi * j / n;
    k.points.push_back({c.x + grow * a * std::cos(t), c.y + grow * b * std::sin(t)});
  }
  return k;
}

Extent grown(Extent e, double by) {
  e.minX -= by;
  e.minY -= by;
  e.maxX += by;
  e.maxY += by;
  return e;
}

// The letters welded into one region and grown by offset: its outer rings only, its own
// chords within tolerance of the true offset of the letters' polylines.
std::vector<Contour> outlineOf(const Drawing& text, double offset, double tolerance) {
  Drawing one;
  one.characters.emplace_back();
  for (const PlacedCharacter& c : text.characters)
    for (const Contour& k : c.contours)
      if (k.closed && k.points.size() > 2) one.characters.front().contours.push_back(k);
  if (one.characters.front().contours.empty()) return {};
  orderForCutting(one.characters.front());
  // The round joins and the clean-up of the rings each take half the frame's tolerance.
  offsetForKerf(one, offset, {}, tolerance / 2);
  std::vector<Contour> outer;
  for (const PlacedCharacter& c : one.characters)
    for (const Contour& k : c.contours)
      if (k.depth == 0) outer.push_back(k);
  return outer;
}

void checkSize(double v, const char* what) {
  if (!std::isfinite(v) || v < 0) throw Error(std::string("The ") + what + " must be 0 or more.");
}

}  // namespace

Contour circleRing(const Vec2& centre, double r, double tolerance) {
  return ellipse(centre, r, r, false, tolerance);
}

void addFrameAndHoles(Drawing& drawing, const SignLayout& layout, double tolerance) {
  if (layout.frame == FrameShape::None && layout.holeCount == 0) return;
  checkSize(layout.frameMargin, "frame margin");
  checkSize(layout.frameSize, "frame size");
  const bool boxed = layout.boxWidth && layout.boxHeight;
  Extent around;
  if (boxed) {
    around.add({0, 0});
    around.add({*layout.boxWidth, *layout.boxHeight});
  } else {
    around = drawing.extent();
  }
  if (around.empty()) return;
  const double m = layout.frameMargin;
  const Vec2 centre{(around.minX + around.maxX) / 2, (around.minY + around.maxY) / 2};

  std::vector<Contour> frame;
  // An ellipse frame's centre and half axes (the true curve, which its chords stand outside).
  Vec2 middle = centre;
  double halfA = 0;
  double halfB = 0;
  switch (layout.frame) {
    case FrameShape::None:
      break;
    case FrameShape::Rect:
      frame.push_back(rectangle(grown(around, m)));
      break;
    case FrameShape::Rounded: {
      // A corner of radius r keeps the margin from the extent's corner only when the sides
      // stand at least r - (r - m) / sqrt 2 away.
      const double r = layout.frameSize;
      const double by = std::max(m, r - (r - m) / std::numbers::sqrt2);
      frame.push_back(roundedRectangle(grown(around, by), r, tolerance));
      break;
    }
    case FrameShape::Ellipse: {
      if (layout.arcRadius && !boxed) {
        // Text on a circle gets a round badge about the circle's centre.
        double r = 0;
        for (const PlacedCharacter& c : drawing.characters)
          for (const Contour& ring : c.contours)
            for (const Vec2& p : ring.points) r = std::max(r, std::hypot(p.x, p.y));
        middle = {0, 0};
        halfA = halfB = r + m;
        frame.push_back(ellipse(middle, halfA, halfB, true, tolerance));
        break;
      }
      // The smallest ellipse of the extent's proportions holding every point, then scaled
      // about its centre by 1 + m / (its shorter half axis): a convex shape holding the disc
      // of that radius, scaled so, keeps m from everything inside the first.
      const double hw = std::max(around.width() / 2, 1e-9);
      const double hh = std::max(around.height() / 2, 1e-9);
      double k = 0;
      if (boxed) {
        k = std::numbers::sqrt2;
      } else {
        for (const PlacedCharacter& c : drawing.characters)
          for (const Contour& ring : c.contours)
            for (const Vec2& p : ring.points)
              k = std::max(k, std::hypot((p.x - centre.x) / hw, (p.y - centre.y) / hh));
      }
      const double a = k * hw;
      const double b = k * hh;
      const double scale = 1 + m / std::min(a, b);
      halfA = a * scale;
      halfB = b * scale;
      frame.push_back(ellipse(centre, halfA, halfB, true, tolerance));
      break;
    }
    case FrameShape::Outline:
      if (!(layout.frameSize > 0)) throw Error("The outline frame's offset must be above 0.");
      frame = outlineOf(drawing, layout.frameSize, tolerance);
      break;
  }

  PlacedCharacter added;
  added.line = 0;
  for (const PlacedCharacter& c : drawing.characters) added.line = std::max(added.line, c.line + 1);

  if (layout.holeCount != 0) {
    if (layout.holeCount != 2 && layout.holeCount != 4)
      throw Error("The number of holes must be 2 or 4.");
    if (!std::isfinite(layout.holeDiameter) || !(layout.holeDiameter > 0))
      throw Error("The hole diameter must be above 0.");
    const double inset = layout.holeInset.value_or(layout.holeDiameter);
    checkSize(inset, "hole inset");
    Extent outer;
    for (const Contour& k : frame)
      for (const Vec2& p : k.points) outer.add(p);
    if (outer.empty()) outer = grown(around, m);
    const double r = layout.holeDiameter / 2;
    std::vector<Vec2> centres;
    if (layout.frame == FrameShape::Ellipse) {
      const double a = halfA - inset;
      const double b = halfB - inset;
      if (layout.holeCount == 2) {
        centres = {{middle.x - a, middle.y}, {middle.x + a, middle.y}};
      } else {
        const double d = std::numbers::sqrt2 / 2;
        for (const double sx : {-1.0, 1.0})
          for (const double sy : {-1.0, 1.0})
            centres.push_back({middle.x + sx * a * d, middle.y + sy * b * d});
      }
    } else {
      const double midY = (outer.minY + outer.maxY) / 2;
      if (layout.holeCount == 2) {
        centres = {{outer.minX + inset, midY}, {outer.maxX - inset, midY}};
      } else {
        centres = {{outer.minX + inset, outer.minY + inset}, {outer.maxX - inset, outer.minY + inset},
                   {outer.maxX - inset, outer.maxY - inset}, {outer.minX + inset, outer.maxY - inset}};
      }
    }
    for (const Vec2& c : centres) added.contours.push_back(circleRing(c, r, tolerance));
  }
  for (Contour& k : frame) added.contours.push_back(std::move(k));
  if (!added.contours.empty()) drawing.characters.push_back(std::move(added));
}

}  // namespace kerfline
