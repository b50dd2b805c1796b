#include "mainwindow/option_fields.h"

#include <QDoubleSpinBox>
#include <QString>

#include "appcore/option_table.h"

namespace kerfline {

QDoubleSpinBox* optionBox(QWidget* parent, const char* name, std::string_view option) {
  const OptionDescriptor& limits = optionNamed(option);
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setDecimals(limits.decimals);
  box->setRange(limits.min, limits.max);
  box->setAccelerated(true);
  return box;
}

std::optional<double> unlessMinimum(const QDoubleSpinBox* box) {
  return box->value() > box->minimum() ? std::optional<double>(box->value()) : std::nullopt;
}

}  // namespace kerfline
