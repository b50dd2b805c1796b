#include "export/carve_gcode_writer.h"

#include <cmath>

#include "common/error.h"
#include "export/gcode_writer.h"
#include "export/number_rule.h"
#include "export/output_file.h"

namespace kerfline {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

std::string plain(double v) {
  // Feeds as the profile writer prints them: exact, no exponent, no trailing zeros.
  std::string s = std::to_string(v);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

double positive(std::optional<double> value, double fallback, const char* what) {
  const double v = value.value_or(fallback);
  if (!(std::isfinite(v) && v > 0)) throw Error(std::string(what) + " must be a number above 0.");
  return v;
}

// Comments hold only what the program itself put there, but the source name is the user's:
// parentheses and line breaks would end the comment early.
std::string commentSafe(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    out += c == '(' ? '[' : c == ')' ? ']' : b < 32 || b == 127 ? ' ' : b > 127 ? '?' : c;
  }
  return out.size() > 200 ? out.substr(0, 97) + "..." + out.substr(out.size() - 100) : out;
}

}  // namespace

double CarveCutter::widthAt(double z) const {
  if (!(z < 0)) return 0;
  if (bitAngle <= 0) return diameter;
  VCarveSettings bit;
  bit.bitAngle = bitAngle;
  return 2 * halfWidthAt(bit, -z);
}

double carveZUp(const ConversionOptions& options) {
  const double zUp = parseFiniteNumber(options.classic.zMoveText).value_or(0.0f);
  if (!(zUp > 0))
    throw Error("Z up must lie above the surface (Z 0) for carving: the tool would travel through the material.");
  return zUp;
}

void writeCarveGcode(OutputFile& file, const CarveProgram& program, const ConversionOptions& options) {
  const DrawingUnits units = options.units;
  const GcodeOptions& g = options.gcode;
  const double feed = positive(g.feed, defaultFeed(units), "The feed");
  const double plunge = positive(g.plungeFeed, defaultPlungeFeed(units), "The plunge feed");
  if (g.spindleRpm && *g.spindleRpm <= 0) throw Error("The spindle speed must be above 0.");
  const double zUp = carveZUp(options);
  const char* unit = units == DrawingUnits::Inch ? "in" : "mm";
  const auto num = [&](double v) { return gcodeNumber(v, units); };

  std::string out;
  out += "(Kerfline G-code)\n";
  out += "(source: " + commentSafe(options.sourceName) + ")\n";
  out += std::string("(units: ") + unit + ", " + std::to_string(program.strokes.size()) + " strokes)\n";
  out += "(operation: " + program.operation + ")\n";
  out += "(tool: " + program.tool + ")\n";
  out += "(feed " + plain(feed) + " " + unit + "/min, plunge feed " + plain(plunge) + " " + unit +
         "/min, Z up " + num(zUp) + ", surface Z 0";
  if (g.depthPerPass) out += ", depth per pass " + num(*g.depthPerPass);
  if (g.spindleRpm) out += ", spindle " + std::to_string(*g.spindleRpm) + " rpm";
  out += ")\n";
  for (const std::string& note : program.notes) out += "(" + commentSafe(note) + ")\n";
  out += units == DrawingUnits::Inch ? "G20\nG90\nG17\n" : "G21\nG90\nG17\n";
  out += "G0 Z" + num(zUp) + "\n";
  if (g.spindleRpm) out += "M3 S" + std::to_string(*g.spindleRpm) + "\n";

  // The position as last printed: a point that prints the same gives no move.
  std::string x, y, z;
  bool lifted = true;
  for (std::size_t i = 0; i < program.strokes.size(); ++i) {
    const CarvePath& stroke = program.strokes[i];
    if (stroke.empty()) continue;
    const bool goesOn = i < program.continues.size() && program.continues[i] && !lifted;
    if (!goesOn) {
      if (!lifted) out += "G0 Z" + num(zUp) + "\n";
      x = num(stroke.front().x), y = num(stroke.front().y);
      out += "G0 X" + x + " Y" + y + "\n";
    }
    // Down to the stroke's first depth at the plunge feed, then along it at the feed.
    z = num(stroke.front().z);
    out += "G1 Z" + z + " F" + plain(plunge) + "\n";
    lifted = false;
    bool feedPending = true;
    for (std::size_t k = 1; k < stroke.size(); ++k) {
      std::string nx = num(stroke[k].x), ny = num(stroke[k].y), nz = num(stroke[k].z);
      if (nx == x && ny == y && nz == z) continue;
      out += "G1 X" + nx + " Y" + ny + " Z" + nz;
      if (feedPending) out += " F" + plain(feed), feedPending = false;
      out += '\n';
      x = std::move(nx), y = std::move(ny), z = std::move(nz);
    }
    if (out.size() >= kFlushSize) {
      file.write(out.data(), out.size());
      out.clear();
    }
  }
  if (!lifted) out += "G0 Z" + num(zUp) + "\n";
  if (g.spindleRpm) out += "M5\n";
  out += "M2\n";
  file.write(out.data(), out.size());
}

void saveCarveGcode(const std::string& path, const CarveProgram& program,
                    const ConversionOptions& options) {
  OutputFile file(path);
  writeCarveGcode(file, program, options);
  file.commit();
}

}  // namespace kerfline
