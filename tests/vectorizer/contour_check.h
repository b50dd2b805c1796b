#pragma once
// The invariants every converted stroke collection must meet, checked once for all tests.
#include <gtest/gtest.h>

#include "vectorizer/stroke_collection.h"

namespace kerfline::test {

/// Every stroke starts where the previous one of its contour ended, every contour ends where
/// it started, and contour numbers never decrease.
::testing::AssertionResult contoursClosed(const TStrokeCollection& strokes);

}  // namespace kerfline::test
