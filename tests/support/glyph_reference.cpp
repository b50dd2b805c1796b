#include "glyph_reference.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "command_output.h"
#include "temp_dir.h"

namespace kerfline::test {

std::vector<GlyphMeasure> measureGlyphRings(const std::vector<GlyphRings>& cases) {
  TempDir dir;
  const std::string file = dir.file("rings.txt");
  {
    std::ofstream out(file);
    out.precision(17);
    for (const GlyphRings& c : cases) {
      out << "case " << c.fontFile << ' ' << c.fontIndex << ' ' << static_cast<unsigned>(c.code)
          << ' ' << c.scale << ' ' << c.tolerance << '\n';
      for (const auto& ring : c.rings) {
        out << "ring " << ring.size() << '\n';
        for (const RingPoint& p : ring) out << p.x << ' ' << p.y << '\n';
      }
    }
  }
  const CommandOutput run = runCommand("/usr/bin/python3 " KERFLINE_SOURCE_DIR
                                       "/tests/support/glyph_reference.py '" + file + "' 2>&1");
  std::vector<GlyphMeasure> measures(cases.size());
  std::istringstream in(run.output);
  std::string line;
  for (GlyphMeasure& m : measures) {
    std::string word;
    if (!run.ok() || !std::getline(in, line)) {
      m.error = "reference failed: " + run.output;
      continue;
    }
    std::istringstream fields(line);
    if (!(fields >> word) || word != "hausdorff" ||
        !(fields >> m.hausdorff >> word >> m.fixedChords >> word >> m.fixedSegments))
      m.error = line;
  }
  return measures;
}

}  // namespace kerfline::test
