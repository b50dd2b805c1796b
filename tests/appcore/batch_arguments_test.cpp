#include "appcore/batch_arguments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kerfline {
namespace {

using Args = std::vector<std::string>;

BatchArguments withScale(const std::string& scale) { return parseBatchArguments({"in.txt", scale}); }

TEST(batch_arguments_test, inputFileIsTakenAsTyped) {
  EXPECT_EQ(parseBatchArguments({"../jobs/My Sign.rtf"}).inputFile, "../jobs/My Sign.rtf");
  BatchArguments none = parseBatchArguments({});
  EXPECT_EQ(none.inputFile, "");
  EXPECT_EQ(none.mode, BatchMode::Lines);
}

TEST(batch_arguments_test, absentArgumentsLeaveEverythingUnset) {
  BatchArguments a = parseBatchArguments({"in.txt"});
  EXPECT_FALSE(a.scale);
  EXPECT_FALSE(a.pitchText);
  EXPECT_FALSE(a.resolution);
  EXPECT_FALSE(a.spacePercent);
  EXPECT_FALSE(a.layer);
  EXPECT_EQ(a.mode, BatchMode::Lines);
}

struct RoundCase {
  std::string text;
  std::optional<int> scale;
};

TEST(batch_arguments_test, scaleIsRoundedTiesToEvenAndClamped) {
  const RoundCase cases[] = {
      {"100", 100},        {"0.4", 1},          {"0", 1},           {"-7", 1},
      {"20000", 10000},    {"10000", 10000},    {"9999.5", 10000},  {"2.5", 2},
      {"3.5", 4},          {"3.4999999", 4},    {"3.49999", 3},     {"1e3", 1000},
      {"  42", 42},        {"+42.", 42},        {".5e1", 5},        {"1e39", 10000},
      {"-1e39", 1},        {"1e999999", 10000}, {"12abc", {}},      {"abc", {}},
      {"5 ", {}},          {" ", {}},           {"-", {}},          {"1,5", {}},
  };
  for (const RoundCase& c : cases) EXPECT_EQ(withScale(c.text).scale, c.scale) << c.text;
}

TEST(batch_arguments_test, resolutionAndSpaceHaveTheirOwnRanges) {
  struct Case {
    std::string resolution, space;
    std::optional<int> wantResolution, wantSpace;
  };
  const Case cases[] = {
      {"0", "-5", 1, 0},   {"2", "10", 2, 10},    {"100", "100", 100, 100},
      {"101", "101", 100, 100}, {"0.5", "0.5", 1, 0}, {"1.5", "1.5", 2, 2},
      {"x", "y", {}, {}},
  };
  for (const Case& c : cases) {
    BatchArguments a = parseBatchArguments({"in.txt", "100", "-2", c.resolution, c.space});
    EXPECT_EQ(a.resolution, c.wantResolution) << c.resolution;
    EXPECT_EQ(a.spacePercent, c.wantSpace) << c.space;
  }
}

TEST(batch_arguments_test, roundAndClampHandlesInfinityAndHalves) {
  constexpr float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(roundAndClamp(inf, 1, 100), 100);
  EXPECT_EQ(roundAndClamp(-inf, 1, 100), 1);
  EXPECT_EQ(roundAndClamp(std::numeric_limits<float>::max(), 0, 100), 100);
  EXPECT_EQ(roundAndClamp(-0.5f, 0, 100), 0);
  EXPECT_EQ(roundAndClamp(0.5f, 0, 100), 0);
  EXPECT_EQ(roundAndClamp(1.5f, 0, 100), 2);
  EXPECT_EQ(roundAndClamp(99.5f, 0, 100), 100);
  EXPECT_EQ(roundAndClamp(std::nanf(""), 1, 100), 1);
}

TEST(batch_arguments_test, pitchKeepsItsOwnTextWhenItIsANumber) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"-3.50", "-3.50"}, {"1e1", "1e1"},   {"  -2", "  -2"}, {"+.5", "+.5"}, {".", "."},
      {"-2,5", {}},       {"-2.5 ", {}},    {"abc", {}},      {"-", {}},
  };
  for (const auto& [text, want] : cases) {
    EXPECT_EQ(parseBatchArguments({"in.txt", "100", text}).pitchText, want) << text;
  }
}

