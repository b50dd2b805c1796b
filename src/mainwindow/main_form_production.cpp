// The window's Production panel: a dock beside the editor, shown from View > Production Panel,
// its choices kept in the settings file's [Production] section.
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>

#include "appcore/toolpath_settings.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/production_panel.h"
#include "mainwindow/rich_edit.h"

namespace kerfline {

void TMainForm::createProductionPanel() {
  productionPanel_ = new ProductionPanel;
  auto* scroll = new QScrollArea;
  scroll->setWidget(productionPanel_);
  scroll->setWidgetResizable(true);
  auto* dock = new QDockWidget(tr("Production"), this);
  dock->setObjectName(QStringLiteral("ProductionDock"));
  dock->setWidget(scroll);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  // Hidden until asked for: the window a user knows keeps its size and look.
  dock->hide();
  QAction* toggle = dock->toggleViewAction();
  toggle->setObjectName(QStringLiteral("ProductionPanel1"));
  toggle->setText(tr("&Production Panel"));
  toggle->setStatusTip(tr("Merge file, serial numbers, sheets, tabs and stencil bridges"));
  if (QMenu* view = menuBar()->findChild<QMenu*>(QStringLiteral("ViewMenu"))) {
    view->addSeparator();
    view->addAction(toggle);
  }
  connect(productionPanel_, &ProductionPanel::changed, this, &TMainForm::requestJobLayout);
}

StyledText TMainForm::jobViewText() const {
  const StyledText text = RichEdit1->styledText();
  return productionPanel_ ? productionPanel_->itemText(text) : text;
}

void TMainForm::applyProductionPanel(ConversionOptions& options) const {
  // The classic forms have no tabs or bridges: their files stay exactly as they were.
  if (!productionPanel_ || options.format == OutputFormat::Lines ||
      options.format == OutputFormat::PolyLines)
    return;
  productionPanel_->applyTo(options);
}

void TMainForm::loadProduction(const std::string& path) {
  ConversionOptions options;
  ProductionOptions production;
  loadProductionChoices(path, options, production);
  productionPanel_->setChoices(options, production);
}

void TMainForm::saveProduction(const std::string& path) {
  ConversionOptions options;
  productionPanel_->applyTo(options);
  saveProductionChoices(path, options, productionPanel_->production());
}

}  // namespace kerfline
