#include "export/fill_gcode_writer.h"

#include <cmath>
#include <optional>

#include "common/error.h"
#include "export/gcode_writer.h"
#include "export/number_rule.h"
#include "export/output_file.h"
#include "geometry/arc_path.h"

namespace kerfline {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

const char* operationName(CutOperation cut, bool background) {
  switch (cut) {
    case CutOperation::Pocket: return background ? "raised letters (background pocket)" : "pocket";
    case CutOperation::Hatch: return "hatch";
    case CutOperation::OffsetFill: return "offset fill";
    default: return "profile";
  }
}

class FillProgram {
 public:
  FillProgram(OutputFile& file, const ConversionOptions& options) : file_(file), options_(options) {
    const GcodeOptions& g = options.gcode;
    laser_ = g.laser;
    feed_ = g.feed.value_or(defaultFeed(options.units));
    plungeFeed_ = g.plungeFeed.value_or(defaultPlungeFeed(options.units));
    power_ = g.power.value_or(kDefaultLaserPower);
    if (!(std::isfinite(feed_) && feed_ > 0)) throw Error("The feed must be a number above 0.");
    if (!(std::isfinite(plungeFeed_) && plungeFeed_ > 0))
      throw Error("The plunge feed must be a number above 0.");
    if (!(std::isfinite(power_) && power_ >= 0)) throw Error("The laser power must be 0 or more.");
    zUp_ = parseFiniteNumber(options.classic.zMoveText).value_or(0.0f);
    const double zCut = parseFiniteNumber(options.classic.zLevelText).value_or(0.0f);
    if (laser_) {
      passes_ = {0};  // one pass; no Z word is written
    } else {
      if (!(zUp_ > zCut))
        throw Error("Z up must lie above Z cutting: the tool would travel through the material.");
      passes_ = passDepths(zCut, g.depthPerPass, options.units);
    }
  }

  void header(std::size_t runs) {
    const bool mm = options_.units == DrawingUnits::Millimetre;
    out_ += gcodeCommentLine("Kerfline G-code");
    out_ += gcodeCommentLine("source: " + options_.sourceName);
    out_ += gcodeCommentLine(std::string("units: ") + (mm ? "mm" : "in") + ", " +
                             std::to_string(runs) + " runs, " +
                             operationName(options_.cut, options_.fill.background));
    std::string line = "feed " + plain(feed_);
    if (laser_) {
      line += ", laser M4 S" + plain(power_) + " while filling, S0 between";
    } else {
      line += ", plunge feed " + plain(plungeFeed_) + ", Z up " + number(zUp_) + ", " +
              std::to_string(passes_.size()) + (passes_.size() == 1 ? " pass" : " passes") +
              " down to " + number(passes_.back());
    }
    out_ += gcodeCommentLine(line);
    out_ += mm ? "G21\nG90\nG17\n" : "G20\nG90\nG17\n";
    if (!laser_) {
      out_ += "G0 Z" + number(zUp_) + '\n';
      if (const std::optional<int> rpm = options_.gcode.spindleRpm)
        out_ += "M3 S" + std::to_string(*rpm) + '\n';
    }
  }

  void region(const std::vector<ToolRun>& runs) {
    for (const double z : passes_)
      for (const ToolRun& run : runs) this->run(run, z);
    if (out_.size() >= kFlushSize) flush();
  }

  void footer() {
    if (!laser_) {
      out_ += "G0 Z" + number(zUp_) + '\n';
      if (options_.gcode.spindleRpm) out_ += "M5\n";
    }
    out_ += "M2\n";
    flush();
  }

 private:
  std::string number(double v) const { return gcodeNumber(v, options_.units); }

  // Feeds and power as short as they are exact ("600", "24.5").
  std::string plain(double v) const {
    std::string text = number(v);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
  }

  std::string position(const Vec2& p) const { return " X" + number(p.x) + " Y" + number(p.y); }

  // v as printed, read back: an arc's centre is given from where the controller believes the
  // tool stands, so that its start and end radii agree to the printing's rounding.
  double printed(double v) const { return std::stod(number(v)); }

  // The move from a to b with its bulge: G1, or G2/G3 with the centre as I J. An arc too flat
  // for a controller's arithmetic (a sweep under a hundredth of a degree) is its chord.
  std::string move(const Vec2& a, const Vec2& b, double bulge, const std::string& at) const {
    constexpr double kFlattestBulge = 5e-5;
    if (std::fabs(bulge) < kFlattestBulge) return "G1" + at;
    const ArcGeometry g = arcGeometry(a, b, bulge);
    if (!std::isfinite(g.radius)) return "G1" + at;
    return (bulge > 0 ? "G3" : "G2") + at + " I" + number(g.centre.x - printed(a.x)) + " J" +
           number(g.centre.y - printed(a.y));
  }

  void run(const ToolRun& run, double z) {
    if (run.points.size() < 2) return;
    std::string at = position(run.points.front());
    if (at != tool_) out_ += "G0" + at + '\n';
    tool_ = at;
    bool feedPending = true;
    std::optional<bool> beam;  // the power last written (laser)
    if (laser_) {
      out_ += "M4 S0\n";
      beam = false;
    } else {
      out_ += "G1 Z" + number(z) + " F" + plain(plungeFeed_) + '\n';
    }
    for (std::size_t i = 1; i < run.points.size(); ++i) {
      at = position(run.points[i]);
      if (at == tool_) continue;  // prints where the tool is: no move
      tool_ = at;
      out_ += move(run.points[i - 1], run.points[i], run.bulges.empty() ? 0 : run.bulges[i - 1],
                   at);
      if (feedPending) out_ += " F" + plain(feed_);
      feedPending = false;
      if (laser_ && *beam != run.cuts[i - 1]) {
        beam = run.cuts[i - 1];
        out_ += " S" + (*beam ? plain(power_) : std::string("0"));
      }
      out_ += '\n';
    }
    out_ += laser_ ? "M5\n" : "G0 Z" + number(zUp_) + '\n';
  }

  void flush() {
    file_.write(out_.data(), out_.size());
    out_.clear();
  }

  OutputFile& file_;
  const ConversionOptions& options_;
  bool laser_ = false;
  double feed_ = 0, plungeFeed_ = 0, power_ = 0, zUp_ = 0;
  std::vector<double> passes_;
  std::string tool_;  // " X.. Y.." where the tool stands, as printed
  std::string out_;
};

}  // namespace

void writeFillGcode(OutputFile& file, const FilledDrawing& filled,
                    const ConversionOptions& options) {
  FillProgram program(file, options);
  std::size_t runs = 0;
  for (const std::vector<ToolRun>& r : filled.runs) runs += r.size();
  program.header(runs);
  for (const std::vector<ToolRun>& r : filled.runs) program.region(r);
  program.footer();
}

}  // namespace kerfline
