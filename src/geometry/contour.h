#pragma once
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kerfline {

/// A point in drawing units (Y up, origin at the first line's baseline start).
struct Vec2 {
  double x = 0;
  double y = 0;

  friend bool operator==(const Vec2&, const Vec2&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Vec2& p) {
    return os << '(' << p.x << ", " << p.y << ')';
  }
};

/// Unit tangents of a polyline's underlying curve at each point: in arriving, out leaving;
/// (0, 0) where unknown. One entry per polyline point.
struct PolylineTangents {
  std::vector<Vec2> in;   ///< direction the curve arrives at each point
  std::vector<Vec2> out;  ///< direction the curve leaves each point
  friend bool operator==(const PolylineTangents&, const PolylineTangents&) = default;
};

/// One path a tool follows: a closed ring (the last point joins the first and is not
/// repeated) of an outline face, or an open path of a single-line face.
struct Contour {
  std::vector<Vec2> points;  ///< in cutting direction once ordered
  bool closed = true;        ///< false: an open path, cut from its first to its last point
  int depth = 0;  ///< closed rings: 0 an outline, 1 a hole in it, 2 an island in that hole, ...
  /// The true outline's tangents at each point while the points are a glyph's flattening,
  /// moved and turned with them (shared by every copy of the glyph); none once anything
  /// rebuilds the points. A hint for the arc fitter, not part of the path: == ignores it.
  std::shared_ptr<const PolylineTangents> tangents = nullptr;
  /// Tabs a router cuts over at a height instead of leaving a gap: each runs along the path
  /// from its first point to its second, both vertices of points (found again by value
  /// wherever the path is entered).
  std::vector<std::pair<Vec2, Vec2>> tabs = {};

  /// Even depth: material inside is kept (a part); odd depth: a hole.
  bool isHole() const { return closed && depth % 2 == 1; }
  friend bool operator==(const Contour& a, const Contour& b) {
    return a.points == b.points && a.closed == b.closed && a.depth == b.depth;
  }
};

/// Where a character's advance runs along its line's baseline, as the text is set straight.
struct CharacterAdvance {
  double start = 0;     ///< X where the advance begins, drawing units
  double end = 0;       ///< X where it ends
  double baseline = 0;  ///< Y of the line's baseline

  friend bool operator==(const CharacterAdvance&, const CharacterAdvance&) = default;
};

/// One character of the text at its place on the page.
struct PlacedCharacter {
  std::int32_t position = 0;        ///< 1-based text position (line breaks count two)
  char32_t character = 0;           ///< its code point
  std::int32_t line = 0;            ///< 0-based line of text
  std::vector<Contour> contours;    ///< in cut order once ordered
  /// Set by the placements that bend or turn text (text on a circle or a path); else none.
  std::optional<CharacterAdvance> advance = std::nullopt;

  friend bool operator==(const PlacedCharacter&, const PlacedCharacter&) = default;
};

/// Axis-aligned extent; empty while minX > maxX.
struct Extent {
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();

  bool empty() const { return minX > maxX; }
  double width() const { return empty() ? 0 : maxX - minX; }
  double height() const { return empty() ? 0 : maxY - minY; }
  void add(const Vec2& p) {
    if (p.x < minX) minX = p.x;
    if (p.x > maxX) maxX = p.x;
    if (p.y < minY) minY = p.y;
    if (p.y > maxY) maxY = p.y;
  }
  friend bool operator==(const Extent&, const Extent&) = default;
};

/// The whole job: every character's paths in drawing units, in file order.
struct Drawing {
  std::vector<PlacedCharacter> characters;  ///< line by line, character by character
  std::string layer = "0";                   ///< the layer every path is written on
  /// Set: the sheet of material the drawing lies on, which an SVG file takes as its page (so
  /// that it shows at the sheet's real size, the parts where they are cut); else the extent.
  std::optional<Extent> page;
  /// Paths fitted with arcs (written last, after every step that works on polylines): per
  /// path in file order, character by character, the bulge of the piece leaving each point
  /// (geometry/arc_path.h); empty when every path is lines.
  std::vector<std::vector<double>> bulges;

  /// The bulges of path number path in file order, or nullptr when it is lines only.
  const std::vector<double>* bulgesOf(std::size_t path) const {
    return path < bulges.size() ? &bulges[path] : nullptr;
  }

  /// The extent of every point of every path, and of every arc where paths have bulges.
  Extent extent() const;

  /// The bulges of one character's paths, one list per contour, when its first path is path
  /// number first in file order and it has contours paths; empty when all are lines.
  std::span<const std::vector<double>> bulgesOfCharacter(std::size_t first,
                                                         std::size_t contours) const {
    if (first + contours > bulges.size()) return {};
    return std::span(bulges).subspan(first, contours);
  }
};

/// Called by long work on a drawing between one character and the next; it may throw to
/// abandon the work (a layout nobody waits for any more), leaving the drawing valid but
/// unspecified. An empty one is never called.
using Checkpoint = std::function<void()>;

}  // namespace kerfline
