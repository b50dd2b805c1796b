// The Layout panel in its dock: a sign's layout edited beside the job view, which lays the text
// out again at every change, kept in section [Layout] of the settings file.
#include <QDockWidget>
#include <QFileDialog>
#include <QMenu>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>

#include "appcore/settings_location.h"
#include "appcore/toolpath_settings.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/layout_panel.h"

namespace kerfline {
namespace {

// Edits come in bursts (a held spin arrow): the settings file is written once they pause.
constexpr int kLayoutSaveDelayMs = 500;

}  // namespace

void TMainForm::createLayoutPanel(QMenu* view) {
  LayoutDock = new QDockWidget(tr("Layout"), this);
  LayoutDock->setObjectName(QStringLiteral("LayoutDock"));
  LayoutDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  auto* scroll = new QScrollArea(LayoutDock);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  LayoutPanel1 = new LayoutPanel(scroll);
  LayoutPanel1->setObjectName(QStringLiteral("LayoutPanel1"));
  scroll->setWidget(LayoutPanel1);
  scroll->setMinimumWidth(LayoutPanel1->sizeHint().width() + dp(24));
  LayoutDock->setWidget(scroll);
  addDockWidget(Qt::RightDockWidgetArea, LayoutDock);
  LayoutDock->hide();

  QAction* toggle = LayoutDock->toggleViewAction();
  toggle->setObjectName(QStringLiteral("LayoutPanelCmd"));
  toggle->setText(tr("&Layout Panel"));
  toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  toggle->setShortcutContext(Qt::WindowShortcut);
  toggle->setStatusTip(tr("Text on a circle or a path, rotation, mirror, slant, stretch, fit box, "
                          "frame and holes"));
  addAction(toggle);
  view->addSeparator();
  view->addAction(toggle);

  LayoutPanel1->browsePath = [this] {
    return QFileDialog::getOpenFileName(this, tr("Path to set the text on"), QString(),
                                        tr("SVG Files (*.svg)"));
  };
  layoutSave_ = new QTimer(this);
  layoutSave_->setSingleShot(true);
  layoutSave_->setInterval(kLayoutSaveDelayMs);
  connect(layoutSave_, &QTimer::timeout, this, [this] {
    try {
      const SettingsLocation location = findSettingsFile(ProgramFolder);
      prepareSettingsFolder(location);
      saveLayout(location.path);
    } catch (const std::exception& e) {
      StatusBar1->showMessage(QString::fromStdString(e.what()));
    }
  });
  LayoutPanel1->changed = [this] {
    requestJobLayout();
    layoutSave_->start();
  };
}

void TMainForm::loadLayout(const std::string& path) {
  ConversionOptions o;
  loadLayoutChoices(path, o);
  LayoutPanel1->setSignLayout(o.layout, loadLayoutPathFile(path));
  requestJobLayout();
}

void TMainForm::saveLayout(const std::string& path) {
  if (layoutSave_) layoutSave_->stop();
  ConversionOptions o;
  o.layout = LayoutPanel1->signLayout();
  saveLayoutChoices(path, o);
  saveLayoutPathFile(path, LayoutPanel1->pathFile());
}

}  // namespace kerfline
