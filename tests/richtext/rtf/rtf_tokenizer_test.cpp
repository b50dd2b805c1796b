#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "richtext/rtf_tokenizer.h"

namespace kerfline::rtf {
namespace {

// Renders the token stream compactly: {, }, \word[param], \sym, 'hh, "text", bin:N.
std::string render(std::string_view bytes) {
  Tokenizer tok(bytes);
  std::string out;
  for (int guard = 0; guard < 1000; ++guard) {
    const Token t = tok.next();
    if (!out.empty() && t.kind != TokenKind::End) out += ' ';
    switch (t.kind) {
      case TokenKind::End: return out;
      case TokenKind::GroupStart: out += '{'; break;
      case TokenKind::GroupEnd: out += '}'; break;
      case TokenKind::ControlWord:
        out += '\\' + std::string(t.text);
        if (t.hasParam) out += std::to_string(t.param);
        break;
      case TokenKind::ControlSymbol: out += '\\'; out += t.symbol; break;
      case TokenKind::HexByte: {
        char buf[8];
        std::snprintf(buf, sizeof buf, "'%02x", t.byte);
        out += buf;
        break;
      }
      case TokenKind::Text: out += '"' + std::string(t.text) + '"'; break;
      case TokenKind::Binary: out += "bin:" + std::string(t.text); break;
    }
  }
  return out + " <no end>";
}

TEST(RtfTokenizerTest, SplitsTheGrammar) {
  struct Case {
    const char* name;
    std::string in;
    std::string tokens;
  };
  const Case cases[] = {
      {"groups and words", "{\\rtf1\\ansi x}", "{ \\rtf1 \\ansi \"x\" }"},
      {"space after a word is its delimiter", "\\b bold", "\\b \"bold\""},
      {"only one space is eaten", "\\b  two", "\\b \" two\""},
      {"negative parameter", "\\u-3913?", "\\u-3913 \"?\""},
      {"minus without digits is text", "\\b-x", "\\b \"-x\""},
      {"digits end the word", "\\fs24x", "\\fs24 \"x\""},
      {"hex byte", "\\'e9\\'E9", "'e9 'e9"},
      // A malformed escape is one unknown byte: its two characters are not text.
      {"one hex digit", "\\'4zy", "\\' \"y\""},
      {"no hex digit", "\\'zzy", "\\' \"y\""},
      {"a brace stops a malformed escape", "\\'z}x", "\\' } \"x\""},
      {"a backslash stops a malformed escape", "\\'\\par", "\\' \\par"},
      {"a malformed escape at the end", "\\'z", "\\'"},
      {"symbols", "\\\\\\{\\}\\~\\*", "\\\\ \\{ \\} \\~ \\*"},
      {"CR LF and NUL carry no text", std::string("a\r\nb\0c", 7), "\"a\" \"b\" \"c\""},
      {"backslash before a line end", "a\\\nb", "\"a\" \\\n \"b\""},
      {"bin takes raw bytes, braces included", "\\bin3 {}\\x", "bin:{}\\ \"x\""},
      {"bin beyond the end takes what is left", "\\bin99 ab", "bin:ab"},
      {"negative bin takes nothing", "\\bin-4 ab", "bin: \"ab\""},
      {"lone backslash at the end", "ab\\", "\"ab\""},
      {"word at the very end", "\\par", "\\par"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(render(c.in), c.tokens);
  }
}

TEST(RtfTokenizerTest, ClampsParametersToThirtyTwoBits) {
  struct Case {
    std::string in;
    std::int32_t param;
  };
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  const Case cases[] = {
      {"\\fs2147483647", kMax},
      {"\\fs2147483648", kMax},
      {"\\fs-2147483648", kMin},
      {"\\fs-2147483649", kMin},
      {"\\fs99999999999999999999999999999", kMax},
      {"\\fs-99999999999999999999999999999", kMin},
      {"\\fs0000000000000000000000000000042", 42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    Tokenizer tok(c.in);
    const Token t = tok.next();
    ASSERT_EQ(t.kind, TokenKind::ControlWord);
    EXPECT_TRUE(t.hasParam);
    EXPECT_EQ(t.param, c.param);
    EXPECT_EQ(tok.next().kind, TokenKind::End);
  }
}

TEST(RtfTokenizerTest, SkipGroupFindsTheMatchingBrace) {
  struct Case {
    const char* name;
    std::string in;  // read after the group's '{' was consumed
    bool closed;
    std::string rest;
  };
  const Case cases[] = {
      {"nested groups", "a{b{c}}d}rest", true, "\"rest\""},
      {"escaped braces do not count", "\\{\\}\\\\}rest", true, "\"rest\""},
      {"bin data may hold braces", "\\bin2 }}}rest", true, "\"rest\""},
      {"hex picture data", "\\pngblip 89504e470d0a}rest", true, "\"rest\""},
      {"unclosed group runs to the end", "a{b", false, ""},
      {"trailing backslash", "a\\", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tokenizer tok(c.in);
    EXPECT_EQ(tok.skipGroup(), c.closed);
    EXPECT_LE(tok.position(), c.in.size());
    EXPECT_EQ(render(c.in.substr(tok.position())), c.rest);
  }
}

}  // namespace
}  // namespace kerfline::rtf
