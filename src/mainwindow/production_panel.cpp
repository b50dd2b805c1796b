#include "mainwindow/production_panel.h"

#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>

#include "appcore/option_table.h"
#include "common/error.h"
#include "richtext/variable_text.h"

namespace kerfline {
namespace {

// Rows of a merge file the list shows: a spreadsheet of names is a few hundred; beyond this
// the list would only slow the window, and the run still takes every row.
constexpr int kRowsListed = 5000;

QString rowText(const std::vector<std::string>& fields) {
  QStringList parts;
  for (const std::string& f : fields) parts << QString::fromStdString(f).simplified();
  return parts.join(QStringLiteral(" | "));
}

}  // namespace

ProductionPanel::ProductionPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ProductionPanel"));
  chooseMergeFile = [this] {
    return QFileDialog::getOpenFileName(this, tr("Merge file"), QString(),
                                        tr("Comma-separated values (*.csv);;All files (*)"));
  };
  auto* form = new QFormLayout(this);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

  mergeEdit_ = new QLineEdit(this);
  mergeEdit_->setObjectName(QStringLiteral("MergeFileEdit"));
  mergeEdit_->setPlaceholderText(tr("none: serial numbers and copies"));
  mergeEdit_->setToolTip(tr("One item per row; {column} in the text is that column's value"));
  browse_ = new QPushButton(tr("Browse..."), this);
  browse_->setObjectName(QStringLiteral("MergeBrowse"));
  auto* mergeRow = new QHBoxLayout;
  mergeRow->addWidget(mergeEdit_, 1);
  mergeRow->addWidget(browse_);
  form->addRow(tr("Merge file"), mergeRow);
  mergeNote_ = new QLabel(this);
  mergeNote_->setObjectName(QStringLiteral("MergeNote"));
  mergeNote_->setWordWrap(true);
  form->addRow(mergeNote_);
  rows_ = new QListWidget(this);
  rows_->setObjectName(QStringLiteral("MergeRows"));
  rows_->setToolTip(tr("The row the job view shows"));
  rows_->setMinimumHeight(90);
  form->addRow(rows_);

  const auto whole = [this](const char* name, int min, int max, int value, const QString& special) {
    auto* box = new QSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(min, max);
    box->setValue(value);
    if (!special.isEmpty()) box->setSpecialValueText(special);
    connect(box, &QSpinBox::valueChanged, this, [this] {
      if (!quiet_) emit changed();
    });
    return box;
  };
  // Limits are the command line's (the option table's rows), so a stored run reads back.
  const auto limit = [](const char* flag) { return optionNamed(flag); };
  serialStart_ = whole("SerialStart", static_cast<int>(limit("--serial-start").min),
                       static_cast<int>(limit("--serial-start").max), 1, {});
  serialStep_ = whole("SerialStep", static_cast<int>(limit("--serial-step").min),
                      static_cast<int>(limit("--serial-step").max), 1, {});
  copies_ = whole("Copies", 1, static_cast<int>(limit("--copies").max), 1, {});
  form->addRow(tr("Serial {n} from"), serialStart_);
  form->addRow(tr("Serial step"), serialStep_);
  form->addRow(tr("Copies"), copies_);

  sheetWidth_ = number("SheetWidth", 0, limit("--sheet").max, 3, tr("no sheet"));
  sheetHeight_ = number("SheetHeight", 0, limit("--sheet").max, 3, tr("no sheet"));
  auto* sheetRow = new QHBoxLayout;
  sheetRow->addWidget(sheetWidth_, 1);
  sheetRow->addWidget(new QLabel(QStringLiteral("x"), this));
  sheetRow->addWidget(sheetHeight_, 1);
  form->addRow(tr("Sheet W x H"), sheetRow);
  gap_ = number("SheetGap", 0, limit("--gap").max, 3, {});
  form->addRow(tr("Gap"), gap_);
  columns_ = whole("SheetColumns", 0, 1000000, 0, tr("as many as fit"));
  form->addRow(tr("Columns"), columns_);

  tabs_ = whole("TabCount", 0, static_cast<int>(limit("--tabs").max), 0, tr("none"));
  form->addRow(tr("Tabs per contour"), tabs_);
  tabWidth_ = number("TabWidth", 0, limit("--tab-width").max, 4, tr("default"));
  form->addRow(tr("Tab width"), tabWidth_);
  tabHeight_ = number("TabHeight", 0, limit("--tab-height").max, 4, tr("full (a gap)"));
  tabHeight_->setToolTip(tr("Router G-code: material left over a tab; the tool crosses it at "
                            "the cut depth plus this height"));
  form->addRow(tr("Tab height"), tabHeight_);
  stencil_ = number("StencilBridge", 0, limit("--stencil").max, 4, tr("none"));
  stencil_->setToolTip(tr("Width of the bridges that hold every island of a stencil"));
  form->addRow(tr("Stencil bridges"), stencil_);

