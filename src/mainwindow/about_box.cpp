#include "mainwindow/about_box.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

#include "appcore/version.h"

namespace kerfline {

TAboutBox::TAboutBox(const QString& settingsFile, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(tr("About Kerfline"));

  VersionLabel = new QLabel(tr("Kerfline %1").arg(QString::fromUtf8(programVersion())), this);
  VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
  QFont bigger = VersionLabel->font();
  bigger.setBold(true);
  bigger.setPointSizeF(bigger.pointSizeF() * 1.4);
  VersionLabel->setFont(bigger);

  auto* purpose = new QLabel(
      tr("Turns text in TrueType and OpenType fonts into straight-line outlines for cutting "
         "machines."),
      this);
  purpose->setWordWrap(true);

  LicenceLabel = new QLabel(QString::fromUtf8(programLicence()), this);
  LicenceLabel->setObjectName(QStringLiteral("LicenceLabel"));
  LicenceLabel->setWordWrap(true);

  // Where a person goes to copy or edit the settings by hand, so the path can be selected.
  const QString state = QFileInfo::exists(settingsFile) ? QString()
                                                        : tr(" (written at the first save)");
  SettingsLabel = new QLabel(tr("Settings file: %1%2").arg(settingsFile, state), this);
  SettingsLabel->setObjectName(QStringLiteral("SettingsLabel"));
  SettingsLabel->setWordWrap(true);
  SettingsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setObjectName(QStringLiteral("AboutButtons"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(VersionLabel);
  layout->addWidget(purpose);
  layout->addWidget(LicenceLabel);
  layout->addWidget(SettingsLabel);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

}  // namespace kerfline
