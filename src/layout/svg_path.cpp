#include "layout/svg_path.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

#include "common/error.h"

namespace kerfline {
namespace {

// Far more than any drawn path holds; bounds the memory a hostile file can ask for.
constexpr std::size_t kMaxPoints = 1'000'000;

class PathReader {
 public:
  PathReader(std::string_view data, double tolerance) : data_(data), tolerance_(tolerance) {}

  std::vector<PathPolyline> read() {
    char command = 0;
    skipSpace();
    while (at_ < data_.size()) {
      const char c = data_[at_];
      if (std::isalpha(static_cast<unsigned char>(c))) {
        if (paths_.empty() && c != 'M' && c != 'm') fail("a path must start with M");
        command = c;
        ++at_;
      } else if (command == 0) {
        fail("a path must start with M");
      } else if (command == 'Z' || command == 'z') {
        fail("a number after Z");
      }
      // M's further pairs are lines; every other command repeats itself.
      step(command);
      if (command == 'M') command = 'L';
      if (command == 'm') command = 'l';
      skipSpace();
    }
    return std::move(paths_);
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw Error("The path data is not valid at character " + std::to_string(at_ + 1) + ": " + what + ".");
  }

  void skipSpace() {
    while (at_ < data_.size() && (std::isspace(static_cast<unsigned char>(data_[at_])) != 0)) ++at_;
  }
  void skipSeparator() {
    skipSpace();
    if (at_ < data_.size() && data_[at_] == ',') {
      ++at_;
      skipSpace();
    }
  }

  double number() {
    skipSeparator();
    // from_chars takes no leading '+'; it takes "1e-3", and ".5.5" reads ".5" then ".5".
    std::size_t start = at_;
    if (start < data_.size() && data_[start] == '+') ++start;
    double v = 0;
    const auto [end, error] = std::from_chars(data_.data() + start, data_.data() + data_.size(), v,
                                              std::chars_format::general);
    if (error != std::errc() || !std::isfinite(v)) fail("a number was expected");
    at_ = static_cast<std::size_t>(end - data_.data());
    return v;
  }
  bool flag() {
    skipSeparator();
    if (at_ < data_.size() && (data_[at_] == '0' || data_[at_] == '1')) return data_[at_++] == '1';
    fail("an arc flag (0 or 1) was expected");
  }

  void add(const Vec2& p) {
    if (paths_.empty()) fail("a path must start with M");
    if (++points_ > kMaxPoints) fail("the path has too many points");
    if (paths_.back().empty() || paths_.back().back() != p) paths_.back().push_back(p);
    current_ = p;
  }
  void moveTo(const Vec2& p) {
    // A subpath of one point draws nothing: the next move replaces it.
    if (paths_.empty() || paths_.back().size() >= 2) {
      paths_.emplace_back();
    } else {
      paths_.back().clear();
    }
    start_ = p;
    add(p);
  }

  // Chords of a curve given as a function of t in [0, 1]. A chord over a step h of t strays at
  // most h^2 / 8 times the largest second derivative, which for a Bezier curve is bounded by
  // its control points' second differences (bend, times the degree's factor).
  template <class F>
  void curve(F at, double bend) {
    const int n = static_cast<int>(
        std::clamp(std::ceil(std::sqrt(bend / (8 * tolerance_))), 1.0, 10000.0));
    for (int i = 1; i < n; ++i) add(at(double(i) / n));
    add(at(1.0));
  }
  static double secondDifference(const Vec2& a, const Vec2& b, const Vec2& c) {
    return std::hypot(a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y);
  }

  void cubic(const Vec2& p1, const Vec2& p2, const Vec2& p3) {
    const Vec2 p0 = current_;
    const double bend = 6 * std::max(secondDifference(p0, p1, p2), secondDifference(p1, p2, p3));
    curve([&](double t) {
      const double u = 1 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
      return t == 1.0 ? p3 : Vec2{a * p0.x + b * p1.x + c * p2.x + d * p3.x,
                                   a * p0.y + b * p1.y + c * p2.y + d * p3.y};
    }, bend);
    lastControl_ = p2;
  }
  void quadratic(const Vec2& p1, const Vec2& p2) {
    const Vec2 p0 = current_;
    const double bend = 2 * secondDifference(p0, p1, p2);
    curve([&](double t) {
      const double u = 1 - t;
      return t == 1.0 ? p2 : Vec2{u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                                   u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y};
    }, bend);
    lastQuadratic_ = p1;
  }

