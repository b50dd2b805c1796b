#include <QComboBox>
#include <QLineEdit>

#include "appcore/settings_file.h"
#include "appcore/settings_location.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {

std::string TMainForm::settingsFile() const { return findSettingsFile(ProgramFolder).path; }

void TMainForm::Loadini() {
  const LayerSettings s = kerfline::Loadini(settingsFile());
  Layername->setText(QString::fromStdString(s.layer));
  ZmoveEdit->setText(QString::fromStdString(s.zUp));
  ZlevelEdit->setText(QString::fromStdString(s.zDown));
  loadTypography(settingsFile());
  loadLayout(settingsFile());
  loadProduction(settingsFile());
}

void TMainForm::Saveini() {
  // Looked up again at every save: a portable file put beside the program meanwhile wins.
  const SettingsLocation location = findSettingsFile(ProgramFolder);
  prepareSettingsFolder(location);
  kerfline::Saveini(location.path,
                    LayerSettings{Layername->text().toStdString(), ZmoveEdit->text().toStdString(),
                                  ZlevelEdit->text().toStdString()});
  saveTypography(location.path);
  saveLayout(location.path);
  saveProduction(location.path);
}

ExportSettings TMainForm::exportSettings() const {
  ExportSettings s;
  s.pitchText = Edit1->text().toStdString();
  s.zMoveText = ZmoveEdit->text().toStdString();
  s.zLevelText = ZlevelEdit->text().toStdString();
  s.layerText = Layername->text().toStdString();
  s.resolution = Resolution1->Value();
  s.scale = ScaleEdit1->Value();
  // In font spacing the box shows the tracking; the classic space waits in otherSpace_.
  s.spacePercent = fontSpacingChosen() ? otherSpace_ : SpacePc->Value();
  return s;
}

}  // namespace kerfline
