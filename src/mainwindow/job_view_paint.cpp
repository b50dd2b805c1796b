#include "mainwindow/job_view_paint.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

#include "mainwindow/job_scene.h"
#include "windowlogic/ruler_scale.h"

namespace kerfline {
namespace {

const QColor kPaper(255, 255, 255);
const QColor kMinorGrid(236, 238, 242);
const QColor kMajorGrid(214, 218, 226);
const QColor kInk(20, 20, 20);
const QColor kOrigin(200, 40, 40);
const QColor kHighlightFill(255, 236, 150);
const QColor kHighlightInk(0, 90, 220);
const QColor kTravel(0, 150, 90);
const QColor kNumber(150, 60, 0);
const QColor kSmallPrint(150, 150, 150);
const QColor kRuler(244, 244, 244);
const QColor kRulerInk(70, 70, 70);
// A carving's shades run from the surface's light wood to the deepest cut's dark brown; its
// flat floors are hatched in a colour of their own.
const QColor kShallowCut(236, 214, 170);
const QColor kDeepCut(92, 52, 22);
const QColor kFloor(0, 120, 140);

// Major grid lines at least this far apart, so that ruler labels never run into each other.
constexpr double kMajorPixels = 70;
// Characters less tall than this on the screen are drawn as their boxes.
constexpr double kShapePixels = 5;
// No more grid lines than this per direction, whatever a degenerate scale asks for.
constexpr std::int64_t kMaxGridLines = 4000;

QTransform toScreen(const ViewTransform& t) {
  return QTransform(t.scale(), 0, 0, -t.scale(), t.origin().x, t.origin().y);
}

// Inclusive overlap: a character of one straight line has a box without height.
bool overlaps(const QRectF& a, const Extent& b) {
  return a.left() <= b.maxX && a.right() >= b.minX && a.top() <= b.maxY && a.bottom() >= b.minY;
}

void paintGrid(QPainter& p, const QRect& area, const ViewTransform& t, const GridSpacing& g) {
  const Extent seen = t.visibleArea({double(area.x()), double(area.y()), double(area.width()), double(area.height())});
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const bool major : {false, true}) {
    const double step = major ? g.major : g.minor;
    p.setPen(QPen(major ? kMajorGrid : kMinorGrid, 0));
    std::int64_t first, last;
    gridIndices(seen.minX, seen.maxX, step, kMaxGridLines, first, last);
    for (std::int64_t k = first; k <= last; ++k) {
      const double x = std::round(t.toScreen({double(k) * step, 0}).x) + 0.5;
      p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom() + 1));
    }
    gridIndices(seen.minY, seen.maxY, step, kMaxGridLines, first, last);
    for (std::int64_t k = first; k <= last; ++k) {
      const double y = std::round(t.toScreen({0, double(k) * step}).y) + 0.5;
      p.drawLine(QPointF(area.left(), y), QPointF(area.right() + 1, y));
    }
  }
}

void paintOrigin(QPainter& p, const ViewTransform& t) {
  const ScreenPoint o = t.toScreen({0, 0});
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kOrigin, 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(o.x - 10, o.y), QPointF(o.x + 10, o.y));
  p.drawLine(QPointF(o.x, o.y - 10), QPointF(o.x, o.y + 10));
  p.drawEllipse(QPointF(o.x, o.y), 4.5, 4.5);
}

// A small arrowhead at a contour's start, along its first edge: the direction of the cut.
void paintDirection(QPainter& p, const QTransform& m, const Contour& k) {
  if (k.points.size() < 2) return;
  const QPointF a = m.map(QPointF(k.points[0].x, k.points[0].y));
  const QPointF b = m.map(QPointF(k.points[1].x, k.points[1].y));
  const QPointF d = b - a;
  const double len = std::hypot(d.x(), d.y());
  if (len < 1e-9) return;
  const QPointF u = d / len;
  const QPointF n(-u.y(), u.x());
  const QPointF tip = a + u * 9;
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip - u * 7 + n * 3.5);
  head.lineTo(tip - u * 7 - n * 3.5);
  head.closeSubpath();
  p.fillPath(head, kNumber);
}

// A label goes beside its start point on the first side where it covers no label placed just
// before it (contours that start close together are usually cut one after the other).
QRectF placeLabel(const QPointF& at, const QSizeF& size, std::vector<QRectF>& placed) {
  constexpr std::size_t kNeighbours = 24;
  const QPointF offsets[] = {{4, 4}, {4, -4 - size.height()}, {-4 - size.width(), 4},
                             {-4 - size.width(), -4 - size.height()}};
  QRectF chosen(at + offsets[0], size);
  for (const QPointF& o : offsets) {
    const QRectF r(at + o, size);
    bool free = true;
    for (std::size_t i = placed.size() > kNeighbours ? placed.size() - kNeighbours : 0; i < placed.size(); ++i)
      if (placed[i].intersects(r)) free = false;
    if (free) {
      chosen = r;
      break;
    }
  }
  placed.push_back(chosen);
  return chosen;
}