TEST(batch_arguments_test, layerShorterThanFortyCharactersIsTaken) {
  const std::string l39(39, 'L'), l40(40, 'L');
  EXPECT_EQ(parseBatchArguments({"i", "1", "1", "1", "1", l39}).layer, l39);
  EXPECT_FALSE(parseBatchArguments({"i", "1", "1", "1", "1", l40}).layer);
  // Characters, not bytes: 39 two-byte letters are 78 bytes and still fit.
  std::string umlauts;
  for (int i = 0; i < 39; ++i) umlauts += "\xC3\xA4";
  EXPECT_EQ(parseBatchArguments({"i", "1", "1", "1", "1", umlauts}).layer, umlauts);
  EXPECT_FALSE(parseBatchArguments({"i", "1", "1", "1", "1", umlauts + "\xC3\xA4"}).layer);
  // Kept as typed: trimming happens at export.
  EXPECT_EQ(parseBatchArguments({"i", "1", "1", "1", "1", " cut "}).layer, " cut ");
}

TEST(batch_arguments_test, modeArgument) {
  const Args six{"i", "1", "1", "1", "1", "L"};
  auto mode = [&](std::optional<std::string> seventh) {
    Args a = six;
    if (seventh) a.push_back(*seventh);
    return parseBatchArguments(a).mode;
  };
  EXPECT_EQ(mode(std::nullopt), BatchMode::Lines);
  EXPECT_EQ(mode("1"), BatchMode::PolyLines);
  EXPECT_EQ(mode("2"), BatchMode::Lines);
  for (const char* other : {"01", " 1", "1 ", "3", "0", "one", "2.0", "+1"}) {
    EXPECT_EQ(mode(other), BatchMode::None) << other;
  }
  Args eight = six;
  eight.insert(eight.end(), {"1", "junk"});
  EXPECT_EQ(parseBatchArguments(eight).mode, BatchMode::PolyLines) << "after the seventh ignored";
}

TEST(batch_arguments_test, emptyArgumentsTakeNoPosition) {
  BatchArguments a = parseBatchArguments({"", "in.txt", "", "250", "", "", "-4", "", "1"});
  EXPECT_EQ(a.inputFile, "in.txt");
  EXPECT_EQ(a.scale, 250);
  EXPECT_EQ(a.pitchText, "-4");
  EXPECT_EQ(a.resolution, 1);
  EXPECT_FALSE(a.spacePercent);
  EXPECT_EQ(parseBatchArguments({"i", "1", "1", "1", "1", "L", ""}).mode, BatchMode::Lines);
}

TEST(batch_arguments_test, outputNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"D:\\jobs\\sign.rtf", "D:\\jobs\\sign.DXF"},
      {"sign.Txt", "sign.DXF"},
      {"sign.txt.rtf", "sign.DXF"},
      {"sign.rtf.txt", "sign.rtf.DXF"},
      {"sign.doc", "sign.doc.DXF"},
      {"sign", "sign.DXF"},
      {"D:\\a.rtf\\sign", "D:\\a.rtf\\sign.DXF"},
      {"/tmp/a.rtf/sign", "/tmp/a.rtf/sign.DXF"},
      {"/tmp/a.txt/sign.RTF", "/tmp/a.txt/sign.DXF"},
      {"C:a.rtf:x", "C:a.rtf:x.DXF"},
      {"sign.RtF", "sign.DXF"},
      {"sign.rtf.rtf", "sign.rtf.DXF"},
      {"sign.txt.txt", "sign.txt.DXF"},
      {"sign.dxf", "sign.dxf.DXF"},
      {"sign.rtfx", "sign.rtfx.DXF"},
      {"sign.\xC3\xA4tf", "sign.\xC3\xA4tf.DXF"},
      {".rtf", ".DXF"},
      {"sign.", "sign..DXF"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(batchOutputName(in), out) << in;
}

}  // namespace
}  // namespace kerfline
