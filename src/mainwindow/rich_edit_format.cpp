#include "mainwindow/rich_edit_format.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "mainwindow/rich_edit.h"
#include "vectorizer/script_face_name.h"

namespace kerfline {
namespace {

// Pasted HTML may give sizes in pixels; the window works at 96 pixels per inch.
int pixelsToPoints(double px) { return static_cast<int>(std::lround(px * 72.0 / 96.0)); }

// The face first, as stored. A Windows script name that no installed family has ("Arial CE")
// is followed by the family Qt shows for its base name, which the exports cut as well; Qt
// alone would show its default face and skip the base name's substitution.
QStringList editorFamilies(const std::string& name) {
  const QString face = QString::fromStdString(name);
  const std::optional<std::string> base = scriptFaceBaseName(name);
  if (!base || QFontDatabase::hasFamily(face)) return {face};
  return {face, QFontInfo(QFont(QString::fromStdString(*base))).family()};
}

}  // namespace

QTextCharFormat toCharFormat(const TFontDescription& f, unsigned fields) {
  QTextCharFormat fmt;
  // The face is stored as given, not as fontconfig resolves it: the exports look it up again.
  if (fields & AttrFaceName) fmt.setFontFamilies(editorFamilies(f.Name));
  if (fields & AttrSize) fmt.setFontPointSize(f.Size);
  if (fields & AttrBold) fmt.setFontWeight(f.Bold ? QFont::Bold : QFont::Normal);
  if (fields & AttrItalic) fmt.setFontItalic(f.Italic);
  if (fields & AttrUnderline) fmt.setFontUnderline(f.Underline);
  if (fields & AttrStrikeOut) fmt.setFontStrikeOut(f.StrikeOut);
  if (fields & AttrColor) fmt.setForeground(QColor::fromRgb(0xFF000000u | (f.Color & 0xFFFFFFu)));
  if (fields & AttrCharSet) fmt.setProperty(CharSetProperty, f.CharSet);
  if (fields & AttrPitch) fmt.setProperty(PitchProperty, static_cast<int>(f.Pitch));
  return fmt;
}

TFontDescription fromCharFormat(const QTextCharFormat& format, const QFont& fallback) {
  TFontDescription f;
  QString face;
  if (format.hasProperty(QTextFormat::FontFamilies))
    face = format.property(QTextFormat::FontFamilies).toStringList().value(0);
  else if (format.hasProperty(QTextFormat::OldFontFamily))
    face = format.property(QTextFormat::OldFontFamily).toString();
  else
    face = fallback.families().value(0, fallback.family());
  f.Name = face.toStdString();

  if (format.hasProperty(QTextFormat::FontPointSize))
    f.Size = static_cast<int>(std::lround(format.fontPointSize()));
  else if (format.hasProperty(QTextFormat::FontPixelSize))
    f.Size = pixelsToPoints(format.intProperty(QTextFormat::FontPixelSize));
  else if (fallback.pointSizeF() > 0)
    f.Size = static_cast<int>(std::lround(fallback.pointSizeF()));
  else
    f.Size = pixelsToPoints(fallback.pixelSize());
  // The point size scales the character in the drawing; pasted HTML may ask for a fraction of
  // a point, which must not collapse the character to nothing.
  f.Size = std::max(f.Size, 1);

  f.Bold = (format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : fallback.weight()) >=
           QFont::Bold;
  f.Italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : fallback.italic();
  f.Underline = format.hasProperty(QTextFormat::TextUnderlineStyle) ||
                        format.hasProperty(QTextFormat::FontUnderline)
                    ? format.fontUnderline()
                    : fallback.underline();
  f.StrikeOut =
      format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut() : fallback.strikeOut();

  const QBrush fg = format.foreground();
  f.Color = fg.style() == Qt::NoBrush ? 0u : (fg.color().rgb() & 0xFFFFFFu);
  if (format.hasProperty(CharSetProperty)) f.CharSet = format.intProperty(CharSetProperty);
  if (format.hasProperty(PitchProperty)) {
    const int pitch = format.intProperty(PitchProperty);
    f.Pitch = pitch >= 0 && pitch <= 2 ? static_cast<TFontPitch>(pitch) : TFontPitch::Default;
  }
  return f;
}

TFontDescription mergeFields(TFontDescription base, const TFontDescription& f, unsigned fields) {
  if (fields & AttrFaceName) base.Name = f.Name;
  if (fields & AttrSize) base.Size = f.Size;
  if (fields & AttrBold) base.Bold = f.Bold;
  if (fields & AttrItalic) base.Italic = f.Italic;
  if (fields & AttrUnderline) base.Underline = f.Underline;
  if (fields & AttrStrikeOut) base.StrikeOut = f.StrikeOut;
  if (fields & AttrColor) base.Color = f.Color;
  if (fields & AttrCharSet) base.CharSet = f.CharSet;
  if (fields & AttrPitch) base.Pitch = f.Pitch;
  return base;
}

QFont toFont(const TFontDescription& f, QFont base) {
  base.setFamilies(editorFamilies(f.Name));
  if (f.Size > 0) base.setPointSize(f.Size);
  base.setBold(f.Bold);
  base.setItalic(f.Italic);
  base.setUnderline(f.Underline);
  base.setStrikeOut(f.StrikeOut);
  return base;
}

}  // namespace kerfline
