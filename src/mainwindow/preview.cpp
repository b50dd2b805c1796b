#include <QLabel>
#include <QPainter>
#include <QList>
#include <QPoint>

#include "mainwindow/Unit1.h"
#include "mainwindow/paint_box.h"
#include "windowlogic/preview_geometry.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {

void TMainForm::PaintBoxPaint(QPainter& painter, int paintHeight) {
  TTF2Vector.SetFont(ConversionFont);
  TTF2Vector.SetPrecision(Resolution1->Value());
  // A one-pixel pen; the lines are rasterised here (end pixel left out, whatever the
  // direction) and painted as points, which Qt's own line drawing cannot promise.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QColor(255, 0, 0), 0));

  recomputeUnitScale();  // on every paint, whatever the conversion gives

  // Font spacing cuts a character in the form its neighbours give it (Arabic joining); the
  // preview shows that form, and the character map's own glyph otherwise.
  std::optional<TStrokeCollection> strokes = shapedPreviewStrokes();
  if (!strokes) strokes = TTF2Vector.ConvertChar(static_cast<std::int32_t>(CurChar));
  if (!strokes) return;
  const TRect bounds = strokes->GetBounds();
  CharHeight = charHeightOf(bounds, UnitScale);
  Label6->setText(QString::fromStdString(heightLabelText(bounds, UnitScale)));
  Label5->setText(QString::fromStdString(widthLabelText(bounds, UnitScale)));

  std::vector<PreviewPixel> pixels;
  const std::vector<TStroke>& all = strokes->strokes();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const PreviewLine line = previewLine(all[i], bounds, paintHeight);
    appendLinePixels(line, pixels);
    // A line leaves out its end pixel, which a closed contour's next line starts on; an open
    // path (or a dot) of a single-line face would lose its last point.
    const bool endsPath = i + 1 == all.size() || all[i + 1].Contour != all[i].Contour;
    if (strokes->openPaths() && endsPath) pixels.push_back(PreviewPixel{line.x2, line.y2});
  }
  QList<QPoint> points;
  points.reserve(static_cast<qsizetype>(pixels.size()));
  for (const PreviewPixel& p : pixels) points.append(QPoint(p.x, p.y));
  painter.drawPoints(points.constData(), static_cast<int>(points.size()));
  Label3->setText(QString::number(strokes->Count() - 1));
}

void TMainForm::requestRepaint() { PaintBox->update(); }

}  // namespace kerfline
