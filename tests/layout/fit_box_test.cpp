#include "layout/fit_box.h"

#include <gtest/gtest.h>

#include <utility>

#include "letter_boxes.h"

namespace kerfline {
namespace {

// The extent of one letter fitted into a box of width x height with a margin of 5 at anchor.
Extent fitted(PlacedCharacter letter, double width, double height, BoxAnchor anchor) {
  Drawing d;
  d.characters.push_back(std::move(letter));
  SignLayout layout;
  layout.boxWidth = width;
  layout.boxHeight = height;
  layout.margin = 5;
  layout.anchor = anchor;
  fitIntoBox(d, layout);
  return d.extent();
}

// A text 40 wide and 10 high, from (-3, -2), into a 100 x 60 box with a margin of 5: the room
// is 90 x 50, so it grows by 90 / 40 = 2.25 to 90 x 22.5, touching left and right; the anchor
// says where the 27.5 to spare in height goes.
TEST(fit_box_test, the_text_fills_the_room_one_way_and_sits_at_its_anchor_the_other) {
  struct Case {
    BoxAnchor anchor;
    double minY, maxY;
  };
  for (const Case& k : {Case{BoxAnchor::TopLeft, 32.5, 55}, Case{BoxAnchor::Top, 32.5, 55},
                        Case{BoxAnchor::Center, 18.75, 41.25}, Case{BoxAnchor::Left, 18.75, 41.25},
                        Case{BoxAnchor::BottomRight, 5, 27.5}, Case{BoxAnchor::Bottom, 5, 27.5}}) {
    SCOPED_TRACE(int(k.anchor));
    const Extent e = fitted(test::letterBox(0, -3, 37, -2, 10), 100, 60, k.anchor);
    EXPECT_NEAR(e.minX, 5, 1e-12);
    EXPECT_NEAR(e.maxX, 95, 1e-12);
    EXPECT_NEAR(e.minY, k.minY, 1e-12);
    EXPECT_NEAR(e.maxY, k.maxY, 1e-12);
  }
}

TEST(fit_box_test, a_tall_text_touches_top_and_bottom_and_sits_left_or_right) {
  struct Case {
    BoxAnchor anchor;
    double minX;
  };
  // 10 wide, 40 high into 50 x 50 less 5: grows by 40 / 40 = 1 ... by 1, to 10 x 40.
  for (const Case& k : {Case{BoxAnchor::TopLeft, 5}, Case{BoxAnchor::Center, 20},
                        Case{BoxAnchor::Right, 35}}) {
    const Extent e = fitted(test::letterBox(0, 0, 10, 0, 40), 50, 50, k.anchor);
    EXPECT_NEAR(e.minY, 5, 1e-12);
    EXPECT_NEAR(e.maxY, 45, 1e-12);
    EXPECT_NEAR(e.minX, k.minX, 1e-12);
    EXPECT_NEAR(e.maxX, k.minX + 10, 1e-12);
  }
}

TEST(fit_box_test, stretch_fills_the_room_both_ways) {
  Drawing d;
  d.characters.push_back(test::letterBox(0, -3, 37, -2, 10));
  SignLayout layout;
  layout.boxWidth = 100;
  layout.boxHeight = 60;
  layout.margin = 5;
  layout.stretch = true;
  fitIntoBox(d, layout);
  EXPECT_EQ(d.extent(), (Extent{5, 5, 95, 55}));
}

}  // namespace
}  // namespace kerfline
