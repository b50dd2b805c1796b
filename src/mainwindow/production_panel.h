#pragma once
// The Production panel: a run of many items from the editor's text (a merge file's rows,
// serial numbers, copies), the sheets they are laid on, and the tabs and stencil bridges
// that hold the cut parts. The job view shows the item of the row chosen in its list.
#include <QWidget>
#include <functional>
#include <optional>

#include "appcore/production_options.h"
#include "common/csv_table.h"
#include "export/conversion_options.h"
#include "richtext/styled_text.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kerfline {

class ProductionPanel : public QWidget {
  Q_OBJECT
 public:
  explicit ProductionPanel(QWidget* parent = nullptr);

  /// Reads the merge file at path and lists its rows; an empty path forgets the file. A file
  /// that cannot be read leaves none and shows why; returns false then.
  bool openMergeFile(const QString& path);
  /// The run the fields describe: only what differs from a single plain text is set.
  ProductionOptions production() const;
  /// The fields' tabs and stencil bridges written into options (unset where a field is off).
  void applyTo(ConversionOptions& options) const;
  /// Shows a stored run (the merge file read again) without announcing a change.
  void setChoices(const ConversionOptions& options, const ProductionOptions& production);

  /// The text of the item the job view shows: the chosen row of the merge file (else the
  /// first serial number) filled into text; text itself when no run is set up or when text is
  /// no template the item can fill (the view then shows what the editor holds).
  StyledText itemText(const StyledText& text) const;
  /// The 0-based row chosen in the list, -1 without a merge file.
  int currentRow() const;
  void setCurrentRow(int row);

  /// A file picker for the Browse button (replaced in tests).
  std::function<QString()> chooseMergeFile;

 signals:
  /// A field changed, or another row was chosen: the job view is stale.
  void changed();

 private:
  QDoubleSpinBox* number(const char* name, double min, double max, int decimals,
                         const QString& none);

  QLineEdit* mergeEdit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLabel* mergeNote_ = nullptr;
  QListWidget* rows_ = nullptr;
  QSpinBox* serialStart_ = nullptr;
  QSpinBox* serialStep_ = nullptr;
  QSpinBox* copies_ = nullptr;
  QDoubleSpinBox* sheetWidth_ = nullptr;
  QDoubleSpinBox* sheetHeight_ = nullptr;
  QDoubleSpinBox* gap_ = nullptr;
  QSpinBox* columns_ = nullptr;
  QSpinBox* tabs_ = nullptr;
  QDoubleSpinBox* tabWidth_ = nullptr;
  QDoubleSpinBox* tabHeight_ = nullptr;
  QDoubleSpinBox* stencil_ = nullptr;
  std::optional<CsvTable> table_;
  bool quiet_ = false;  ///< setChoices is filling the fields
};

}  // namespace kerfline
