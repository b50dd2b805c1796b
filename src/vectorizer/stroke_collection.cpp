#include "vectorizer/stroke_collection.h"

#include <algorithm>

namespace kerfline {

void TStrokeCollection::GetStroke(std::int32_t Index, TStroke& dest) const {
  if (Index >= 0 && Index < Count()) dest = strokes_[static_cast<std::size_t>(Index)];
}

TRect TStrokeCollection::GetBounds() const {
  if (strokes_.empty()) return {};
  // Start values are +-2147483647 (not INT32_MIN); the converter never emits INT32_MIN, so
  // every stroke still moves all four sides.
  TRect r{2147483647, 2147483647, -2147483647, -2147483647};
  for (const TStroke& s : strokes_) {
    r.Left = std::min(r.Left, s.X1);
    r.Right = std::max(r.Right, s.X1);
    r.Left = std::min(r.Left, s.X2);
    r.Right = std::max(r.Right, s.X2);
    r.Top = std::min(r.Top, s.Y1);
    r.Bottom = std::max(r.Bottom, s.Y1);
    r.Top = std::min(r.Top, s.Y2);
    r.Bottom = std::max(r.Bottom, s.Y2);
  }
  return r;
}

}  // namespace kerfline
