#include "mainwindow/toolpath_settings_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include <optional>

#include "appcore/option_table.h"
#include "mainwindow/named_widget.h"
#include "mainwindow/option_fields.h"
#include "export/gcode_writer.h"

namespace kerfline {
namespace {

// A feed field: below the table's smallest feed it reads "default", the writer's own for the unit.
QDoubleSpinBox* feedBox(QWidget* parent, const char* name, std::string_view option) {
  QDoubleSpinBox* box = optionBox(parent, name, option);
  box->setMinimum(0);
  return box;
}

// A lead field: below the table's smallest length it reads "none".
QDoubleSpinBox* leadBox(QWidget* parent, const char* name, std::string_view option) {
  QDoubleSpinBox* box = feedBox(parent, name, option);
  box->setSpecialValueText(QWidget::tr("none"));
  return box;
}

QWidget* row(QWidget* parent, QWidget* a, QWidget* b) {
  auto* w = new QWidget(parent);
  auto* layout = new QHBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(a);
  layout->addWidget(b, 1);
  return w;
}

}  // namespace

ToolpathSettingsWidget::ToolpathSettingsWidget(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);

  auto* paths = named(new QGroupBox(tr("Paths"), this), "PathsGroup");
  auto* pathForm = new QFormLayout(paths);
  weld = named(new QCheckBox(tr("Weld overlapping letters into one outline"), paths), "Weld");
  pathForm->addRow(weld);
  kerfEnabled = named(new QCheckBox(tr("Offset for the kerf, width"), paths), "KerfEnabled");
  kerfWidth = optionBox(paths, "KerfWidth", "--kerf");
  kerfWidth->setValue(0.2);
  pathForm->addRow(row(paths, kerfEnabled, kerfWidth));
  kerfSide = named(new QComboBox(paths), "KerfSide");
  kerfSide->addItem(tr("Outside: parts keep their size"));
  kerfSide->addItem(tr("Inside: holes keep their size (stencils, inlays)"));
  kerfSide->addItem(tr("On the line: no offset"));
  pathForm->addRow(tr("Kerf side"), kerfSide);
  order = named(new QComboBox(paths), "CutOrder");
  order->addItem(tr("The form's own: planned for G-code, text order for DXF and SVG"));
  order->addItem(tr("Text order: character by character"));
  order->addItem(tr("Planned for short travel, holes still first"));
  pathForm->addRow(tr("Cut order"), order);
  leadIn = leadBox(paths, "LeadIn", "--lead-in");
  leadOut = leadBox(paths, "LeadOut", "--lead-out");
  overcut = leadBox(paths, "Overcut", "--overcut");
  leadShape = named(new QComboBox(paths), "LeadType");
  leadShape->addItem(tr("Straight"));
  leadShape->addItem(tr("Quarter arc"));
  pathForm->addRow(tr("Lead-in (in the scrap)"), leadIn);
  pathForm->addRow(tr("Lead-out"), leadOut);
  pathForm->addRow(tr("Lead form"), leadShape);
  pathForm->addRow(tr("Overcut"), overcut);
  tolerance = feedBox(paths, "Tolerance", "--tolerance");
  tolerance->setSpecialValueText(tr("fixed chords (resolution)"));
  pathForm->addRow(tr("Curve tolerance"), tolerance);
  arcs = named(new QCheckBox(tr("Fit arcs: DXF bulges, SVG arcs, G2/G3"), paths), "Arcs");
  arcs->setToolTip(tr("Without a tolerance, arcs are fitted within 0.01 mm (0.0004 in)."));
  pathForm->addRow(arcs);
  auto* note = named(new QLabel(tr("Single-line (open) paths are never welded or offset."), paths),
                     "OpenPathNote");
  note->setWordWrap(true);
  pathForm->addRow(note);
  outer->addWidget(paths);

  auto* gcode = named(new QGroupBox(tr("G-code"), this), "GcodeGroup");
  gcodeGroup_ = gcode;
  auto* gcodeForm = new QFormLayout(gcode);
  feed = feedBox(gcode, "Feed", "--feed");
  plungeFeed = feedBox(gcode, "PlungeFeed", "--plunge-feed");
  gcodeForm->addRow(tr("Feed"), feed);
  gcodeForm->addRow(tr("Plunge feed"), plungeFeed);
  spindle = named(new QCheckBox(tr("Start the spindle (M3), rpm"), gcode), "Spindle");
  spindleRpm = named(new QSpinBox(gcode), "SpindleRpm");
  const OptionDescriptor& rpm = optionNamed("--spindle");
  spindleRpm->setRange(static_cast<int>(rpm.min), static_cast<int>(rpm.max));
  spindleRpm->setValue(12000);
  gcodeForm->addRow(row(gcode, spindle, spindleRpm));
  passes = named(new QCheckBox(tr("Several passes, depth per pass"), gcode), "Passes");
  depthPerPass = optionBox(gcode, "DepthPerPass", "--depth-per-pass");
  depthPerPass->setValue(0.5);
  gcodeForm->addRow(row(gcode, passes, depthPerPass));
  laser = named(new QCheckBox(tr("Laser: no Z moves, M4 on and M5 off around each contour, power"), gcode),
                "Laser");
  power = optionBox(gcode, "Power", "--power");
  power->setValue(kDefaultLaserPower);
  gcodeForm->addRow(row(gcode, laser, power));
  outer->addWidget(gcode);

