#pragma once
// The window's Layout panel: the sign layout's fields (text on a circle or a path, turn,
// mirror, slant, stretch, fit box, frame and holes), each number field limited by its option
// table row.
#include <QWidget>
#include <functional>

#include "appcore/toolpath_settings.h"
#include "layout/sign_layout.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kerfline {

/// Shows a SignLayout as fields and gives it back; tells changed() after every edit.
class LayoutPanel final : public QWidget {
 public:
  explicit LayoutPanel(QWidget* parent = nullptr);

  /// Shows layout and the path file it follows (read now; its path data replaces
  /// layout.pathData), without telling changed().
  void setSignLayout(const SignLayout& layout, const LayoutPathFile& path);
  /// The fields as a layout: straight, on the circle or on the path last read from the file.
  SignLayout signLayout() const;
  /// The path file and element shown.
  LayoutPathFile pathFile() const;

  /// Called after any field changed (not while setSignLayout shows a layout).
  std::function<void()> changed;
  /// The SVG file dialog: the chosen file, or empty when cancelled.
  std::function<QString()> browsePath;

  /// What the text follows (the order of the choices).
  enum Follow { Straight, Circle, Path };
  QComboBox* follow = nullptr;
  QComboBox* letters = nullptr;         ///< rigid, warp (BendMode order)
  QDoubleSpinBox* arcRadius = nullptr;
  QComboBox* arcSide = nullptr;         ///< top, bottom
  QComboBox* arcAlign = nullptr;        ///< left, center, right (ArcAlign order)
  QDoubleSpinBox* arcAngle = nullptr;   ///< the minimum reads "up/down"
  QLineEdit* pathFileEdit = nullptr;
  QPushButton* browse = nullptr;
  QLineEdit* pathId = nullptr;          ///< empty: the file's first path
  QDoubleSpinBox* pathOffset = nullptr; ///< the minimum reads "by alignment"
  QComboBox* pathAlign = nullptr;       ///< left, center, right
  QLabel* pathProblem = nullptr;        ///< why the path file is not used, or empty
  QDoubleSpinBox* rotate = nullptr;
  QComboBox* mirror = nullptr;          ///< none, x, y (MirrorAxis order)
  QDoubleSpinBox* slant = nullptr;
  QDoubleSpinBox* stretchX = nullptr;
  QGroupBox* fitBox = nullptr;          ///< checkable: fit into a box at all
  QDoubleSpinBox* boxWidth = nullptr;
  QDoubleSpinBox* boxHeight = nullptr;
  QDoubleSpinBox* margin = nullptr;
  QComboBox* anchor = nullptr;          ///< BoxAnchor order
  QCheckBox* stretch = nullptr;
  QComboBox* frame = nullptr;           ///< FrameShape order
  QDoubleSpinBox* frameSize = nullptr;  ///< corner radius or offset
  QLabel* frameSizeLabel = nullptr;
  QDoubleSpinBox* frameMargin = nullptr;
  QComboBox* holes = nullptr;           ///< none, 2, 4
  QDoubleSpinBox* holeDiameter = nullptr;
  QDoubleSpinBox* holeInset = nullptr;  ///< the minimum reads "one diameter"

 private:
  void edited();
  void readPathFile();
  void updateEnabled();

  std::string pathData_;  ///< of the file shown, as last read; empty when it could not be
  bool showing_ = false;  ///< setSignLayout is filling the fields
  QGroupBox* arcGroup_ = nullptr;
  QGroupBox* pathGroup_ = nullptr;
};

}  // namespace kerfline
