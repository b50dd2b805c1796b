#pragma once
// Number fields of the export dialogs that take exactly what the command line and the
// settings file take: their range and precision are the option table's row.
#include <optional>
#include <string_view>

class QDoubleSpinBox;
class QWidget;

namespace kerfline {

/// A field named name (for tests and style sheets) with the range and decimals of the option
/// table's row for option ("--kerf").
QDoubleSpinBox* optionBox(QWidget* parent, const char* name, std::string_view option);

/// The value of a field whose minimum means "not set".
std::optional<double> unlessMinimum(const QDoubleSpinBox* box);

}  // namespace kerfline
