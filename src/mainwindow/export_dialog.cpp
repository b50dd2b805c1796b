#include "mainwindow/export_dialog.h"

#include "appcore/option_table.h"
#include "mainwindow/named_widget.h"
#include "mainwindow/toolpath_settings_widget.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace kerfline {
namespace {

// Rows of the format box.
enum FormatRow { kClosedR12, kClosedR2000, kSvg };
// Rows of the fit box.
enum FitRow { kNatural, kFitWidth, kFitHeight };

}  // namespace

ExportDialog::ExportDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Export"));
  format_ = named(new QComboBox(this), "FormatBox");
  format_->addItems({tr("DXF closed polylines, R12 (POLYLINE)"),
                     tr("DXF closed polylines, R2000 (LWPOLYLINE)"), tr("SVG drawing")});
  units_ = named(new QComboBox(this), "UnitsBox");
  units_->addItems({tr("Millimetres (mm)"), tr("Inches (in)")});
  units_->setToolTip(tr("What one drawing unit is: written in the file's header and size."));
  fit_ = named(new QComboBox(this), "FitBox");
  fit_->addItems({tr("As drawn"), tr("Fit to width"), tr("Fit to height")});
  fit_->setToolTip(tr("Scales every coordinate by one factor about the origin; Z stays."));
  size_ = named(new QDoubleSpinBox(this), "FitSizeEdit");
  // Fit width and fit height share the field and their limits.
  const OptionDescriptor& fitLimits = optionNamed("--fit-width");
  size_->setDecimals(fitLimits.decimals);
  size_->setRange(fitLimits.min, fitLimits.max);
  size_->setValue(100.0);
  size_->setToolTip(tr("The drawing's width or height after scaling, in drawing units."));

  form_ = new QFormLayout;
  form_->addRow(tr("&Format:"), format_);
  form_->addRow(tr("&Units:"), units_);
  form_->addRow(tr("&Size:"), fit_);
  form_->addRow(tr("&Width or height:"), size_);
  // Weld and kerf apply to these forms as to the G-code; the machine settings do not.
  toolpath_ = new ToolpathSettingsWidget(this);
  toolpath_->setObjectName(QStringLiteral("ToolpathSettings"));
  toolpath_->setGcodeVisible(false);

  auto* buttons = named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this),
                        "ButtonBox");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(fit_, &QComboBox::currentIndexChanged, this, &ExportDialog::updateSizeField);
  connect(units_, &QComboBox::currentIndexChanged, this, &ExportDialog::updateSizeField);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form_);
  layout->addWidget(toolpath_);
  layout->addWidget(buttons);
  updateSizeField();
}

void ExportDialog::updateSizeField() {
  size_->setEnabled(fit_->currentIndex() != kNatural);
  size_->setSuffix(units_->currentIndex() == 1 ? tr(" in") : tr(" mm"));
}

void ExportDialog::setOptions(const ConversionOptions& o) {
  if (o.format == OutputFormat::Svg) {
    format_->setCurrentIndex(kSvg);
  } else {
    format_->setCurrentIndex(o.dxfVersion == 2000 ? kClosedR2000 : kClosedR12);
  }
  units_->setCurrentIndex(o.units == DrawingUnits::Inch ? 1 : 0);
  if (o.fitWidth) {
    fit_->setCurrentIndex(kFitWidth);
    size_->setValue(*o.fitWidth);
  } else if (o.fitHeight) {
    fit_->setCurrentIndex(kFitHeight);
    size_->setValue(*o.fitHeight);
  } else {
    fit_->setCurrentIndex(kNatural);
  }
  toolpath_->setUnits(o.units);
  toolpath_->setOptions(o);
  updateSizeField();
}

ConversionOptions ExportDialog::options(ConversionOptions o) const {
  o.format = format_->currentIndex() == kSvg ? OutputFormat::Svg : OutputFormat::Closed;
  o.dxfVersion = format_->currentIndex() == kClosedR2000 ? 2000 : 12;
  o.units = units_->currentIndex() == 1 ? DrawingUnits::Inch : DrawingUnits::Millimetre;
  o.fitWidth.reset();
  o.fitHeight.reset();
  if (fit_->currentIndex() == kFitWidth) o.fitWidth = size_->value();
  if (fit_->currentIndex() == kFitHeight) o.fitHeight = size_->value();
  toolpath_->applyTo(o);
  return o;
}

}  // namespace kerfline