  connect(browse_, &QPushButton::clicked, this, [this] {
    const QString path = chooseMergeFile ? chooseMergeFile() : QString();
    if (!path.isEmpty()) openMergeFile(path);
  });
  connect(mergeEdit_, &QLineEdit::editingFinished, this, [this] {
    if (table_ ? mergeEdit_->text() != mergeEdit_->property("opened").toString() : !mergeEdit_->text().isEmpty())
      openMergeFile(mergeEdit_->text());
  });
  connect(rows_, &QListWidget::currentRowChanged, this, [this] {
    if (!quiet_) emit changed();
  });
}

QDoubleSpinBox* ProductionPanel::number(const char* name, double min, double max, int decimals,
                                        const QString& none) {
  auto* box = new QDoubleSpinBox(this);
  box->setObjectName(QString::fromLatin1(name));
  box->setDecimals(decimals);
  box->setRange(min, max);
  box->setValue(min);
  if (!none.isEmpty()) box->setSpecialValueText(none);
  connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
    if (!quiet_) emit changed();
  });
  return box;
}

bool ProductionPanel::openMergeFile(const QString& path) {
  table_.reset();
  rows_->clear();
  mergeNote_->clear();
  mergeEdit_->setText(path);
  mergeEdit_->setProperty("opened", path);
  bool ok = true;
  if (!path.isEmpty()) {
    try {
      table_ = readCsvFile(path.toStdString());
      const std::size_t listed = std::min<std::size_t>(table_->rows.size(), kRowsListed);
      for (std::size_t i = 0; i < listed; ++i)
        rows_->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(rowText(table_->rows[i])));
      mergeNote_->setText(tr("%n row(s); columns: %1", nullptr, static_cast<int>(table_->rows.size()))
                              .arg(rowText(table_->header)));
      if (!table_->rows.empty()) rows_->setCurrentRow(0);
    } catch (const Error& e) {
      mergeNote_->setText(QString::fromStdString(e.what()));
      ok = false;
    }
  }
  copies_->setEnabled(!table_);
  if (!quiet_) emit changed();
  return ok;
}

ProductionOptions ProductionPanel::production() const {
  ProductionOptions p;
  if (!mergeEdit_->text().isEmpty()) p.mergeFile = mergeEdit_->text().toStdString();
  if (serialStart_->value() != 1) p.serialStart = serialStart_->value();
  if (serialStep_->value() != 1) p.serialStep = serialStep_->value();
  if (!p.mergeFile && copies_->value() > 1) p.copies = copies_->value();
  if (sheetWidth_->value() > 0 && sheetHeight_->value() > 0) {
    p.sheet = Vec2{sheetWidth_->value(), sheetHeight_->value()};
    if (gap_->value() > 0) p.gap = gap_->value();
    if (columns_->value() > 0) p.columns = columns_->value();
  }
  return p;
}

void ProductionPanel::applyTo(ConversionOptions& options) const {
  const auto set = [](const QDoubleSpinBox* box) {
    return box->value() > box->minimum() ? std::optional<double>(box->value()) : std::nullopt;
  };
  options.tabCount = tabs_->value() > 0 ? std::optional<double>(tabs_->value()) : std::nullopt;
  options.tabSpacing.reset();
  options.tabWidth = options.tabCount ? set(tabWidth_) : std::nullopt;
  options.tabHeight = options.tabCount ? set(tabHeight_) : std::nullopt;
  options.stencilBridge = set(stencil_);
}

void ProductionPanel::setChoices(const ConversionOptions& options, const ProductionOptions& p) {
  quiet_ = true;
  serialStart_->setValue(static_cast<int>(p.serialStart.value_or(1)));
  serialStep_->setValue(static_cast<int>(p.serialStep.value_or(1)));
  copies_->setValue(p.copies.value_or(1));
  sheetWidth_->setValue(p.sheet ? p.sheet->x : 0);
  sheetHeight_->setValue(p.sheet ? p.sheet->y : 0);
  gap_->setValue(p.gap.value_or(0));
  columns_->setValue(p.columns.value_or(0));
  tabs_->setValue(static_cast<int>(options.tabCount.value_or(0)));
  tabWidth_->setValue(options.tabWidth.value_or(0));
  tabHeight_->setValue(options.tabHeight.value_or(0));
  stencil_->setValue(options.stencilBridge.value_or(0));
  openMergeFile(QString::fromStdString(p.mergeFile.value_or("")));
  quiet_ = false;
}

StyledText ProductionPanel::itemText(const StyledText& text) const {
  const ProductionOptions p = production();
  if (!p.active()) return text;
  try {
    const TextTemplate tmpl(text);
    tmpl.check(table_ ? &*table_ : nullptr);
    const int row = table_ ? std::max(0, rows_->currentRow()) : 0;
    if (table_ && static_cast<std::size_t>(row) >= table_->rows.size()) return text;
    const long long serial = p.serialStart.value_or(1) + row * p.serialStep.value_or(1);
    return tmpl.fill(ItemValues{serial, table_ ? &*table_ : nullptr, static_cast<std::size_t>(row)});
  } catch (const Error&) {
    // A placeholder the file has no column for: the editor's text as typed, until it fits.
    return text;
  }
}

int ProductionPanel::currentRow() const { return table_ ? rows_->currentRow() : -1; }

void ProductionPanel::setCurrentRow(int row) { rows_->setCurrentRow(row); }

}  // namespace kerfline
