#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/utf8.h"
#include "richtext/rtf_reader.h"
#include "richtext/styled_text.h"

namespace kerfline::rtftest {

/// The text as UTF-8, so expectations read as the characters they are.
inline std::string utf8(const StyledText& t) { return u32ToUtf8(t.text()); }

/// Checks what every reader result must satisfy, whatever the input: runs cover the text
/// exactly and in order, no run is empty, every size is at least one point, every CR is
/// followed by LF and every LF preceded by CR, and no surrogate half is left in the text.
inline void expectWellFormed(const StyledText& t) {
  std::int32_t next = 0;
  for (const auto& r : t.runs()) {
    EXPECT_EQ(r.start, next);
    EXPECT_GE(r.length, 1);
    EXPECT_GE(r.format.Size, 1);
    next = r.start + r.length;
  }
  EXPECT_EQ(next, t.length());
  const std::u32string& s = t.text();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == U'\r') {
      EXPECT_TRUE(i + 1 < s.size() && s[i + 1] == U'\n') << "CR at " << i;
    }
    if (s[i] == U'\n') {
      EXPECT_TRUE(i > 0 && s[i - 1] == U'\r') << "LF at " << i;
    }
    EXPECT_FALSE(s[i] >= 0xD800 && s[i] <= 0xDFFF) << "surrogate at " << i;
  }
}

/// Reads RTF that must be recognised as such, checking the invariants on the way.
inline StyledText readChecked(std::string_view rtf) {
  std::optional<StyledText> t = readRtf(rtf);
  EXPECT_TRUE(t.has_value());
  if (!t) return {};
  expectWellFormed(*t);
  return std::move(*t);
}

}  // namespace kerfline::rtftest
