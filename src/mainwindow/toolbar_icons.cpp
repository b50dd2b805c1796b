#include "mainwindow/toolbar_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <memory>

namespace kerfline {
namespace {

// Renders the drawing at exactly the pixels asked for: QIcon asks in device pixels on a
// scaled screen, so nothing is ever scaled up from a smaller picture.
class SvgIconEngine final : public QIconEngine {
 public:
  explicit SvgIconEngine(QString resource)
      : resource_(std::move(resource)), renderer_(std::make_unique<QSvgRenderer>(resource_)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    if (mode == QIcon::Disabled) painter->setOpacity(0.35);
    renderer_->render(painter, QRectF(rect));
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pm;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QIconEngine* clone() const override { return new SvgIconEngine(resource_); }
  QString key() const override { return QStringLiteral("KerflineSvgIcon"); }
  bool isNull() override { return !renderer_->isValid(); }

 private:
  QString resource_;
  std::unique_ptr<QSvgRenderer> renderer_;
};

const char* fileOf(ToolIcon kind) {
  switch (kind) {
    case ToolIcon::New: return "new";
    case ToolIcon::Open: return "open";
    case ToolIcon::Save: return "save";
    case ToolIcon::Cut: return "cut";
    case ToolIcon::Copy: return "copy";
    case ToolIcon::Paste: return "paste";
    case ToolIcon::Undo: return "undo";
    case ToolIcon::Bold: return "bold";
    case ToolIcon::Italic: return "italic";
    case ToolIcon::Pitch: return "pitch";
    case ToolIcon::Scan: return "scan";
    case ToolIcon::Prev: return "prev";
    case ToolIcon::Next: return "next";
    case ToolIcon::FitJob: return "fit";
    case ToolIcon::ZoomIn: return "zoom_in";
    case ToolIcon::ZoomOut: return "zoom_out";
    case ToolIcon::CutOrder: return "cut_order";
  }
  return "new";
}

}  // namespace

QString toolIconResource(ToolIcon kind) {
  return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(fileOf(kind)));
}

QIcon toolIcon(ToolIcon kind, const QStyle*, int) {
  return QIcon(new SvgIconEngine(toolIconResource(kind)));
}

}  // namespace kerfline
