#pragma once
#include <QDialog>
#include <QString>

class QLabel;

namespace kerfline {

/// Help > About: the program's version, its licence and the settings file the window reads
/// and writes. Closed by OK or Escape.
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  /// settingsFile is the file by the settings lookup; it may not exist yet.
  TAboutBox(const QString& settingsFile, QWidget* parent = nullptr);

  QLabel* VersionLabel = nullptr;   ///< "Kerfline <version>"
  QLabel* LicenceLabel = nullptr;   ///< the licence sentence
  QLabel* SettingsLabel = nullptr;  ///< the settings file, selectable for copying
};

}  // namespace kerfline
