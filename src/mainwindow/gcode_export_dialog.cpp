#include "mainwindow/gcode_export_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "mainwindow/fill_settings_widget.h"
#include "mainwindow/toolpath_settings_widget.h"

namespace kerfline {

GcodeExportDialog::GcodeExportDialog(const ConversionOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
  setObjectName(QStringLiteral("GcodeExportDialog"));
  setWindowTitle(tr("Export G-code"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  units = new QComboBox(this);
  units->setObjectName(QStringLiteral("Units"));
  units->addItem(tr("millimetres (G21)"));
  units->addItem(tr("inches (G20)"));
  units->setCurrentIndex(static_cast<int>(options.units));
  form->addRow(tr("One drawing unit is"), units);
  layout->addLayout(form);
  toolpath = new ToolpathSettingsWidget(this);
  toolpath->setOptions(options);
  layout->addWidget(toolpath);
  fill = new FillSettingsWidget(this);
  fill->setOptions(options);
  layout->addWidget(fill);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("Buttons"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(units, &QComboBox::currentIndexChanged, this,
          [this](int index) { toolpath->setUnits(static_cast<DrawingUnits>(index)); });
}

ConversionOptions GcodeExportDialog::options() const {
  ConversionOptions o = options_;
  o.units = static_cast<DrawingUnits>(units->currentIndex());
  toolpath->applyTo(o);
  fill->applyTo(o);
  return o;
}

}  // namespace kerfline
