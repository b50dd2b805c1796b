// The editor's own clipboard format: what it writes it reads back whole, anything else it refuses.
#include "windowlogic/rich_edit_clip_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "common/font_description.h"
#include "richtext/styled_text.h"

namespace kerfline {
namespace {

TFontDescription font(std::string name, int size) {
  TFontDescription f;
  f.Name = std::move(name);
  f.Size = size;
  return f;
}

TEST(StyledClipCodecTest, RoundTripAndRejection) {
  StyledText x;
  TFontDescription f = font("Ünïcode Face", 14);
  f.Color = 0xFFFFFF;
  f.CharSet = charset::Oem;
  x.append(U"a\r\n\U0010FFFF", f);
  x.append(U"b", font("Other", 3));
  const std::string bytes = encodeStyledClip(x);
  const auto y = decodeStyledClip(bytes);
  ASSERT_TRUE(y);
  EXPECT_EQ(y->text(), x.text());
  EXPECT_EQ(y->runs(), x.runs());
  // Every truncation, and anything not ours, is refused rather than half read.
  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_FALSE(decodeStyledClip(std::string_view(bytes).substr(0, n))) << n;
  EXPECT_FALSE(decodeStyledClip(bytes + "x"));
  std::string huge = bytes;
  huge[9] = '\xFF';  // first run's character count
  huge[10] = '\xFF';
  EXPECT_FALSE(decodeStyledClip(huge));
  // Sizes below 1 point (0, or beyond 2^31 read as negative) would collapse or mirror the
  // pasted characters in the drawing.
  for (int size : {0, -1, -2147483647 - 1}) {
    StyledText z;
    z.append(U"z", font("Zero", size));
    EXPECT_FALSE(decodeStyledClip(encodeStyledClip(z))) << size;
  }
}

}  // namespace
}  // namespace kerfline
