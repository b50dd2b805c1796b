#include "vectorizer/glyph_outline.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <string>
#include <utility>
#include <vector>

#include "vectorizer/UTTF2Vct.h"
#include "vectorizer/freetype_error.h"

namespace kerfline {

namespace {

OutlinePoint midpoint(const OutlinePoint& a, const OutlinePoint& b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

PointKind kindOfTag(unsigned char tag) {
  // FreeType's own decomposer reads tag value 3 as cubic as well.
  switch (FT_CURVE_TAG(tag)) {
    case FT_CURVE_TAG_ON:
      return PointKind::On;
    case FT_CURVE_TAG_CONIC:
      return PointKind::Conic;
    default:
      return PointKind::Cubic;
  }
}

}  // namespace

void appendContour(std::span<const ContourPoint> pts, Outline& dest) {
  OutlinePolygon& poly = dest.emplace_back();
  const std::size_t n = pts.size();
  if (n == 0) return;
  std::size_t i = 0;
  std::size_t end = n;
  if (pts[0].kind == PointKind::On) {
    poly.start = pts[0].at;
    i = 1;
  } else if (pts[n - 1].kind == PointKind::On) {
    poly.start = pts[n - 1].at;
    end = n - 1;
  } else {
    poly.start = midpoint(pts[n - 1].at, pts[0].at);
  }
  if (n == 1) return;

  // The point that ends an off-curve run: the next on-curve point (consumed), the start point
  // when the run reaches the contour's end, or, where conic and cubic points meet (no real font
  // does this), the midpoint between them, so a malformed outline still stays continuous.
  auto runEnd = [&](const OutlinePoint& lastOff) {
    if (i == end) return poly.start;
    if (pts[i].kind == PointKind::On) return pts[i++].at;
    return midpoint(lastOff, pts[i].at);
  };

  while (i < end) {
    const PointKind kind = pts[i].kind;
    if (kind == PointKind::On) {
      LineRecord rec;
      while (i < end && pts[i].kind == PointKind::On) rec.points.push_back(pts[i++].at);
      poly.records.emplace_back(std::move(rec));
    } else if (kind == PointKind::Conic) {
      QuadraticRecord rec;
      while (i < end && pts[i].kind == PointKind::Conic) rec.points.push_back(pts[i++].at);
      rec.points.push_back(runEnd(rec.points.back()));
      poly.records.emplace_back(std::move(rec));
    } else {
      const std::size_t first = i;
      while (i < end && pts[i].kind == PointKind::Cubic) ++i;
      const std::size_t count = i - first;
      const OutlinePoint e = runEnd(pts[i - 1].at);
      // Controls come in pairs; between two pairs the on-curve point is implied midway, as
      // FreeType reads such runs. A lone last control gives a piece with both controls equal.
      CubicRecord rec;
      for (std::size_t k = 0; k < count; k += 2) {
        const OutlinePoint& c1 = pts[first + k].at;
        const OutlinePoint& c2 = k + 1 < count ? pts[first + k + 1].at : c1;
        const OutlinePoint pieceEnd = k + 2 < count ? midpoint(c2, pts[first + k + 2].at) : e;
        rec.points.insert(rec.points.end(), {c1, c2, pieceEnd});
      }
      poly.records.emplace_back(std::move(rec));
    }
  }
}

bool loadGlyphOutline(FT_FaceRec_* face, unsigned glyphIndex, const Synthesis& synthesis,
                      Outline& dest, std::string* failure) {
  dest.clear();
  auto fail = [failure](std::string why) {
    if (failure != nullptr) *failure = std::move(why);
    return false;
  };
  if (face == nullptr || face->units_per_EM == 0) return false;
  // FreeType bounds a composite's nesting itself and answers a loop or a too-deep composite
  // with an error, as it does a simple glyph of 4,095 contours or more.
  if (const FT_Error err =
          FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
    return fail(freeTypeErrorText(err));
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  FT_Outline& outline = slot->outline;
  if (outline.n_contours <= 0 || outline.n_points <= 0) return false;
  // Components of a composite add up beyond what one simple glyph may hold.
  if (outline.n_contours > kMaxGlyphContours) {
    return fail(std::to_string(outline.n_contours) + " contours, more than the " +
                std::to_string(kMaxGlyphContours) + " a glyph may have");
  }
  if (outline.n_points > kMaxGlyphPoints) {
    return fail(std::to_string(outline.n_points) + " points, more than the " +
                std::to_string(kMaxGlyphPoints) + " a glyph may have");
  }

  // Font units carry no fraction, so emboldening works on 1/64 font units to keep the shifted
  // points from snapping to whole font units. The strength is FreeType's: em / 24, the same
  // share of the em at every size.
  double unitDivisor = 1.0;
  if (synthesis.embolden) {
    for (int k = 0; k < outline.n_points; ++k) {
      outline.points[k].x *= 64;
      outline.points[k].y *= 64;
    }
    const FT_Pos strength = static_cast<FT_Pos>(face->units_per_EM) * 64 / 24;
    FT_Outline_EmboldenXY(&outline, strength, strength);
    unitDivisor = 64.0;
  }
  const double shear = synthesis.oblique ? kObliqueShear : 0.0;
  const double unitsPerEm = face->units_per_EM;

  // Scratch for one contour at a time, emptied before each use: kept per thread so that
  // converting a text does not allocate for every contour, and never shared between threads.
  static thread_local std::vector<ContourPoint> contour;
  int first = 0;
  for (int c = 0; c < outline.n_contours; ++c) {
    const int last = outline.contours[c];
    // FreeType checks contour ends when it loads a glyph; stay safe if one slipped through.
    if (last < first || last >= outline.n_points) break;
    contour.clear();
    for (int k = first; k <= last; ++k) {
      const double fx = static_cast<double>(outline.points[k].x) / unitDivisor;
      const double fy = static_cast<double>(outline.points[k].y) / unitDivisor;
      const double x = synthesis.oblique ? fx + fy * shear : fx;
      contour.push_back({{(x * kOutlineEm) / unitsPerEm, (fy * kOutlineEm) / unitsPerEm},
                         kindOfTag(static_cast<unsigned char>(outline.tags[k]))});
    }
    appendContour(contour, dest);
    first = last + 1;
  }
  return !dest.empty();
}

}  // namespace kerfline
