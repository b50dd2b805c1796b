#pragma once
#include <cstdint>
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

 private:
  std::vector<TStroke> strokes_;
};

}  // namespace kerfline
