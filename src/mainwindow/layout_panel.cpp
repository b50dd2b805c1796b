#include "mainwindow/layout_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "appcore/sign_path_file.h"
#include "common/error.h"
#include "mainwindow/named_widget.h"
#include "mainwindow/option_fields.h"

namespace kerfline {
namespace {

QComboBox* choices(QWidget* parent, const char* name, const QStringList& items) {
  auto* box = named(new QComboBox(parent), name);
  box->addItems(items);
  return box;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title, QFormLayout*& form) {
  auto* g = named(new QGroupBox(title, parent), name);
  form = new QFormLayout(g);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  return g;
}

// The frame choices' order is FrameShape's; holes 0, 2 or 4.
constexpr int kHoleCounts[] = {0, 2, 4};

}  // namespace

LayoutPanel::LayoutPanel(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  QFormLayout* form = nullptr;

  // ---- what the text follows ----------------------------------------------------------
  auto* bend = group(this, "BendGroup", tr("Text on"), form);
  follow = choices(bend, "Follow", {tr("straight lines"), tr("a circle"), tr("a path")});
  form->addRow(tr("Set"), follow);
  letters = choices(bend, "Letters", {tr("rigid, turned to the curve"), tr("warped onto it")});
  form->addRow(tr("Letters"), letters);
  outer->addWidget(bend);

  arcGroup_ = group(this, "ArcGroup", tr("Circle"), form);
  arcRadius = optionBox(arcGroup_, "ArcRadius", "--arc-radius");
  arcRadius->setValue(50);
  form->addRow(tr("Radius"), arcRadius);
  arcSide = choices(arcGroup_, "ArcSide", {tr("top (reads clockwise)"), tr("bottom (as on a coin)")});
  form->addRow(tr("Side"), arcSide);
  arcAlign = choices(arcGroup_, "ArcAlign", {tr("left"), tr("centre"), tr("right")});
  arcAlign->setCurrentIndex(static_cast<int>(ArcAlign::Center));
  form->addRow(tr("Align"), arcAlign);
  arcAngle = optionBox(arcGroup_, "ArcAngle", "--arc-angle");
  arcAngle->setSpecialValueText(tr("straight up / down"));
  arcAngle->setValue(arcAngle->minimum());
  arcAngle->setToolTip(tr("Direction of the anchor from the centre, degrees clockwise from up"));
  form->addRow(tr("Angle"), arcAngle);
  outer->addWidget(arcGroup_);

  pathGroup_ = group(this, "PathGroup", tr("Path"), form);
  auto* fileRow = new QWidget(pathGroup_);
  auto* fileLine = new QHBoxLayout(fileRow);
  fileLine->setContentsMargins(0, 0, 0, 0);
  pathFileEdit = named(new QLineEdit(fileRow), "PathFile");
  pathFileEdit->setPlaceholderText(tr("an SVG file"));
  browse = named(new QPushButton(tr("Browse..."), fileRow), "PathBrowse");
  fileLine->addWidget(pathFileEdit, 1);
  fileLine->addWidget(browse);
  form->addRow(tr("File"), fileRow);
  pathId = named(new QLineEdit(pathGroup_), "PathId");
  pathId->setPlaceholderText(tr("the first path"));
  form->addRow(tr("Path id"), pathId);
  pathOffset = optionBox(pathGroup_, "PathOffset", "--path-offset");
  pathOffset->setSpecialValueText(tr("by the alignment"));
  form->addRow(tr("Offset"), pathOffset);
  pathAlign = choices(pathGroup_, "PathAlign", {tr("left"), tr("centre"), tr("right")});
  form->addRow(tr("Align"), pathAlign);
  pathProblem = named(new QLabel(pathGroup_), "PathProblem");
  pathProblem->setWordWrap(true);
  pathProblem->setStyleSheet(QStringLiteral("color: #b00000"));
  form->addRow(pathProblem);
  outer->addWidget(pathGroup_);

  // ---- transforms ---------------------------------------------------------------------
  auto* shape = group(this, "ShapeGroup", tr("Shape"), form);
  rotate = optionBox(shape, "Rotate", "--rotate");
  form->addRow(tr("Rotation (degrees)"), rotate);
  mirror = choices(shape, "Mirror", {tr("none"), tr("left to right (X)"), tr("upside down (Y)")});
  form->addRow(tr("Mirror"), mirror);
  slant = optionBox(shape, "Slant", "--slant");
  form->addRow(tr("Slant (degrees)"), slant);
  stretchX = optionBox(shape, "StretchX", "--stretch-x");
  stretchX->setValue(1);
  form->addRow(tr("Stretch along lines"), stretchX);
  outer->addWidget(shape);

  // ---- fit box --------------------------------------------------------------------------
  fitBox = group(this, "FitBox", tr("Fit into a box"), form);
  fitBox->setCheckable(true);
  fitBox->setChecked(false);
  boxWidth = optionBox(fitBox, "BoxWidth", "--fit-width");
  boxWidth->setValue(100);
  boxHeight = optionBox(fitBox, "BoxHeight", "--fit-height");
  boxHeight->setValue(50);
  form->addRow(tr("Width"), boxWidth);
  form->addRow(tr("Height"), boxHeight);
  margin = optionBox(fitBox, "BoxMargin", "--margin");
  form->addRow(tr("Margin"), margin);
  anchor = choices(fitBox, "Anchor", {tr("top left"), tr("top"), tr("top right"), tr("left"),
                                      tr("centre"), tr("right"), tr("bottom left"), tr("bottom"),
                                      tr("bottom right")});
  anchor->setCurrentIndex(static_cast<int>(BoxAnchor::Center));
  form->addRow(tr("Anchor"), anchor);
  stretch = named(new QCheckBox(tr("Stretch to fill both ways"), fitBox), "Stretch");
  form->addRow(stretch);
  outer->addWidget(fitBox);

  // ---- frame and holes ------------------------------------------------------------------
  auto* border = group(this, "FrameGroup", tr("Frame and holes"), form);
  frame = choices(border, "Frame", {tr("none"), tr("rectangle"), tr("rounded rectangle"),
                                    tr("ellipse"), tr("outline of the letters")});
  form->addRow(tr("Frame"), frame);
  frameSize = optionBox(border, "FrameSize", "--frame-margin");
  frameSizeLabel = named(new QLabel(tr("Corner radius"), border), "FrameSizeLabel");
  form->addRow(frameSizeLabel, frameSize);
  frameMargin = optionBox(border, "FrameMargin", "--frame-margin");
  form->addRow(tr("Margin"), frameMargin);
  holes = choices(border, "Holes", {tr("none"), tr("2, left and right"), tr("4, in the corners")});
  form->addRow(tr("Holes"), holes);
  holeDiameter = optionBox(border, "HoleDiameter", "--arc-radius");
  holeDiameter->setValue(4);
  form->addRow(tr("Diameter"), holeDiameter);
  holeInset = optionBox(border, "HoleInset", "--hole-inset");
  holeInset->setSpecialValueText(tr("one diameter"));
  form->addRow(tr("Inset from the frame"), holeInset);
  outer->addWidget(border);
  outer->addStretch(1);

  for (QComboBox* c : {follow, letters, arcSide, arcAlign, pathAlign, mirror, anchor, frame, holes})
    connect(c, &QComboBox::currentIndexChanged, this, &LayoutPanel::edited);
  for (QDoubleSpinBox* b : {arcRadius, arcAngle, pathOffset, rotate, slant, stretchX, boxWidth,
                            boxHeight, margin, frameSize, frameMargin, holeDiameter, holeInset})
    connect(b, &QDoubleSpinBox::valueChanged, this, &LayoutPanel::edited);
  connect(fitBox, &QGroupBox::toggled, this, &LayoutPanel::edited);
  connect(stretch, &QCheckBox::toggled, this, &LayoutPanel::edited);
  // The file is read once its name is complete, not at every key.
  for (QLineEdit* e : {pathFileEdit, pathId}) {
    connect(e, &QLineEdit::editingFinished, this, [this] {
      readPathFile();
      edited();
    });
  }
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = browsePath ? browsePath() : QString();
    if (chosen.isEmpty()) return;
    pathFileEdit->setText(chosen);
    readPathFile();
    edited();
  });
  updateEnabled();
}