void paintCutOrder(QPainter& p, const JobScene& s, const SceneChunk& c, const QTransform& m,
                   const Extent& seen, std::vector<QRectF>& placed) {
  // Digits share one width in the usual faces; measuring each label would shape its text twice.
  const QFontMetricsF fm(p.font());
  const double digitWidth = fm.horizontalAdvance(QLatin1Char('0'));
  const double lineHeight = fm.height();
  std::int32_t number = c.firstContour;
  for (std::int32_t i = c.firstCharacter; i < c.endCharacter; ++i) {
    const PlacedCharacter& ch = s.drawing.characters[static_cast<std::size_t>(i)];
    const QRectF& box = s.characterBoxes[static_cast<std::size_t>(i)];
    const bool large = box.height() * m.m11() >= kNumberedCharacterPixels ||
                       box.width() * m.m11() >= kNumberedCharacterPixels;
    for (const Contour& k : ch.contours) {
      ++number;
      if (!large || k.points.empty()) continue;
      const Vec2& start = k.points.front();
      if (start.x < seen.minX || start.x > seen.maxX || start.y < seen.minY || start.y > seen.maxY) continue;
      paintDirection(p, m, k);
      const QPointF at = m.map(QPointF(start.x, start.y));
      const QString text = QString::number(number);
      const QRectF label = placeLabel(at, QSizeF(digitWidth * text.size() + 4, lineHeight), placed);
      p.fillRect(label, QColor(255, 255, 255, 210));
      p.setPen(kNumber);
      p.drawText(label, Qt::AlignCenter, text);
      p.fillRect(QRectF(at - QPointF(2, 2), QSizeF(4, 4)), kNumber);
    }
  }
}

QColor shadeAt(double share) {
  const double t = std::clamp(share, 0.0, 1.0);
  const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
  return QColor(mix(kShallowCut.red(), kDeepCut.red()), mix(kShallowCut.green(), kDeepCut.green()),
                mix(kShallowCut.blue(), kDeepCut.blue()));
}

// The grooves as wide as the V-bit cuts at each depth (its footprint), in bands shaded from
// the light rim to the dark line, deeper bands over shallower; then the flat floors hatched.
// m maps drawing units to the image.
void renderCarving(QPainter& p, const CarveShading& c, const QTransform& m) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setTransform(m);
  for (const CarveBand& band : c.bands) {
    const QPolygonF& run = c.runs[static_cast<std::size_t>(band.run)];
    p.setPen(QPen(shadeAt(band.depth / c.deepest), band.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(run);
  }
  if (c.floors.empty()) return;
  QPainterPath floors;
  floors.setFillRule(Qt::OddEvenFill);
  for (const QPolygonF& ring : c.floors) {
    floors.addPolygon(m.map(ring));
    floors.closeSubpath();
  }
  // The hatch in screen pixels, so that it reads the same at every zoom.
  p.resetTransform();
  p.setPen(QPen(kFloor, 1));
  p.setBrush(QBrush(kFloor, Qt::BDiagPattern));
  p.drawPath(floors);
}

// Thousands of wide strokes take a good part of a second: the carving is painted once per
// shading, zoom, position and size, and a frame that only moves the highlight or the caret
// reuses the picture.
void paintCarving(QPainter& p, const CarveShading& c, const QTransform& m, const QSize& size) {
  struct Painted {
    std::uint64_t serial = 0;
    QTransform transform;
    QSize size;
    qreal ratio = 0;
    QImage image;
  };
  static Painted cache;  // the window's thread only, as all painting
  const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
  if (cache.serial != c.serial || cache.transform != m || cache.size != size || cache.ratio != ratio) {
    cache = Painted{c.serial, m, size, ratio, QImage(size * ratio, QImage::Format_ARGB32_Premultiplied)};
    cache.image.setDevicePixelRatio(ratio);
    cache.image.fill(Qt::transparent);
    QPainter own(&cache.image);
    renderCarving(own, c, m);
  }
  p.save();
  p.resetTransform();
  p.drawImage(QPointF(0, 0), cache.image);
  p.restore();
}

void paintRulers(QPainter& p, const QSize& size, const ViewTransform& t, const GridSpacing& g,
                 int ruler, const QString& unit) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(kRuler);
  p.drawRect(QRect(0, 0, size.width(), ruler));
  p.drawRect(QRect(0, 0, ruler, size.height()));
  p.setPen(QPen(kRulerInk, 0));
  p.drawLine(QPointF(ruler - 0.5, ruler - 0.5), QPointF(size.width(), ruler - 0.5));
  p.drawLine(QPointF(ruler - 0.5, ruler - 0.5), QPointF(ruler - 0.5, size.height()));

  const Extent seen = t.visibleArea({double(ruler), double(ruler), double(size.width() - ruler),
                                     double(size.height() - ruler)});
  const QFontMetricsF fm(p.font());
  for (const bool major : {false, true}) {
    const double step = major ? g.major : g.minor;
    const double tick = major ? ruler * 0.45 : ruler * 0.2;
    std::int64_t first, last;
    gridIndices(seen.minX, seen.maxX, step, kMaxGridLines, first, last);
    for (std::int64_t k = first; k <= last; ++k) {
      const double x = std::round(t.toScreen({double(k) * step, 0}).x) + 0.5;
      p.drawLine(QPointF(x, ruler - tick), QPointF(x, ruler));
      if (major)
        p.drawText(QPointF(x + 3, fm.ascent() + 1), QString::fromStdString(rulerLabel(k, step, g.decimals)));
    }
    gridIndices(seen.minY, seen.maxY, step, kMaxGridLines, first, last);
    for (std::int64_t k = first; k <= last; ++k) {
      const double y = std::round(t.toScreen({0, double(k) * step}).y) + 0.5;
      p.drawLine(QPointF(ruler - tick, y), QPointF(ruler, y));
      if (major) {
        // Read from below, as drawing programs label a vertical ruler.
        p.save();
        p.translate(fm.ascent() + 1, y - 3);
        p.rotate(-90);
        p.drawText(QPointF(0, 0), QString::fromStdString(rulerLabel(k, step, g.decimals)));
        p.restore();
      }
    }
  }
  // The unit in the corner where the rulers meet.
  p.setPen(Qt::NoPen);
  p.setBrush(kRuler);
  p.drawRect(QRect(0, 0, ruler - 1, ruler - 1));
  p.setPen(kRulerInk);
  p.drawText(QRectF(0, 0, ruler - 1, ruler - 1), Qt::AlignCenter, unit);
}

}  // namespace

