#pragma once
// Turns outline records into straight strokes: curves flattened, points rounded, contours closed.
#include <cstdint>

#include "vectorizer/outline_records.h"
#include "vectorizer/stroke_collection.h"

namespace kerfline {

/// Appends the strokes of every polygon of outline to dest; polygon i gives contour number i.
/// precision is the number of strokes per curve piece (callers keep it within 1..100).
void walkOutline(const Outline& outline, int precision, TStrokeCollection& dest);

/// Rounds an outline coordinate to the nearest whole unit, halves to the even neighbour.
std::int32_t roundOutlineUnit(double v);

}  // namespace kerfline
