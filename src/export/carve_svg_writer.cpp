#include "export/carve_svg_writer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "export/svg_writer.h"

namespace kerfline {
namespace {

// Cuts one stroke into runs of near-equal width. Along a straight move the width changes
// linearly, so a move whose width changes more than a run may hold is split where it has
// changed by that much: the pieces grow with the width (5 % of it), so a long taper from a
// sharp corner takes tens of pieces, not thousands.
class RunSplitter {
 public:
  RunSplitter(SvgStream& svg, const CarveCutter& cutter, double fineness)
      : svg_(svg), cutter_(cutter), fineness_(fineness) {}

  void stroke(const CarvePath& s) {
    if (s.size() == 1) {
      const Vec2 p{s[0].x, s[0].y};
      svg_.polyline({&p, 1}, static_cast<float>(cutter_.widthAt(s[0].z)));
      return;
    }
    for (std::size_t i = 1; i < s.size(); ++i) move(s[i - 1], s[i]);
    flush();
  }

 private:
  double spread(double width) const { return std::max(fineness_, 0.05 * width); }

  void move(const CarvePoint& a, const CarvePoint& b) {
    const double wa = cutter_.widthAt(a.z), wb = cutter_.widthAt(b.z);
    const double change = std::fabs(wb - wa);
    double t = 0, w = wa;
    Vec2 from{a.x, a.y};
    while (t < 1) {
      const double next = change > 0 ? std::min(1.0, t + spread(w) / change) : 1.0;
      const Vec2 to{a.x + next * (b.x - a.x), a.y + next * (b.y - a.y)};
      const double wn = next == 1.0 ? wb : wa + next * (wb - wa);
      piece(from, to, w, wn);
      from = to, w = wn, t = next;
    }
  }

  void piece(const Vec2& from, const Vec2& to, double w0, double w1) {
    const double lo = std::min({low_, w0, w1}), hi = std::max({high_, w0, w1});
    if (run_.empty() || hi - lo > spread((lo + hi) / 2)) {
      flush();
      run_ = {from, to};
      low_ = std::min(w0, w1), high_ = std::max(w0, w1);
      return;
    }
    run_.push_back(to);
    low_ = lo, high_ = hi;
  }

  void flush() {
    if (run_.size() > 1) svg_.polyline(run_, static_cast<float>((low_ + high_) / 2));
    run_.clear();
    low_ = INFINITY, high_ = -INFINITY;
  }

  SvgStream& svg_;
  const CarveCutter& cutter_;
  double fineness_;
  std::vector<Vec2> run_;
  double low_ = INFINITY, high_ = -INFINITY;
};

}  // namespace

void saveCarveSvg(const std::string& path, const CarveProgram& program, const std::string& layer,
                  const ConversionOptions& options, double tolerance) {
  Extent extent;
  double widest = 0;
  for (const CarvePath& stroke : program.strokes)
    for (const CarvePoint& p : stroke) {
      extent.add({p.x, p.y});
      widest = std::max(widest, program.cutter.widthAt(p.z));
    }
  if (!extent.empty()) {
    extent.minX -= widest / 2, extent.minY -= widest / 2;
    extent.maxX += widest / 2, extent.maxY += widest / 2;
  }
  SvgStream svg(path, extent, layer, options);
  svg.beginGroup("stroke-linecap=\"round\" stroke-linejoin=\"round\"");
  // Finer than the hairline a viewer cannot show, nor finer than the carving itself is exact.
  RunSplitter runs(svg, program.cutter, std::max(2 * tolerance, svgHairline(options.units)));
  for (const CarvePath& stroke : program.strokes) runs.stroke(stroke);
  svg.endGroup();
  svg.commit();
}

}  // namespace kerfline
