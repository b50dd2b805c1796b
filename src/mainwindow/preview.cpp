#include <QLabel>
#include <QPainter>

#include "mainwindow/Unit1.h"
#include "mainwindow/paint_box.h"
#include "mainwindow/preview_geometry.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {

void TMainForm::PaintBoxPaint(QPainter& painter, int paintHeight) {
  TTF2Vector.SetFont(ConversionFont);
  TTF2Vector.SetPrecision(Resolution1->Value());
  QPen pen(QColor(255, 0, 0), 0);
  // Flat caps leave a line's end pixel unpainted, as the platform line primitive of the
  // original drawing does; the next stroke of a contour paints it.
  pen.setCapStyle(Qt::FlatCap);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(pen);

  const int scale = ScaleEdit1->Value();
  if (scale <= 0) {
    UnitScale = 1.0f;
  } else {
    CharFontSize = RichEdit2.font.Size;
    UnitScale = unitScaleFor(scale, CharFontSize);
  }

  const std::optional<TStrokeCollection> strokes = TTF2Vector.ConvertChar(static_cast<std::int32_t>(CurChar));
  if (!strokes) return;
  const TRect bounds = strokes->GetBounds();
  CharHeight = charHeightOf(bounds, UnitScale);
  Label6->setText(QString::fromStdString(heightLabelText(bounds, UnitScale)));
  Label5->setText(QString::fromStdString(widthLabelText(bounds, UnitScale)));

  for (const TStroke& s : strokes->strokes()) {
    const PreviewLine l = previewLine(s, bounds, paintHeight);
    if (l.x1 == l.x2 && l.y1 == l.y2) continue;  // a zero-length line paints nothing
    painter.drawLine(l.x1, l.y1, l.x2, l.y2);
  }
  Label3->setText(QString::number(strokes->Count() - 1));
}

void TMainForm::requestRepaint() { PaintBox->update(); }

}  // namespace kerfline