  for (QCheckBox* box : {kerfEnabled, spindle, passes, laser})
    connect(box, &QCheckBox::toggled, this, [this] { updateEnabled(); });
  connect(kerfSide, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
  for (QDoubleSpinBox* box : {leadIn, leadOut, overcut})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { updateEnabled(); });
  setUnits(DrawingUnits::Millimetre);
  updateEnabled();
}

void ToolpathSettingsWidget::setUnits(DrawingUnits units) {
  const QString unit = units == DrawingUnits::Inch ? QStringLiteral("in") : QStringLiteral("mm");
  const QString perMinute = QStringLiteral(" ") + unit + QStringLiteral("/min");
  feed->setSuffix(perMinute);
  plungeFeed->setSuffix(perMinute);
  feed->setSpecialValueText(tr("default (%1%2)").arg(defaultFeed(units)).arg(perMinute));
  plungeFeed->setSpecialValueText(tr("default (%1%2)").arg(defaultPlungeFeed(units)).arg(perMinute));
  kerfWidth->setSuffix(QStringLiteral(" ") + unit);
  for (QDoubleSpinBox* box : {leadIn, leadOut, overcut, tolerance})
    box->setSuffix(QStringLiteral(" ") + unit);
  depthPerPass->setSuffix(QStringLiteral(" ") + unit);
}

void ToolpathSettingsWidget::setGcodeVisible(bool visible) { gcodeGroup_->setVisible(visible); }

void ToolpathSettingsWidget::setOptions(const ConversionOptions& o) {
  weld->setChecked(o.weld);
  kerfEnabled->setChecked(o.kerf.has_value());
  if (o.kerf) kerfWidth->setValue(*o.kerf);
  kerfSide->setCurrentIndex(static_cast<int>(o.kerfSide));
  order->setCurrentIndex(o.order ? 1 + static_cast<int>(*o.order) : 0);
  leadIn->setValue(o.leadIn.value_or(0));
  leadOut->setValue(o.leadOut.value_or(0));
  overcut->setValue(o.overcut.value_or(0));
  leadShape->setCurrentIndex(static_cast<int>(o.leadShape));
  tolerance->setValue(o.tolerance.value_or(0));
  arcs->setChecked(o.arcs);
  feed->setValue(o.gcode.feed.value_or(0));
  plungeFeed->setValue(o.gcode.plungeFeed.value_or(0));
  spindle->setChecked(o.gcode.spindleRpm.has_value());
  if (o.gcode.spindleRpm) spindleRpm->setValue(*o.gcode.spindleRpm);
  passes->setChecked(o.gcode.depthPerPass.has_value());
  if (o.gcode.depthPerPass) depthPerPass->setValue(*o.gcode.depthPerPass);
  laser->setChecked(o.gcode.laser);
  power->setValue(o.gcode.power.value_or(kDefaultLaserPower));
  setUnits(o.units);
  updateEnabled();
}

void ToolpathSettingsWidget::applyTo(ConversionOptions& o) const {
  o.weld = weld->isChecked();
  o.kerf = kerfEnabled->isChecked() ? std::optional<double>(kerfWidth->value()) : std::nullopt;
  o.kerfSide = static_cast<KerfSide>(kerfSide->currentIndex());
  o.order = order->currentIndex() > 0
                ? std::optional<CutOrder>(static_cast<CutOrder>(order->currentIndex() - 1))
                : std::nullopt;
  o.leadIn = unlessMinimum(leadIn);
  o.leadOut = unlessMinimum(leadOut);
  o.overcut = unlessMinimum(overcut);
  o.leadShape = static_cast<LeadShape>(leadShape->currentIndex());
  o.tolerance = unlessMinimum(tolerance);
  o.arcs = arcs->isChecked();
  o.gcode.feed = unlessMinimum(feed);
  o.gcode.plungeFeed = unlessMinimum(plungeFeed);
  o.gcode.spindleRpm = spindle->isChecked() ? std::optional<int>(spindleRpm->value()) : std::nullopt;
  o.gcode.depthPerPass =
      passes->isChecked() ? std::optional<double>(depthPerPass->value()) : std::nullopt;
  o.gcode.laser = laser->isChecked();
  o.gcode.power = power->value();
}

void ToolpathSettingsWidget::updateEnabled() {
  kerfWidth->setEnabled(kerfEnabled->isChecked());
  // The kerf side also says where the scrap lies, which the leads run in.
  const bool leads = leadIn->value() > 0 || leadOut->value() > 0 || overcut->value() > 0;
  kerfSide->setEnabled(kerfEnabled->isChecked() || leads);
  leadShape->setEnabled(leadIn->value() > 0 || leadOut->value() > 0);
  // A laser has no Z axis to plunge with and no spindle to start.
  const bool router = !laser->isChecked();
  plungeFeed->setEnabled(router);
  spindle->setEnabled(router);
  spindleRpm->setEnabled(router && spindle->isChecked());
  passes->setEnabled(router);
  depthPerPass->setEnabled(router && passes->isChecked());
  power->setEnabled(!router);
}

}  // namespace kerfline
