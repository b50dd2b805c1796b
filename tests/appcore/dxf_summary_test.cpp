#include "appcore/dxf_summary.h"

#include <gtest/gtest.h>

#include <string>

namespace kerfline {
namespace {

TEST(dxf_summary_test, emptyFileHasNoEntitiesAndNoExtent) {
  DxfSummary s = summarizeDxf("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
  EXPECT_EQ(s.lines, 0);
  EXPECT_EQ(s.polylines, 0);
  EXPECT_TRUE(s.x.empty);
  EXPECT_TRUE(s.y.empty);
}

TEST(dxf_summary_test, linesAreCountedAndMeasured) {
  std::string line1 = "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n1.5\r\n 20\r\n-2\r\n 30\r\n1\r\n"
                      " 11\r\n1.5\r\n 21\r\n-2\r\n 31\r\n0\r\n";
  std::string line2 = "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n1.5\r\n 20\r\n-2\r\n 30\r\n0\r\n"
                      " 11\r\n9.99999974737875E-5\r\n 21\r\n3.25\r\n 31\r\n0\r\n";
  DxfSummary s = summarizeDxf("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n" + line1 + line2 +
                              "  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
  EXPECT_EQ(s.lines, 2);
  EXPECT_DOUBLE_EQ(s.x.min, 9.99999974737875E-5);
  EXPECT_DOUBLE_EQ(s.x.max, 1.5);
  EXPECT_DOUBLE_EQ(s.y.min, -2);
  EXPECT_DOUBLE_EQ(s.y.max, 3.25);
  EXPECT_DOUBLE_EQ(s.z.min, 0);
  EXPECT_DOUBLE_EQ(s.z.max, 1);
}

TEST(dxf_summary_test, polylineReferencePointIsNotPartOfTheExtent) {
  auto vertex = [](const char* x, const char* y) {
    return std::string("VERTEX\r\n  8\r\n0\r\n 10\r\n") + x + "\r\n 20\r\n" + y +
           "\r\n 30\r\n-1\r\n 42\r\n0.0\r\n  0\r\n";
  };
  std::string poly = "POLYLINE\r\n  8\r\n0\r\n 66\r\n     1\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n"
                     " 30\r\n0.0\r\n  0\r\n" + vertex("5", "6") + vertex("7", "8") +
                     "SEQEND\r\n  0\r\n";
  DxfSummary s = summarizeDxf("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n" + poly +
                              "ENDSEC\r\n  0\r\nEOF\r\n");
  EXPECT_EQ(s.polylines, 1);
  EXPECT_EQ(s.vertices, 2);
  EXPECT_EQ(s.lines, 0);
  EXPECT_DOUBLE_EQ(s.x.min, 5);
  EXPECT_DOUBLE_EQ(s.x.max, 7);
  EXPECT_DOUBLE_EQ(s.y.min, 6);
  EXPECT_DOUBLE_EQ(s.z.max, -1);
}

}  // namespace
}  // namespace kerfline
