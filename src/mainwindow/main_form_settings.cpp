#include <QComboBox>
#include <QLineEdit>

#include "app/settings_file.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/spin_edit.h"

namespace kerfline {

void TMainForm::Loadini() {
  const LayerSettings s = kerfline::Loadini(settingsPath(ProgramFolder));
  Layername->setText(QString::fromStdString(s.layer));
  ZmoveEdit->setText(QString::fromStdString(s.zUp));
  ZlevelEdit->setText(QString::fromStdString(s.zDown));
  loadTypography(settingsPath(ProgramFolder));
}

void TMainForm::Saveini() {
  kerfline::Saveini(settingsPath(ProgramFolder),
                    LayerSettings{Layername->text().toStdString(), ZmoveEdit->text().toStdString(),
                                  ZlevelEdit->text().toStdString()});
  saveTypography(settingsPath(ProgramFolder));
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
  s.spacePercent = SpacingBox->currentIndex() == 1 ? otherSpace_ : SpacePc->Value();
  return s;
}

}  // namespace kerfline
