#include "mainwindow/gcode_export_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

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
  return o;
}

}  // namespace kerfline