void paintJobFrame(QPainter& p, const QSize& size, const JobScene* scene,
                   const ViewTransform& t, const JobPaintOptions& o) {
  const QRect area(o.ruler, o.ruler, size.width() - o.ruler, size.height() - o.ruler);
  p.fillRect(QRect(QPoint(0, 0), size), kPaper);
  const GridSpacing g = gridSpacingFor(t.scale(), kMajorPixels);
  p.save();
  p.setClipRect(area);
  paintGrid(p, area, t, g);
  paintOrigin(p, t);
  if (scene) {
    const Extent seen = t.visibleArea({double(area.x()), double(area.y()), double(area.width()),
                                       double(area.height())});
    const QTransform m = toScreen(t);
    const std::int32_t lit = o.highlight > 0 ? scene->characterAt(o.highlight) : -1;
    if (lit >= 0) {
      const QRectF box = m.mapRect(scene->characterBoxes[static_cast<std::size_t>(lit)]);
      p.fillRect(box.adjusted(-3, -3, 3, 3), kHighlightFill);
    }
    // Hairlines: one device pixel whatever the zoom, drawn through the view's transform
    // straight from the arrays built once per layout. Characters too small to show their
    // shape are drawn as their boxes: the same grey a page of small print makes, at a
    // fraction of the cost of thousands of sub-pixel lines.
    if (!scene->carving.empty()) paintCarving(p, scene->carving, m, size);
    p.setTransform(m);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 0));
    for (const SceneChunk& c : scene->chunks) {
      if (!overlaps(c.box, seen)) continue;
      if (c.tallest * t.scale() < kShapePixels) {
        p.setPen(Qt::NoPen);
        p.setBrush(kSmallPrint);
        p.drawRects(scene->characterBoxes.data() + c.firstCharacter, c.endCharacter - c.firstCharacter);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 0));
        continue;
      }
      std::int32_t from = 0;
      for (const std::int32_t end : c.contourEnds) {
        p.drawPolyline(c.points.data() + from, end - from);
        from = end;
      }
    }
    if (lit >= 0) {
      QPainterPath own;
      for (const Contour& k : scene->drawing.characters[static_cast<std::size_t>(lit)].contours) {
        if (k.points.empty()) continue;
        own.moveTo(k.points.front().x, k.points.front().y);
        for (std::size_t j = 1; j < k.points.size(); ++j) own.lineTo(k.points[j].x, k.points[j].y);
        if (k.closed) own.closeSubpath();
      }
      p.setRenderHint(QPainter::Antialiasing, true);
      QPen pen(kHighlightInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
      pen.setCosmetic(true);
      p.setPen(pen);
      p.drawPath(own);
    }
    // The order shown is the outlines'; a carving's strokes run elsewhere, so none is shown.
    if (o.cutOrder && scene->carving.empty()) {
      QPen dash(kTravel, 0, Qt::DashLine);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setPen(dash);
      for (const SceneChunk& c : scene->chunks)
        if (overlaps(c.box, seen)) p.drawLines(c.travels.data(), static_cast<int>(c.travels.size()));
      p.resetTransform();
      p.setRenderHint(QPainter::Antialiasing, true);
      QFont small = p.font();
      small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.85));
      p.setFont(small);
      std::vector<QRectF> placed;
      for (const SceneChunk& c : scene->chunks)
        if (overlaps(c.box, seen)) paintCutOrder(p, *scene, c, m, seen, placed);
    }
  }
  p.restore();
  paintRulers(p, size, t, g, o.ruler, scene ? QString::fromStdString(scene->units) : QStringLiteral("mm"));
}

}  // namespace kerfline
