#include "vectorizer/stroke_collection.h"

#include <gtest/gtest.h>

#include <vector>

namespace kerfline {
namespace {

struct BoundsCase {
  const char* what;
  std::vector<TStroke> strokes;
  TRect expected;
};

TEST(StrokeCollectionTest, BoundsCoverEveryEndPoint) {
  const BoundsCase cases[] = {
      {"empty", {}, {0, 0, 0, 0}},
      {"forward", {{0, 3, -5, 10, 7}}, {3, -5, 10, 7}},
      {"backward", {{0, 10, 7, 3, -5}}, {3, -5, 10, 7}},
      {"left of origin", {{0, -40, 5, -12, 30}, {0, -12, 30, -40, 5}}, {-40, 5, -12, 30}},
      {"below baseline", {{0, 5, -40, 30, -12}, {1, 30, -12, 5, -40}}, {5, -40, 30, -12}},
      {"zero length", {{0, 4, 9, 4, 9}}, {4, 9, 4, 9}},
      {"zero length widens", {{0, 0, 0, 10, 10}, {0, 10, 10, 10, 10}, {1, -3, 12, -3, 12}},
       {-3, 0, 10, 12}},
      {"extremes", {{0, -2147483647, -2147483647, 2147483647, 2147483647}},
       {-2147483647, -2147483647, 2147483647, 2147483647}},
  };
  for (const BoundsCase& c : cases) {
    TStrokeCollection strokes;
    for (const TStroke& s : c.strokes) strokes.Add(s);
    EXPECT_EQ(strokes.GetBounds(), c.expected) << c.what;
    EXPECT_EQ(strokes.Count(), static_cast<std::int32_t>(c.strokes.size())) << c.what;
  }
}

TEST(StrokeCollectionTest, GetStrokeCopiesOnlyInRange) {
  TStrokeCollection strokes;
  strokes.Add({0, 1, 2, 3, 4});
  strokes.Add({1, 5, 6, 7, 8});
  const TStroke sentinel{9, 99, 999, 9999, 99999};
  for (std::int32_t index : {-1, 2, 3, -2147483647 - 1, 2147483647}) {
    TStroke dest = sentinel;
    strokes.GetStroke(index, dest);
    EXPECT_EQ(dest, sentinel) << "index " << index;
  }
  TStroke dest = sentinel;
  strokes.GetStroke(1, dest);
  EXPECT_EQ(dest, (TStroke{1, 5, 6, 7, 8}));
  strokes.GetStroke(0, dest);
  EXPECT_EQ(dest, (TStroke{0, 1, 2, 3, 4}));
}

TEST(StrokeCollectionTest, ClearStrokesEmpties) {
  TStrokeCollection strokes;
  strokes.Add({0, 3, -5, 10, 7});
  strokes.Add({0, 10, 7, 3, -5});
  strokes.ClearStrokes();
  EXPECT_EQ(strokes.Count(), 0);
  EXPECT_EQ(strokes.GetBounds(), (TRect{0, 0, 0, 0}));
  TStroke dest{1, 1, 1, 1, 1};
  strokes.GetStroke(0, dest);
  EXPECT_EQ(dest, (TStroke{1, 1, 1, 1, 1}));
}

}  // namespace
}  // namespace kerfline