void LayoutPanel::edited() {
  updateEnabled();
  if (!showing_ && changed) changed();
}

void LayoutPanel::updateEnabled() {
  const int f = follow->currentIndex();
  // Only the fields of what the text follows are shown: the panel stays short enough to see whole.
  arcGroup_->setVisible(f == Circle);
  pathGroup_->setVisible(f == Path);
  letters->setEnabled(f != Straight);
  const auto shape = static_cast<FrameShape>(frame->currentIndex());
  frameSize->setEnabled(shape == FrameShape::Rounded || shape == FrameShape::Outline);
  frameSizeLabel->setText(shape == FrameShape::Outline ? tr("Offset") : tr("Corner radius"));
  frameMargin->setEnabled(shape != FrameShape::None);
  holeDiameter->setEnabled(holes->currentIndex() != 0);
  holeInset->setEnabled(holes->currentIndex() != 0);
}

void LayoutPanel::readPathFile() {
  pathData_.clear();
  pathProblem->clear();
  const std::string file = pathFileEdit->text().trimmed().toStdString();
  if (file.empty()) return;
  try {
    pathData_ = signPathFromFile(file, pathId->text().trimmed().toStdString());
  } catch (const Error& e) {
    pathProblem->setText(QString::fromStdString(e.what()));
  }
}

