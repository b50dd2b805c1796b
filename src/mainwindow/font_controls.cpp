#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

#include "common/error.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/font_list.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "windowlogic/window_text.h"
#include "vectorizer/single_line_faces.h"

namespace kerfline {

TFontDescription TMainForm::CurrText() const {
  return RichEdit1->selLength() >= 1 ? RichEdit1->selAttributes() : RichEdit1->defAttributes();
}

void TMainForm::setCurrText(const TFontDescription& f, unsigned fields) {
  if (RichEdit1->selLength() >= 1)
    RichEdit1->setSelAttributes(f, fields);
  else
    RichEdit1->setDefAttributes(f, fields);
}

void TMainForm::GetFontNames() {
  // fontconfig's families stand for the typefaces the system would enumerate; raster
  // and vector faces are not filtered out either.
  FontName->clear();
  FontName->addItems(sortedFaceNames(QFontDatabase::families()));
  // Single-line faces join the list in order, marked; the item's data is the name the
  // formatting stores.
  const auto before = [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  };
  const QString mark = QString::fromUtf8(kSingleLineMark.data(), qsizetype(kSingleLineMark.size()));
  for (const SingleLineFace& face : SingleLineFaces::shared().faces()) {
    const QString name = QString::fromStdString(face.name);
    int at = 0;
    while (at < FontName->count() && before(FontName->itemText(at), name + mark)) ++at;
    FontName->insertItem(at, name + mark, name);
  }
  // The list drops down wider than the box when a name needs it ("Hershey Gothic English
  // Triplex (single-line)"), instead of eliding the part that tells faces apart.
  int widest = 0;
  for (int i = 0; i < FontName->count(); ++i)
    widest = std::max(widest, FontName->fontMetrics().horizontalAdvance(FontName->itemText(i)));
  FontName->view()->setMinimumWidth(widest + FontName->view()->verticalScrollBar()->sizeHint().width() +
                                    2 * FontName->view()->frameWidth() + 8);
}

QString TMainForm::faceNameAt(int index) const {
  const QVariant data = FontName->itemData(index);
  return data.isValid() ? data.toString() : FontName->itemText(index);
}

void TMainForm::SelectionChange() {
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(ToolbarUpdating);
  const TFontDescription f = RichEdit1->selAttributes();
  BoldButton->setChecked(f.Bold);
  ItalicButton->setChecked(f.Italic);
  FontSize->setText(QString::number(f.Size));
  const QString name = QString::fromStdString(f.Name);
  int index = FontName->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
  if (index < 0) index = FontName->findData(name);  // a single-line face, listed marked
  FontName->setCurrentIndex(index);
  FontName->setEditText(index >= 0 ? FontName->itemText(index) : name);
}

void TMainForm::FontNameChange() {
  if (ToolbarUpdating) return;
  // Typed text that names no entry selects none; there is no face to apply then.
  const int index = FontName->currentIndex();
  if (index < 0) return;
  TFontDescription f = CurrText();
  f.Name = faceNameAt(index).toStdString();
  setCurrText(f, AttrFaceName);
}

void TMainForm::FontSizeChange() {
  if (ToolbarUpdating) return;
  const QString text = FontSize->text();
  const auto size = parseWholeNumber(text.toStdString());
  if (!size) throw Error(tr("'%1' is not a valid integer value").arg(text).toStdString());
  // The point size scales the character's outline in the drawing: 0 would collapse it to a
  // point and a negative size would mirror it.
  if (*size < 1) throw Error(tr("'%1' is not a valid font size: use 1 point or more").arg(text).toStdString());
  TFontDescription f = CurrText();
  f.Size = *size;
  setCurrText(f, AttrSize);
}

// The style buttons write only their own flag, so a selection mixing other styles keeps them.
void TMainForm::BoldButtonClick() {
  if (ToolbarUpdating) return;
  TFontDescription f = CurrText();
  f.Bold = BoldButton->isChecked();
  setCurrText(f, AttrBold);
}

void TMainForm::ItalicButtonClick() {
  if (ToolbarUpdating) return;
  TFontDescription f = CurrText();
  f.Italic = ItalicButton->isChecked();
  setCurrText(f, AttrItalic);
}

void TMainForm::Fontselection1Click() {
  ConversionFont = RichEdit1->selAttributes();
  QFont initial(QString::fromStdString(ConversionFont.Name));
  if (ConversionFont.Size > 0) initial.setPointSize(ConversionFont.Size);
  initial.setBold(ConversionFont.Bold);
  initial.setItalic(ConversionFont.Italic);
  initial.setUnderline(ConversionFont.Underline);
  initial.setStrikeOut(ConversionFont.StrikeOut);
  std::optional<QFont> chosen;
  try {
    chosen = chooseFont(initial);
    if (chosen) {
      // Colour, character set and pitch are not offered by the dialog and stay as they were.
      TFontDescription f = ConversionFont;
      f.Name = bareFaceName(chosen->family()).toStdString();
      if (chosen->pointSize() > 0) f.Size = chosen->pointSize();
      f.Bold = chosen->bold();
      f.Italic = chosen->italic();
      f.Underline = chosen->underline();
      f.StrikeOut = chosen->strikeOut();
      ConversionFont = f;
      setCurrText(f, AttrAll);
    }
  } catch (...) {
    SelectionChange();
    RichEdit1->setFocus();
    throw;
  }
  SelectionChange();
  RichEdit1->setFocus();
}

void TMainForm::UpdateFont(std::int32_t p) {
  const std::u32string text = RichEdit1->text();
  RichEdit2.text.assign(1, text.at(static_cast<std::size_t>(p - 1)));
  RichEdit1->setSelLength(0);
  RichEdit1->setSelStart(p);
  RichEdit1->setFocus();
  RichEdit2.font = RichEdit1->selAttributes();
  ConversionFont = RichEdit2.font;
  recomputeUnitScale();
}

void TMainForm::recomputeUnitScale() {
  const int scale = ScaleEdit1->Value();
  if (scale <= 0) {
    UnitScale = 1.0f;  // CharFontSize keeps its value
  } else {
    CharFontSize = RichEdit2.font.Size;
    UnitScale = unitScaleFor(scale, CharFontSize);
  }
}

}  // namespace kerfline
