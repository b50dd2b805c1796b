#include "mainwindow/fill_settings_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "mainwindow/option_fields.h"

namespace kerfline {
namespace {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

// Fields where the table's minimum is a value that means "the default": shown as its text.
void minimumMeans(QDoubleSpinBox* box, const QString& text) { box->setSpecialValueText(text); }

// An optional length: one step below the table's range, at 0, it reads text and stays unset.
QDoubleSpinBox* optionalBox(QWidget* parent, const char* name, std::string_view option,
                            const QString& text) {
  QDoubleSpinBox* box = optionBox(parent, name, option);
  box->setMinimum(0);
  minimumMeans(box, text);
  box->setValue(0);
  return box;
}

// The inlay choices' parts, in the order the combo box lists them.
constexpr InlayPart kInlayParts[] = {InlayPart::None, InlayPart::Female, InlayPart::Male};

}  // namespace

FillSettingsWidget::FillSettingsWidget(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* group = new QGroupBox(tr("Carve"), this);
  group->setObjectName(QStringLiteral("CarveGroup"));
  auto* form = form_ = new QFormLayout(group);
  carve = new QComboBox(group);
  carve->setObjectName(QStringLiteral("Carve"));
  carve->addItems({tr("Profile: along the outline"), tr("Pocket: clear inside the letters"),
                   tr("Raised letters: clear around them"),
                   tr("V-carve: a V-bit along the letters' centre"),
                   tr("Hatch: parallel lines (laser)"), tr("Offset fill: rings inward (laser)")});
  form->addRow(tr("Letters"), carve);
  toolDiameter = optionBox(group, "ToolDiameter", "--tool-diameter");
  toolDiameter->setValue(1);
  form->addRow(tr("Tool diameter"), toolDiameter);
  stepOver = optionBox(group, "StepOver", "--step-over");
  stepOver->setValue(0.4);
  form->addRow(tr("Step-over (of the width)"), stepOver);
  finishAllowance = optionBox(group, "FinishAllowance", "--finish-allowance");
  form->addRow(tr("Finish allowance"), finishAllowance);
  margin = optionBox(group, "Margin", "--margin");
  minimumMeans(margin, tr("the tool's width"));
  form->addRow(tr("Margin round the letters"), margin);
  interval = optionBox(group, "Interval", "--interval");
  interval->setValue(0.1);
  form->addRow(tr("Line interval"), interval);
  hatchAngle = optionBox(group, "HatchAngle", "--hatch-angle");
  form->addRow(tr("Hatch angle (degrees)"), hatchAngle);
  crossHatch = checkBox(group, "CrossHatch", tr("Cross-hatch (a second set at + 90)"));
  form->addRow(crossHatch);
  unidirectional = checkBox(group, "Unidirectional", tr("Every line the same way"));
  form->addRow(unidirectional);
  overscan = optionBox(group, "Overscan", "--overscan");
  minimumMeans(overscan, tr("none"));
  form->addRow(tr("Overscan (laser off)"), overscan);
  fillOutline = checkBox(group, "FillOutline", tr("Cut the outline after the fill"));
  form->addRow(fillOutline);
  addCarveRows();
  outer->addWidget(group);
  connect(carve, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
  updateEnabled();
}

void FillSettingsWidget::addCarveRows() {
  QWidget* group = form_->parentWidget();
  bitAngle = optionBox(group, "BitAngle", "--bit-angle");
  bitAngle->setValue(VCarveOptions{}.bitAngle);
  form_->addRow(tr("V-bit angle (degrees)"), bitAngle);
  bitDiameter = optionalBox(group, "BitDiameter", "--bit-diameter", tr("none (no limit)"));
  form_->addRow(tr("V-bit diameter"), bitDiameter);
  maxDepth = optionalBox(group, "MaxDepth", "--max-depth", tr("none (as deep as the letter)"));
  form_->addRow(tr("Maximum depth"), maxDepth);
  // The floors below the maximum depth: the V-bit clears them unless a file is named for a
  // flat end mill's program.
  auto* file = new QWidget(group);
  auto* fileRow = new QHBoxLayout(file);
  fileRow->setContentsMargins(0, 0, 0, 0);
  clearOutput = new QLineEdit(file);
  clearOutput->setObjectName(QStringLiteral("ClearOutput"));
  clearOutput->setPlaceholderText(tr("none: the V-bit clears the floors"));
  browseClearOutput = new QPushButton(tr("Browse..."), file);
  browseClearOutput->setObjectName(QStringLiteral("ClearOutputBrowse"));
  fileRow->addWidget(clearOutput, 1);
  fileRow->addWidget(browseClearOutput);
  form_->addRow(tr("Clearing program"), file);
  clearTool = optionBox(group, "ClearTool", "--clear-tool");
  clearTool->setValue(3.175);  // an eighth of an inch, the commonest small end mill
  form_->addRow(tr("Clearing tool diameter"), clearTool);
  // An inlay's part comes below the clearing: it carves with the same bit and floors.
  inlay = new QComboBox(group);
  inlay->setObjectName(QStringLiteral("Inlay"));
  inlay->addItems({tr("None: a plain carving"), tr("Pocket (female): the letters sunk"),
                   tr("Plug (male): the mirrored letters left standing")});
  form_->addRow(tr("Inlay"), inlay);
  inlayDepth = optionalBox(group, "InlayDepth", "--inlay-depth", tr("default (the maximum depth)"));
  form_->addRow(tr("Inlay depth"), inlayDepth);
  inlayMargin = optionalBox(group, "InlayMargin", "--inlay-margin", tr("default (2 mm)"));
  form_->addRow(tr("Plug margin round the letters"), inlayMargin);
  glueGap = optionalBox(group, "GlueGap", "--glue-gap", tr("default (0.5 mm)"));
  form_->addRow(tr("Glue gap"), glueGap);
  connect(inlay, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
  connect(clearOutput, &QLineEdit::textChanged, this, [this] { updateEnabled(); });
  connect(browseClearOutput, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getSaveFileName(
        this, tr("Clearing program"), clearOutput->text(),
        tr("G-code (*.nc *.ngc *.gcode *.tap);;All files (*)"));
    if (!chosen.isEmpty()) clearOutput->setText(chosen);
  });
}

void FillSettingsWidget::setOptions(const ConversionOptions& o) {
  const FillOptions& f = o.fill;
  Carve c = Profile;
  if (o.cut == CutOperation::Pocket) c = f.background ? Raised : Pocket;
  if (o.cut == CutOperation::Hatch) c = Hatch;
  if (o.cut == CutOperation::OffsetFill) c = OffsetFill;
  if (o.cut == CutOperation::VCarve) c = VCarve;
  carve->setCurrentIndex(c);
  if (f.toolDiameter) toolDiameter->setValue(*f.toolDiameter);
  if (f.stepOver) stepOver->setValue(*f.stepOver);
  finishAllowance->setValue(f.finishAllowance.value_or(0));
  margin->setValue(f.margin.value_or(margin->minimum()));
  if (f.interval) interval->setValue(*f.interval);
  hatchAngle->setValue(f.hatchAngle.value_or(0));
  crossHatch->setChecked(f.crossHatch);
  unidirectional->setChecked(f.unidirectional);
  overscan->setValue(f.overscan.value_or(overscan->minimum()));
  fillOutline->setChecked(f.outline);
  const VCarveOptions& v = o.vcarve;
  bitAngle->setValue(v.bitAngle);
  bitDiameter->setValue(v.bitDiameter.value_or(0));
  maxDepth->setValue(v.maxDepth.value_or(0));
  if (v.clearTool) clearTool->setValue(*v.clearTool);
  clearOutput->setText(QString::fromStdString(v.clearOutput));
  inlay->setCurrentIndex(static_cast<int>(std::ranges::find(kInlayParts, v.inlay) - kInlayParts));
  inlayDepth->setValue(v.inlayDepth.value_or(0));
  inlayMargin->setValue(v.inlayMargin.value_or(0));
  glueGap->setValue(v.glueGap.value_or(0));
  updateEnabled();
}

void FillSettingsWidget::applyTo(ConversionOptions& o) const {
  const auto c = static_cast<Carve>(carve->currentIndex());
  constexpr CutOperation kOperations[] = {CutOperation::Profile, CutOperation::Pocket,
                                          CutOperation::Pocket,  CutOperation::VCarve,
                                          CutOperation::Hatch,   CutOperation::OffsetFill};
  o.cut = kOperations[c];
  // Only the chosen fill's numbers are taken: a profile job keeps its settings file as it was.
  FillOptions& f = o.fill;
  if (c == Pocket || c == Raised) {
    f.background = c == Raised;
    f.toolDiameter = toolDiameter->value();
    f.stepOver = stepOver->value();
    f.finishAllowance = finishAllowance->value();
    if (c == Raised) f.margin = unlessMinimum(margin);
  }
  if (c == Hatch || c == OffsetFill) f.interval = interval->value();
  if (c == Hatch) {
    f.hatchAngle = hatchAngle->value();
    f.crossHatch = crossHatch->isChecked();
    f.unidirectional = unidirectional->isChecked();
    f.overscan = unlessMinimum(overscan);
    f.outline = fillOutline->isChecked();
  }
  if (c == VCarve) {
    f.stepOver = stepOver->value();
    VCarveOptions& v = o.vcarve;
    v.bitAngle = bitAngle->value();
    v.bitDiameter = unlessMinimum(bitDiameter);
    v.maxDepth = unlessMinimum(maxDepth);
    // The file and the end mill go together, as on the command line.
    v.clearOutput = clearOutput->text().trimmed().toStdString();
    v.clearTool = v.clearOutput.empty() ? std::nullopt : std::optional<double>(clearTool->value());
    const auto part = static_cast<Inlay>(inlay->currentIndex());
    v.inlay = kInlayParts[part];
    // A plain carving keeps the inlay's numbers in the settings file for the next inlay.
    if (part != NoInlay) {
      v.inlayDepth = unlessMinimum(inlayDepth);
      v.glueGap = unlessMinimum(glueGap);
    }
    if (part == InlayPlug) v.inlayMargin = unlessMinimum(inlayMargin);
  }
}

void FillSettingsWidget::updateEnabled() {
  const auto c = static_cast<Carve>(carve->currentIndex());
  const bool pocket = c == Pocket || c == Raised;
  const bool lines = c == Hatch || c == OffsetFill;
  const bool vcarve = c == VCarve;
  const bool inlaid = vcarve && inlay->currentIndex() != NoInlay;
  // Each field with the choices it serves: only those are shown.
  const std::pair<QWidget*, bool> rows[] = {
      {toolDiameter, pocket},   {stepOver, pocket || vcarve},
      {finishAllowance, pocket}, {margin, c == Raised},
      {interval, lines},        {hatchAngle, c == Hatch},
      {crossHatch, c == Hatch}, {unidirectional, c == Hatch},
      {overscan, c == Hatch},   {fillOutline, c == Hatch},
      {bitAngle, vcarve},       {bitDiameter, vcarve},
      {maxDepth, vcarve},       {clearOutput->parentWidget(), vcarve},
      {clearTool, vcarve},      {inlay, vcarve},
      {inlayDepth, inlaid},     {glueGap, inlaid},
      {inlayMargin, inlaid && inlay->currentIndex() == InlayPlug}};
  for (const auto& [field, applies] : rows) {
    field->setEnabled(applies);
    form_->setRowVisible(field, applies);
  }
  clearTool->setEnabled(vcarve && !clearOutput->text().trimmed().isEmpty());
}

}  // namespace kerfline
