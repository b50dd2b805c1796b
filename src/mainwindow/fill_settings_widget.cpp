#include "mainwindow/fill_settings_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include <optional>

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

}  // namespace

FillSettingsWidget::FillSettingsWidget(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* group = new QGroupBox(tr("Carve"), this);
  group->setObjectName(QStringLiteral("CarveGroup"));
  auto* form = new QFormLayout(group);
  carve = new QComboBox(group);
  carve->setObjectName(QStringLiteral("Carve"));
  carve->addItems({tr("Profile: along the outline"), tr("Pocket: clear inside the letters"),
                   tr("Raised letters: clear around them"), tr("Hatch: parallel lines (laser)"),
                   tr("Offset fill: rings inward (laser)")});
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
  outer->addWidget(group);
  connect(carve, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
  updateEnabled();
}

void FillSettingsWidget::setOptions(const ConversionOptions& o) {
  const FillOptions& f = o.fill;
  Carve c = Profile;
  if (o.cut == CutOperation::Pocket) c = f.background ? Raised : Pocket;
  if (o.cut == CutOperation::Hatch) c = Hatch;
  if (o.cut == CutOperation::OffsetFill) c = OffsetFill;
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
  updateEnabled();
}

void FillSettingsWidget::applyTo(ConversionOptions& o) const {
  const auto c = static_cast<Carve>(carve->currentIndex());
  constexpr CutOperation kOperations[] = {CutOperation::Profile, CutOperation::Pocket,
                                          CutOperation::Pocket, CutOperation::Hatch,
                                          CutOperation::OffsetFill};
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
}

void FillSettingsWidget::updateEnabled() {
  const auto c = static_cast<Carve>(carve->currentIndex());
  const bool pocket = c == Pocket || c == Raised;
  const bool lines = c == Hatch || c == OffsetFill;
  for (QWidget* w : {static_cast<QWidget*>(toolDiameter), static_cast<QWidget*>(stepOver),
                     static_cast<QWidget*>(finishAllowance)})
    w->setEnabled(pocket);
  margin->setEnabled(c == Raised);
  interval->setEnabled(lines);
  for (QWidget* w : {static_cast<QWidget*>(hatchAngle), static_cast<QWidget*>(crossHatch),
                     static_cast<QWidget*>(unidirectional), static_cast<QWidget*>(overscan),
                     static_cast<QWidget*>(fillOutline)})
    w->setEnabled(c == Hatch);
}

}  // namespace kerfline
