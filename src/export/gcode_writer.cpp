#include "export/gcode_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <system_error>

#include "common/error.h"
#include "export/number_rule.h"
#include "export/output_file.h"
#include "geometry/arc_path.h"

namespace kerfline {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

int decimalsFor(DrawingUnits units) { return units == DrawingUnits::Inch ? 5 : 4; }

constexpr double kPowersOfTen[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
constexpr std::int64_t kIntPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

constexpr std::size_t kNumberRoom = 64;
// The longest number word: a coordinate of a kilometre in mm is 12 characters. Longer text means
// a value no machine can reach (or a feed of 1e-300) and would push a line past what controllers
// read, so it is refused rather than written.
constexpr std::size_t kMaxNumberText = 24;

// v in units of its last decimal, rounded, where formatFixed's fast way prints it (the text
// is then exactly that integer with the point put in).
std::optional<std::int64_t> scaledDigits(double v, int decimals) {
  const double scaled = v * kPowersOfTen[decimals];
  if (std::fabs(scaled) < 1e9 && std::fabs(std::fabs(scaled - std::trunc(scaled)) - 0.5) > 1e-6)
    return static_cast<std::int64_t>(std::nearbyint(scaled));
  return std::nullopt;
}

// Writes v with `decimals` fixed decimals to dst (room for kNumberRoom bytes) and returns the
// end. The fast way scales and rounds to an integer; the product's rounding error is below
// 1e-6 of a last-place step for |v * 10^decimals| < 1e9, so it can only matter within that
// distance of a tie, where std::to_chars rounds the exact binary value instead. A value that
// rounds to zero has no sign either way.
char* formatFixed(char* dst, double v, int decimals) {
  if (!std::isfinite(v)) throw Error("Coordinate out of range.");
  char* end = dst;
  if (const std::optional<std::int64_t> digits = scaledDigits(v, decimals)) {
    std::int64_t n = *digits;
    if (n < 0) {  // a value rounding to zero has n == 0: no sign
      *end++ = '-';
      n = -n;
    }
    end = std::to_chars(end, dst + kNumberRoom, n / kIntPowersOfTen[decimals]).ptr;
    *end++ = '.';
    std::int64_t fraction = n % kIntPowersOfTen[decimals];
    for (int i = decimals - 1; i >= 0; --i) {
      end[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    return end + decimals;
  }
  const auto [last, ec] = std::to_chars(dst, dst + kNumberRoom, v, std::chars_format::fixed, decimals);
  if (ec != std::errc() || static_cast<std::size_t>(last - dst) > kMaxNumberText)
    throw Error("Coordinate out of range.");
  // to_chars writes no terminator, so only [dst, last) may be looked at.
  const bool zero = std::all_of(dst, last, [](char c) { return c == '-' || c == '0' || c == '.'; });
  if (zero && dst[0] == '-') {
    std::memmove(dst, dst + 1, static_cast<std::size_t>(last - dst - 1));
    return last - 1;
  }
  return last;
}

void appendFixed(std::string& out, double v, int decimals) {
  char buffer[kNumberRoom];
  out.append(buffer, static_cast<std::size_t>(formatFixed(buffer, v, decimals) - buffer));
}

// Feeds and power as short as they are exact ("600", "24.5"), never in exponent form.
void appendPlain(std::string& out, double v) {
  char buffer[400];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr;
  const auto length = static_cast<std::size_t>(end - buffer);
  if (length > kMaxNumberText) {
    char shortest[32];
    char* e = std::to_chars(shortest, shortest + sizeof shortest, v).ptr;
    throw Error("The number " + std::string(shortest, static_cast<std::size_t>(e - shortest)) + " has too many digits for a G-code word.");
  }
  out.append(buffer, length);
}

// Controllers read lines of limited length (LinuxCNC refuses 253 characters and more), and a
// comment holds whatever path or text the user gave. A longer comment keeps its start and its
// end (the file name of a path) around a visible "...".
constexpr std::size_t kMaxLineLength = 249;
std::string fitComment(std::string text) {
  constexpr std::size_t room = kMaxLineLength - 2;  // the parentheses
  if (text.size() <= room) return text;
  constexpr std::string_view ellipsis = "...";
  const std::size_t keep = room - ellipsis.size();
  const std::size_t head = keep / 3;
  return text.substr(0, head) + std::string(ellipsis) + text.substr(text.size() - (keep - head));
}

// A comment's text: parentheses would end it early and a line break would end the line, so
// they become brackets and blanks; bytes beyond ASCII become '?' (controllers differ on them).
std::string commentText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (ch == '(') {
      out += '[';
    } else if (ch == ')') {
      out += ']';
    } else if (b < 32 || b == 127) {
      out += ' ';
    } else if (b > 127) {
      out += '?';
    } else {
      out += ch;
    }
  }
  return out;
}

double positiveSetting(std::optional<double> value, double fallback, const char* what) {
  const double v = value.value_or(fallback);
  if (!(std::isfinite(v) && v > 0)) throw Error(std::string(what) + " must be a number above 0.");
  return v;
}

class GcodeProgram {
 public:
  GcodeProgram(OutputFile& file, const ConversionOptions& options, bool planned)
      : file_(file), options_(options), decimals_(decimalsFor(options.units)), planned_(planned) {
    const GcodeOptions& g = options.gcode;
    laser_ = g.laser;
    feed_ = positiveSetting(g.feed, defaultFeed(options.units), "The feed");
    plungeFeed_ = positiveSetting(g.plungeFeed, defaultPlungeFeed(options.units), "The plunge feed");
    power_ = g.power.value_or(kDefaultLaserPower);
    if (!(std::isfinite(power_) && power_ >= 0)) throw Error("The laser power must be 0 or more.");
    if (g.spindleRpm && *g.spindleRpm <= 0) throw Error("The spindle speed must be above 0.");
    zUp_ = parseFiniteNumber(options.classic.zMoveText).value_or(0.0f);
    zCut_ = parseFiniteNumber(options.classic.zLevelText).value_or(0.0f);
    if (!laser_) {
      if (!(zUp_ > zCut_))
        throw Error("Z up must lie above Z cutting: the tool would travel through the material.");
      passes_ = passDepths(zCut_, g.depthPerPass, options.units);
      tabZ_ = raisedTabZ(options);
    }
    out_.reserve(kFlushSize + 4096);
  }

  void header(std::string_view sourceName, std::size_t contours) {
    const GcodeOptions& g = options_.gcode;
    const bool mm = options_.units == DrawingUnits::Millimetre;
    const char* unit = mm ? "mm" : "in";
    comment("Kerfline G-code");
    comment("source: " + commentText(sourceName));
    std::string line = std::string("units: ") + unit + ", " + std::to_string(contours) + " contours";
    comment(line);
    line = "feed ";
    appendPlain(line, feed_);
    line += std::string(" ") + unit + "/min";
    if (laser_) {
      line += ", laser M4 S";
      appendPlain(line, power_);
      line += " per contour";
    } else {
      line += ", plunge feed ";
      appendPlain(line, plungeFeed_);
      line += std::string(" ") + unit + "/min, Z up ";
      appendFixed(line, zUp_, decimals_);
      line += ", Z cutting ";
      appendFixed(line, zCut_, decimals_);
      if (g.depthPerPass) {
        line += ", depth per pass ";
        appendFixed(line, *g.depthPerPass, decimals_);
      }
      if (g.spindleRpm) line += ", spindle " + std::to_string(*g.spindleRpm) + " rpm";
      if (tabZ_) {
        line += ", tabs crossed at Z ";
        appendFixed(line, *tabZ_, decimals_);
      }
    }
    comment(line);
    line = std::string("weld ") + (options_.weld ? "on" : "off") + ", kerf ";
    if (options_.kerf && options_.kerfSide != KerfSide::On) {
      appendFixed(line, *options_.kerf, decimals_);
      line += options_.kerfSide == KerfSide::Outside ? " outside" : " inside";
    } else {
      line += "none";
    }
    comment(line);

    out_ += mm ? "G21\nG90\nG17\n" : "G20\nG90\nG17\n";
    if (!laser_) {
      rapidZ(zUp_);
      if (g.spindleRpm) out_ += "M3 S" + std::to_string(*g.spindleRpm) + '\n';
    }
  }

  // bulges, when given, holds the bulge of the piece leaving each point (arc_path.h).
  void contour(const Contour& c, const std::vector<double>* bulges) {
    const std::vector<Vec2>& points = c.points;
    if (points.empty()) return;
    const std::size_t n = points.size();
    if (bulges && bulges->size() != n) bulges = nullptr;
    // The cut visits points in this order: a ring from its first point back to it, an open path
    // as planned or, in text order, from its end nearer the tool.
    const bool reversed = !c.closed && !planned_ &&
                          distance2(points.back(), tool_) < distance2(points.front(), tool_);
    const std::size_t moves = c.closed ? n : n - 1;
    const auto at = [&](std::size_t i) -> const Vec2& {
      return reversed ? points[n - 1 - i] : points[i % n];
    };
    // The cut from at(i - 1) to at(i) (backward: from at(i) to at(i - 1)), as a line or an arc.
    const auto piece = [&](std::size_t i, bool backward) {
      const std::size_t from = backward ? i : i - 1;
      const std::size_t to = backward ? i - 1 : i;
      double bulge = 0;
      if (bulges) {
        // Piece k of the path runs from points[k] to points[k + 1]; reversed, it is walked
        // from its end and turns the other way.
        const std::size_t k = std::min(from, to);
        const std::size_t original = reversed ? n - 2 - k : k % n;
        bulge = (*bulges)[original];
        if (reversed != backward) bulge = -bulge;
      }
      if (bulge == 0) {
        move(at(to));
      } else {
        arc(at(from), at(to), bulge);
      }
    };
    setPosition(at(0));
    out_ += "G0";
    out_.append(position_, positionLength_);
    out_ += '\n';
    bool forward = true;
    if (laser_) {
      out_ += "M4 S";
      appendPlain(out_, power_);
      out_ += '\n';
      feedPending_ = true;
      for (std::size_t i = 1; i <= moves; ++i) piece(i, false);
      out_ += "M5\n";
    } else {
      // Every pass of this contour before the next one. A ring ends where it began, so the
      // next pass plunges on the spot; an open path is cut back the other way.
      const std::vector<bool> overTab = tabPieces(c, moves, at, reversed);
      for (const double z : passes_) {
        double zNow = zUp_;
        for (std::size_t i = 1; i <= moves; ++i) {
          const std::size_t k = forward || c.closed ? i : moves - i + 1;
          // A tab stands up to tabZ_: the passes below it rise onto it and plunge back after.
          const double want = overTab[k - 1] ? std::max(z, *tabZ_) : z;
          if (i == 1 || want != zNow) plungeTo(want);
          zNow = want;
          piece(k, !(forward || c.closed));
        }
        if (moves == 0) plungeTo(z);
        forward = !forward;
      }
      rapidZ(zUp_);
    }
    // An open path cut an even number of times ends where it began.
    tool_ = c.closed || laser_ || !forward ? at(moves) : at(0);
    if (out_.size() >= kFlushSize) flush();
  }

  // Between two sheets: the tool raised (and the spindle stopped) before the pause, so that
  // the finished sheet can be taken off and the next laid on the bed safely.
  void pauseForSheet(std::size_t sheet) {
    const GcodeOptions& g = options_.gcode;
    if (!laser_) {
      rapidZ(zUp_);
      if (g.spindleRpm) out_ += "M5\n";
    }
    comment("sheet " + std::to_string(sheet) + ": lay it on the bed, then resume");
    out_ += "M0\n";
    if (!laser_ && g.spindleRpm) out_ += "M3 S" + std::to_string(*g.spindleRpm) + '\n';
  }

  void footer() {
    if (!laser_) {
      rapidZ(zUp_);
      if (options_.gcode.spindleRpm) out_ += "M5\n";
    }
    out_ += "M2\n";
    flush();
  }

 private:
  static double distance2(const Vec2& a, const Vec2& b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
  }

  void comment(const std::string& text) { out_ += '(' + fitComment(text) + ")\n"; }

  // A feed move to z at the plunge feed; the next cut gives its feed again.
  void plungeTo(double z) {
    out_ += "G1 Z";
    appendFixed(out_, z, decimals_);
    out_ += " F";
    appendPlain(out_, plungeFeed_);
    out_ += '\n';
    feedPending_ = true;
  }

  // For each piece of the path in visiting order (from at(k) to at(k + 1)): whether it runs
  // over a tab. The tabs are found by their end points among the path's vertices, so a ring
  // entered anywhere (even within a tab) and a path with leads added still find them.
  template <typename At>
  std::vector<bool> tabPieces(const Contour& c, std::size_t moves, const At& at,
                              bool reversed) const {
    std::vector<bool> over(moves, false);
    if (!tabZ_ || c.tabs.empty()) return over;
    const auto isEnd = [&](const Vec2& p, bool first) {
      for (const auto& [a, b] : c.tabs)
        if ((first != reversed ? a : b) == p) return true;
      return false;
    };
    // Inside a tab at the start when the first tab end met along the path closes one.
    bool inside = false;
    for (std::size_t k = 0; k <= moves; ++k) {
      if (isEnd(at(k), false)) {
        inside = true;
        break;
      }
      if (isEnd(at(k), true)) break;
    }
    for (std::size_t k = 0; k < moves; ++k) {
      if (isEnd(at(k), false)) inside = false;
      if (isEnd(at(k), true)) inside = true;
      over[k] = inside;
    }
    return over;
  }

  void rapidZ(double z) {
    out_ += "G0 Z";
    appendFixed(out_, z, decimals_);
    out_ += '\n';
  }

  // " X<x> Y<y>" of p, as printed, into position_; false when that is where the tool is.
  bool setPosition(const Vec2& p) {
    char text[kPositionRoom];
    std::memcpy(text, " X", 2);
    char* end = formatFixed(text + 2, p.x, decimals_);
    std::memcpy(end, " Y", 2);
    end = formatFixed(end + 2, p.y, decimals_);
    const auto length = static_cast<std::size_t>(end - text);
    if (length == positionLength_ && std::memcmp(text, position_, length) == 0) return false;
    std::memcpy(position_, text, length);
    positionLength_ = length;
    return true;
  }

  // The most frequent line. A point that prints where the tool already is (closer to the last
  // one than the unit's last decimal) gives no move: a zero-length G1 is noise to a controller.
  // The feed goes on the first move after a plunge or beam-on (F is modal in both controllers).
  void move(const Vec2& p) {
    if (!setPosition(p)) return;
    out_ += "G1";
    out_.append(position_, positionLength_);
    if (feedPending_) {
      out_ += " F";
      appendPlain(out_, feed_);
      feedPending_ = false;
    }
    out_ += '\n';
  }

  // An arc from a (where the tool is) to b: G2 clockwise or G3 counter-clockwise, in the G17
  // plane, with the centre as I J from the start as printed. The centre comes from the bulge
  // at full precision and is measured from the printed start, so that the controller finds
  // start and end at radii that differ by no more than the printing's rounding (well below
  // half a micrometre), which is what LinuxCNC and GRBL check an arc by. An arc whose ends
  // print as one point is no move; one too flat for a controller's arithmetic is a line.
  void arc(const Vec2& a, const Vec2& b, double bulge) {
    const ArcCircle g = arcCircle(a, b, bulge);
    if (!std::isfinite(g.radius) || std::fabs(bulge) < kFlattestBulge) {
      move(b);
      return;
    }
    const double startX = printedValue(a.x), startY = printedValue(a.y);
    if (!setPosition(b)) return;
    out_ += bulge > 0 ? "G3" : "G2";
    out_.append(position_, positionLength_);
    out_ += " I";
    appendFixed(out_, g.centre.x - startX, decimals_);
    out_ += " J";
    appendFixed(out_, g.centre.y - startY, decimals_);
    if (feedPending_) {
      out_ += " F";
      appendPlain(out_, feed_);
      feedPending_ = false;
    }
    out_ += '\n';
  }

  // v as the program prints it, read back.
  double printedValue(double v) const {
    // The integer and the power of ten are exact doubles, so their quotient is the double
    // nearest the printed decimal, as reading the text gives it.
    if (std::isfinite(v))
      if (const std::optional<std::int64_t> n = scaledDigits(v, decimals_))
        return static_cast<double>(*n) / kPowersOfTen[decimals_];
    char text[kNumberRoom];
    char* end = formatFixed(text, v, decimals_);
    double read = 0;
    std::from_chars(text, end, read);
    return read;
  }

  // Below this bulge (a sweep under a hundredth of a degree) an arc's centre lies so far off
  // that its digits would swamp a controller's line; its sagitta is far below any tolerance.
  static constexpr double kFlattestBulge = 5e-5;

  void flush();

  OutputFile& file_;
  const ConversionOptions& options_;
  int decimals_;
  bool planned_ = false;  // the paths come planned: each open path already runs its chosen way
  bool laser_ = false;
  double feed_ = 0, plungeFeed_ = 0, power_ = 0;
  double zUp_ = 0, zCut_ = 0;
  std::optional<double> tabZ_;  // set: tabs are crossed at this Z on the passes below it
  std::vector<double> passes_;
  Vec2 tool_{0, 0};  // the work origin until the first move
  static constexpr std::size_t kPositionRoom = 2 * kNumberRoom + 8;
  char position_[kPositionRoom] = {};  // " X.. Y.." of the tool as last printed
  std::size_t positionLength_ = 0;
  bool feedPending_ = false;
  std::string out_;
};

}  // namespace

void GcodeProgram::flush() {
  file_.write(out_.data(), out_.size());
  out_.clear();
}

double defaultFeed(DrawingUnits units) { return units == DrawingUnits::Inch ? 24 : 600; }

double defaultPlungeFeed(DrawingUnits units) { return units == DrawingUnits::Inch ? 8 : 200; }

std::optional<double> raisedTabZ(const ConversionOptions& options) {
  // Arcs are fitted after the tabs are marked and may merge away a tab's end vertices: such a
  // job keeps full tabs (gaps) rather than risk cutting through one.
  if (!options.tabHeight || options.format != OutputFormat::Gcode || options.gcode.laser ||
      options.arcs)
    return std::nullopt;
  const double top = parseFiniteNumber(options.classic.zLevelText).value_or(0.0f) + *options.tabHeight;
  // A tab as high as the cut is deep is the whole thickness: the tool lifts clear over it.
  if (!(top < 0)) return std::nullopt;
  return top;
}

std::vector<double> passDepths(double zCut, std::optional<double> depthPerPass,
                               DrawingUnits units) {
  std::vector<double> out;
  if (depthPerPass) {
    const double d = *depthPerPass;
    if (!(std::isfinite(d) && d > 0)) throw Error("The depth per pass must be a number above 0.");
    // Half a last-place step: a pass that would print as Z cutting is Z cutting.
    const double half = 0.5 / kPowersOfTen[decimalsFor(units)];
    for (int k = 1;; ++k) {
      const double z = -k * d;
      if (z <= zCut + half) break;
      if (k >= kMaxPasses)
        throw Error("The depth per pass gives more than " + std::to_string(kMaxPasses) +
                    " passes: check it against Z cutting.");
      out.push_back(z);
    }
  }
  out.push_back(zCut);
  return out;
}

std::string gcodeNumber(double v, DrawingUnits units) {
  std::string out;
  appendFixed(out, v, decimalsFor(units));
  return out;
}

std::string gcodeCommentLine(std::string_view text) {
  return '(' + fitComment(commentText(text)) + ")\n";
}

void writeGcode(OutputFile& file, const Drawing& drawing, const ConversionOptions& options,
                std::string_view sourceName, bool planned) {
  GcodeProgram program(file, options, planned);
  std::size_t contours = 0;
  for (const PlacedCharacter& c : drawing.characters) contours += c.contours.size();
  program.header(sourceName, contours);
  std::size_t path = 0;
  for (const PlacedCharacter& c : drawing.characters)
    for (const Contour& k : c.contours) program.contour(k, drawing.bulgesOf(path++));
  program.footer();
}

void saveGcodeFile(const std::string& path, const Drawing& drawing,
                   const ConversionOptions& options, std::string_view sourceName,
                   bool planned) {
  OutputFile file(path);
  writeGcode(file, drawing, options, sourceName, planned);
  file.commit();
}

void saveGcodeSheets(const std::string& path, const std::vector<Drawing>& sheets,
                     const ConversionOptions& options, std::string_view sourceName,
                     bool planned) {
  OutputFile file(path);
  GcodeProgram program(file, options, planned);
  std::size_t contours = 0;
  for (const Drawing& sheet : sheets)
    for (const PlacedCharacter& c : sheet.characters) contours += c.contours.size();
  program.header(sourceName, contours);
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (i > 0) program.pauseForSheet(i + 1);
    std::size_t path = 0;
    for (const PlacedCharacter& c : sheets[i].characters)
      for (const Contour& k : c.contours) program.contour(k, sheets[i].bulgesOf(path++));
  }
  program.footer();
  file.commit();
}

}  // namespace kerfline
