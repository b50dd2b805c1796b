#include "mainwindow/toolbar_icons.h"

#include <QFont>
#include <functional>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace kerfline {
namespace {

// Drawn on a 16-unit grid and scaled, so they stay crisp at any toolbar size.
QIcon drawn(int size, const std::function<void(QPainter&)>& draw) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  draw(p);
  return QIcon(pm);
}

QIcon letter(int size, const QString& text, bool bold, bool italic) {
  return drawn(size, [&](QPainter& p) {
    QFont f(QStringLiteral("Serif"));
    f.setPixelSize(14);
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
  });
}

}  // namespace

QIcon toolIcon(ToolIcon kind, const QStyle* style, int size) {
  const QPen ink(QColor(40, 40, 40), 1.2);
  switch (kind) {
    case ToolIcon::New: return style->standardIcon(QStyle::SP_FileIcon);
    case ToolIcon::Open: return style->standardIcon(QStyle::SP_DirOpenIcon);
    case ToolIcon::Save: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case ToolIcon::Undo: return style->standardIcon(QStyle::SP_ArrowBack);
    case ToolIcon::Prev: return style->standardIcon(QStyle::SP_MediaSeekBackward);
    case ToolIcon::Next: return style->standardIcon(QStyle::SP_MediaSeekForward);
    case ToolIcon::Scan: return style->standardIcon(QStyle::SP_MediaPlay);
    case ToolIcon::Bold: return letter(size, QStringLiteral("B"), true, false);
    case ToolIcon::Italic: return letter(size, QStringLiteral("I"), false, true);
    case ToolIcon::Cut:
      return drawn(size, [&](QPainter& p) {
        p.setPen(ink);
        p.drawLine(QPointF(4, 1), QPointF(10.5, 11));
        p.drawLine(QPointF(12, 1), QPointF(5.5, 11));
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
      });
    case ToolIcon::Copy:
      return drawn(size, [&](QPainter& p) {
        p.setPen(ink);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
      });
    case ToolIcon::Paste:
      return drawn(size, [&](QPainter& p) {
        p.setPen(ink);
        p.setBrush(QColor(200, 160, 90));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 1, 4, 3));
        p.drawRect(QRectF(7.5, 7.5, 7, 8));
      });
    case ToolIcon::Pitch:
      return drawn(size, [&](QPainter& p) {
        p.setPen(ink);
        p.drawLine(QPointF(1, 3.5), QPointF(9, 3.5));
        p.drawLine(QPointF(1, 12.5), QPointF(9, 12.5));
        p.setPen(QPen(Qt::red, 1.2));
        p.drawLine(QPointF(12.5, 3), QPointF(12.5, 13));
        QPainterPath up, down;
        up.moveTo(10, 6); up.lineTo(12.5, 3); up.lineTo(15, 6);
        down.moveTo(10, 10); down.lineTo(12.5, 13); down.lineTo(15, 10);
        p.drawPath(up);
        p.drawPath(down);
      });
  }
  return {};
}

}  // namespace kerfline
