// SVG path data and the <path> elements of an SVG file, as a user hands them over: any bytes
// either throw Error or give subpaths of finite points, each of at least two; a letter set
// on the path, rigid or warped, is placed or refused with a message, never a crash.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/error.h"
#include "layout/sign_placement.h"
#include "layout/svg_path.h"
#include "layout/svg_path_element.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string pathData = text;
  try {
    // As a document first; bytes that are no SVG are then read as path data themselves.
    pathData = kerfline::svgPathData(text);
  } catch (const kerfline::Error&) {
  }
  try {
    const auto paths = kerfline::readSvgPath(pathData, 0.01);
    for (const auto& p : paths) {
      check(p.size() >= 2, "a subpath of fewer than two points");
      for (const kerfline::Vec2& v : p) check(std::isfinite(v.x) && std::isfinite(v.y), "finite");
    }
    // A letter set along the path.
    kerfline::Drawing d;
    kerfline::PlacedCharacter c;
    c.contours.push_back(kerfline::Contour{{{0, 0}, {1, 0}, {1, 1}}});
    c.advance = kerfline::CharacterAdvance{0, 1, 0};
    d.characters.push_back(c);
    kerfline::SignLayout layout;
    layout.pathData = pathData;
    kerfline::Drawing warped = d;
    kerfline::placeSign(d, layout);
    // And warped onto it, after measuring how much the warp stretches it.
    layout.bend = kerfline::BendMode::Warp;
    check(kerfline::signWarpStretch(warped, layout) >= 1, "a warp stretch below 1");
    kerfline::placeSign(warped, layout);
  } catch (const kerfline::Error&) {
  }
  return 0;
}
