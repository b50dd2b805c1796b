#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "vectorizer/stroke.h"

namespace kerfline {

/// The strokes of one converted character, in the order the converter appended them.
class TStrokeCollection {
 public:
  /// Number of strokes held.
  std::int32_t Count() const { return static_cast<std::int32_t>(strokes_.size()); }
  /// Appends one stroke at the end.
  void Add(const TStroke& stroke) { strokes_.push_back(stroke); }
  /// Copies stroke Index into dest; an index outside 0..Count()-1 leaves dest untouched.
  void GetStroke(std::int32_t Index, TStroke& dest) const;
  /// Bounding rectangle of all end points; (0,0,0,0) when empty.
  TRect GetBounds() const;
  /// Removes every stroke.
  void ClearStrokes() { strokes_.clear(); }
  /// Read-only view for loops that need no copy-out.
  const std::vector<TStroke>& strokes() const { return strokes_; }

  /// True when every contour is an open path of a single-line face: it ends where its last
  /// stroke ends instead of returning to its start, and a zero-length stroke is a dot.
  bool openPaths() const { return openPaths_; }
  /// Marks the contours as open paths (or as closed outlines, the default).
  void setOpenPaths(bool open) { openPaths_ = open; }
  /// The glyph's advance in outline units where its face states one (single-line faces).
  std::optional<double> advance() const { return advance_; }
  /// Sets the advance the face states for the glyph.
  void setAdvance(double units) { advance_ = units; }

 private:
  std::vector<TStroke> strokes_;
  bool openPaths_ = false;
  std::optional<double> advance_;
};

}  // namespace kerfline