  // The endpoint parametrisation of an elliptical arc (SVG's implementation notes, F.6.5).
  void arc(double rx, double ry, double degrees, bool large, bool sweep, const Vec2& to) {
    const Vec2 from = current_;
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (from == to) return;
    if (rx == 0 || ry == 0) {
      add(to);
      return;
    }
    const double phi = degrees * std::numbers::pi / 180;
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double hx = (from.x - to.x) / 2, hy = (from.y - to.y) / 2;
    const double x1 = cp * hx + sp * hy, y1 = -sp * hx + cp * hy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1) {
      rx *= std::sqrt(lambda);
      ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = std::sqrt(std::max(0.0, num / den));
    if (large == sweep) k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const double cx = cp * cx1 - sp * cy1 + (from.x + to.x) / 2;
    const double cy = sp * cx1 + cp * cy1 + (from.y + to.y) / 2;
    const auto angle = [](double ux, double uy, double vx, double vy) {
      return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double theta = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0) delta -= 2 * std::numbers::pi;
    if (sweep && delta < 0) delta += 2 * std::numbers::pi;
    const double r = std::max(rx, ry);
    const double chordAngle = 2 * std::acos(std::clamp(1 - tolerance_ / r, -1.0, 1.0));
    const int n = static_cast<int>(std::clamp(std::ceil(std::abs(delta) / std::max(chordAngle, 1e-9)), 1.0, 10000.0));
    for (int i = 1; i < n; ++i) {
      const double t = theta + delta * i / n;
      const double ex = rx * std::cos(t), ey = ry * std::sin(t);
      add({cp * ex - sp * ey + cx, sp * ex + cp * ey + cy});
    }
    add(to);
  }

  void step(char command) {
    const bool relative = std::islower(static_cast<unsigned char>(command)) != 0;
    const Vec2 base = relative ? current_ : Vec2{};
    const auto point = [&] {
      const double x = number();
      const double y = number();
      return Vec2{base.x + x, base.y + y};
    };
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
    // The reflected control point of S and T: the previous curve's, else the current point.
    const Vec2 reflectedCubic = previous_ == 'C' || previous_ == 'S'
                                    ? Vec2{2 * current_.x - lastControl_.x, 2 * current_.y - lastControl_.y}
                                    : current_;
    const Vec2 reflectedQuadratic = previous_ == 'Q' || previous_ == 'T'
                                        ? Vec2{2 * current_.x - lastQuadratic_.x,
                                               2 * current_.y - lastQuadratic_.y}
                                        : current_;
    switch (upper) {
      case 'M': moveTo(point()); break;
      case 'L': add(point()); break;
      case 'H': add({base.x + number(), current_.y}); break;
      case 'V': add({current_.x, base.y + number()}); break;
      case 'C': {
        const Vec2 a = point(), b = point(), c = point();
        cubic(a, b, c);
        break;
      }
      case 'S': {
        const Vec2 b = point(), c = point();
        cubic(reflectedCubic, b, c);
        break;
      }
      case 'Q': {
        const Vec2 a = point(), b = point();
        quadratic(a, b);
        break;
      }
      case 'T': quadratic(reflectedQuadratic, point()); break;
      case 'A': {
        const double rx = number(), ry = number(), angle = number();
        const bool large = flag();
        const bool sweep = flag();
        arc(rx, ry, angle, large, sweep, point());
        break;
      }
      case 'Z':
        add(start_);
        break;
      default:
        --at_;
        fail(std::string("'") + command + "' is no path command");
    }
    previous_ = upper;
  }

  std::string_view data_;
  double tolerance_;
  std::size_t at_ = 0;
  std::size_t points_ = 0;
  std::vector<PathPolyline> paths_;
  Vec2 current_, start_, lastControl_, lastQuadratic_;
  char previous_ = 0;
};

}  // namespace

std::vector<PathPolyline> readSvgPath(std::string_view data, double tolerance) {
  if (!(tolerance > 0)) throw Error("The path tolerance must be above 0.");
  std::vector<PathPolyline> paths = PathReader(data, tolerance).read();
  std::erase_if(paths, [](const PathPolyline& p) { return p.size() < 2; });
  return paths;
}

}  // namespace kerfline