void LayoutPanel::setSignLayout(const SignLayout& l, const LayoutPathFile& path) {
  showing_ = true;
  follow->setCurrentIndex(l.arcRadius ? Circle : !path.file.empty() ? Path : Straight);
  letters->setCurrentIndex(static_cast<int>(l.bend));
  if (l.arcRadius) arcRadius->setValue(*l.arcRadius);
  arcSide->setCurrentIndex(static_cast<int>(l.arcSide));
  arcAlign->setCurrentIndex(static_cast<int>(l.arcAlign));
  arcAngle->setValue(l.arcAngle.value_or(arcAngle->minimum()));
  pathFileEdit->setText(QString::fromStdString(path.file));
  pathId->setText(QString::fromStdString(path.id));
  pathOffset->setValue(l.pathOffset.value_or(pathOffset->minimum()));
  pathAlign->setCurrentIndex(static_cast<int>(l.pathAlign));
  rotate->setValue(l.rotate);
  mirror->setCurrentIndex(static_cast<int>(l.mirror));
  slant->setValue(l.slant);
  stretchX->setValue(l.stretchX);
  fitBox->setChecked(l.boxWidth && l.boxHeight);
  if (l.boxWidth && l.boxHeight) {
    boxWidth->setValue(*l.boxWidth);
    boxHeight->setValue(*l.boxHeight);
  }
  margin->setValue(l.margin);
  anchor->setCurrentIndex(static_cast<int>(l.anchor));
  stretch->setChecked(l.stretch);
  frame->setCurrentIndex(static_cast<int>(l.frame));
  frameSize->setValue(l.frameSize);
  frameMargin->setValue(l.frameMargin);
  int h = 0;
  while (h < 2 && kHoleCounts[h] != l.holeCount) ++h;
  holes->setCurrentIndex(kHoleCounts[h] == l.holeCount ? h : 0);
  if (l.holeCount) holeDiameter->setValue(l.holeDiameter);
  holeInset->setValue(l.holeInset.value_or(holeInset->minimum()));
  readPathFile();
  updateEnabled();
  showing_ = false;
}

SignLayout LayoutPanel::signLayout() const {
  SignLayout l;
  const int f = follow->currentIndex();
  l.bend = static_cast<BendMode>(letters->currentIndex());
  if (f == Circle) l.arcRadius = arcRadius->value();
  l.arcSide = static_cast<ArcSide>(arcSide->currentIndex());
  l.arcAlign = static_cast<ArcAlign>(arcAlign->currentIndex());
  l.arcAngle = unlessMinimum(arcAngle);
  if (f == Path) l.pathData = pathData_;
  l.pathAlign = static_cast<ArcAlign>(pathAlign->currentIndex());
  l.pathOffset = unlessMinimum(pathOffset);
  l.rotate = rotate->value();
  l.mirror = static_cast<MirrorAxis>(mirror->currentIndex());
  l.slant = slant->value();
  l.stretchX = stretchX->value();
  if (fitBox->isChecked()) {
    l.boxWidth = boxWidth->value();
    l.boxHeight = boxHeight->value();
  }
  l.margin = margin->value();
  l.anchor = static_cast<BoxAnchor>(anchor->currentIndex());
  l.stretch = stretch->isChecked();
  l.frame = static_cast<FrameShape>(frame->currentIndex());
  if (l.frame == FrameShape::Rounded || l.frame == FrameShape::Outline) l.frameSize = frameSize->value();
  l.frameMargin = frameMargin->value();
  l.holeCount = kHoleCounts[holes->currentIndex()];
  if (l.holeCount) {
    l.holeDiameter = holeDiameter->value();
    l.holeInset = unlessMinimum(holeInset);
  }
  return l;
}

LayoutPathFile LayoutPanel::pathFile() const {
  if (follow->currentIndex() != Path) return {};
  return {pathFileEdit->text().trimmed().toStdString(), pathId->text().trimmed().toStdString()};
}

}  // namespace kerfline
