// The window's typography controls: the Spacing choice beside Space %, the three alignment
// buttons on the toolbar and the "auto" box beside Pitch, with their settings-file section.
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include "appcore/toolpath_settings.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/layout_panel.h"
#include "mainwindow/rich_edit.h"
#include "mainwindow/spin_edit.h"
#include "richtext/styled_text.h"
#include "typography/glyph_in_context.h"

namespace kerfline {
namespace {

// Four strokes of text, ragged on the sides alignment leaves free; drawn on a 16-unit grid.
QIcon alignmentIcon(Alignment align, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  p.setPen(QPen(QColor(40, 40, 40), 1.4));
  const double widths[] = {13, 8, 11, 6};
  for (int i = 0; i < 4; ++i) {
    const double w = widths[i];
    double x = 1.5;
    if (align == Alignment::Center) x = 8 - w / 2;
    if (align == Alignment::Right) x = 14.5 - w;
    const double y = 2.5 + i * 3.7;
    p.drawLine(QPointF(x, y), QPointF(x + w, y));
  }
  return QIcon(pm);
}

}  // namespace

void TMainForm::createAlignmentButtons() {
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  auto button = [&](const char* name, Alignment align, const QString& hint) {
    auto* b = new QToolButton(StandardToolBar);
    b->setObjectName(QString::fromLatin1(name));
    b->setCheckable(true);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(alignmentIcon(align, 32));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    group->addButton(b);
    StandardToolBar->addWidget(b);
    return b;
  };
  AlignLeftBtn = button("AlignLeftBtn", Alignment::Left, tr("Align lines left"));
  AlignCenterBtn = button("AlignCenterBtn", Alignment::Center, tr("Centre lines on the widest line"));
  AlignRightBtn = button("AlignRightBtn", Alignment::Right, tr("Align lines right"));
  AlignLeftBtn->setChecked(true);
}

QWidget* TMainForm::withSpacingChoice(QWidget* spaceField) {
  auto* cell = new QWidget(Panel1);
  auto* row = new QHBoxLayout(cell);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(dp(4));
  row->addWidget(spaceField);
  SpacingLabel = new QLabel(tr("Spacing"), cell);
  SpacingLabel->setObjectName(QStringLiteral("SpacingLabel"));
  SpacingBox = new QComboBox(cell);
  SpacingBox->setObjectName(QStringLiteral("SpacingBox"));
  SpacingBox->addItem(tr("classic"));
  SpacingBox->addItem(tr("font"));
  // As wide as the panel was designed for; the open list shows every choice in full.
  SpacingBox->setFixedWidth(SpacingBox->sizeHint().width());
  SpacingBox->addItem(tr("font + ligatures"));
  SpacingBox->view()->setMinimumWidth(SpacingBox->view()->sizeHintForColumn(0) + dp(16));
  const QString hint = tr("classic: each character after the one before, stretched by Space %; "
                          "font: the font's own spacing and kerning, Space % adds tracking; "
                          "font + ligatures: also the font's optional ligatures (fi, fl...)");
  SpacingBox->setToolTip(hint);
  SpacingBox->setStatusTip(hint);
  SpacingLabel->setBuddy(SpacingBox);
  row->addWidget(SpacingLabel);
  row->addWidget(SpacingBox);
  connect(SpacingBox, &QComboBox::currentIndexChanged, this,
          [this] { run(&TMainForm::SpacingBoxChange); });
  return cell;
}

QWidget* TMainForm::withAutoPitch(QWidget* pitchField) {
  auto* cell = new QWidget(Panel1);
  auto* row = new QHBoxLayout(cell);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(dp(4));
  row->addWidget(pitchField);
  AutoPitchBox = new QCheckBox(tr("auto"), cell);
  AutoPitchBox->setObjectName(QStringLiteral("AutoPitchBox"));
  const QString hint = tr("Each line below the one before by the tallest line height of its fonts");
  AutoPitchBox->setToolTip(hint);
  AutoPitchBox->setStatusTip(hint);
  row->addWidget(AutoPitchBox);
  // The number is not used while "auto" is on.
  connect(AutoPitchBox, &QCheckBox::toggled, pitchField, &QWidget::setDisabled);
  return cell;
}

bool TMainForm::fontSpacingChosen() const { return SpacingBox->currentIndex() >= 1; }

void TMainForm::SpacingBoxChange() {
  const bool font = fontSpacingChosen();
  // Between the two font choices Space % keeps meaning the tracking.
  if (font == showsTracking_) return;
  showsTracking_ = font;
  const int shown = SpacePc->Value();
  SpacePc->SetValue(otherSpace_);
  otherSpace_ = shown;
  SpacePc->setToolTip(font ? tr("Tracking: hundredths of the em added after every character")
                           : tr("Increase or decrease space between characters"));
}

ConversionOptions TMainForm::conversionOptions() const {
  ConversionOptions options;
  options.classic = exportSettings();
  const bool font = fontSpacingChosen();
  options.spacing = font ? SpacingMode::Font : SpacingMode::Classic;
  options.ligatures = SpacingBox->currentIndex() == 2;
  options.tracking = font ? SpacePc->Value() : otherSpace_;
  options.align = AlignCenterBtn->isChecked()  ? Alignment::Center
                  : AlignRightBtn->isChecked() ? Alignment::Right
                                               : Alignment::Left;
  options.autoPitch = AutoPitchBox->isChecked();
  if (LayoutPanel1) options.layout = LayoutPanel1->signLayout();
  return options;
}

ConversionOptions TMainForm::withWindowPlacement(ConversionOptions options) const {
  const ConversionOptions window = conversionOptions();
  options.classic = window.classic;
  options.spacing = window.spacing;
  options.tracking = window.tracking;
  options.ligatures = window.ligatures;
  options.align = window.align;
  options.autoPitch = window.autoPitch;
  options.layout = window.layout;
  applyProductionPanel(options);
  return options;
}

void TMainForm::useClassicPlacement() {
  SpacingBox->setCurrentIndex(0);
  AlignLeftBtn->setChecked(true);
  AutoPitchBox->setChecked(false);
}

std::optional<TStrokeCollection> TMainForm::shapedPreviewStrokes() {
  if (!fontSpacingChosen()) return std::nullopt;
  const StyledText text = RichEdit1->styledText();
  if (CharPos < 1 || CharPos > text.length() || text.charAt(CharPos) != CurChar) return std::nullopt;
  const ConversionOptions o = conversionOptions();
  ShapingOptions shaping;
  shaping.scale = o.classic.scale;
  shaping.ligatures = o.ligatures;
  // Its own converter: the preview's keeps the conversion font for the character map's glyph.
  TTTFToVectorConverter converter;
  return shapedStrokesAt(text, CharPos, shaping, Resolution1->Value(), converter);
}

void TMainForm::loadTypography(const std::string& path) {
  ConversionOptions o;
  loadTypographyChoices(path, o);
  // The value Space % does not show waits in otherSpace_; switching the mode swaps them.
  if (fontSpacingChosen()) SpacingBox->setCurrentIndex(0);
  otherSpace_ = o.tracking;
  if (o.spacing == SpacingMode::Font) SpacingBox->setCurrentIndex(o.ligatures ? 2 : 1);
  (o.align == Alignment::Center  ? AlignCenterBtn
   : o.align == Alignment::Right ? AlignRightBtn
                                 : AlignLeftBtn)
      ->setChecked(true);
  AutoPitchBox->setChecked(o.autoPitch);
}

void TMainForm::saveTypography(const std::string& path) {
  saveTypographyChoices(path, conversionOptions());
}

}  // namespace kerfline
