#pragma once
// The job view: the whole drawing an export writes, as vector lines, with zoom, pan, fit, a
// grid, rulers in drawing units, the current character highlighted and, on request, the cut
// order (travel moves dashed, contours numbered).
#include <QWidget>
#include <cstdint>
#include <memory>

#include "windowlogic/view_transform.h"

class QAction;
class QFrame;

namespace kerfline {

struct JobScene;

class JobView : public QWidget {
  Q_OBJECT
 public:
  explicit JobView(QWidget* parent = nullptr);
  ~JobView() override;

  /// Shows scene (nothing when null). While the view follows the fit (after a fit or a new
  /// document, until the user zooms or pans) it fits the new drawing; otherwise it stays put.
  void setScene(std::shared_ptr<const JobScene> scene);
  /// The scene shown, or null before the first layout.
  const std::shared_ptr<const JobScene>& scene() const { return scene_; }

  /// Highlights the character at 1-based text position pos (0: none).
  void setHighlight(std::int32_t pos);
  std::int32_t highlight() const { return highlight_; }

  /// Shows the travel moves between contours dashed and every contour's cut-order number.
  void setShowCutOrder(bool on);
  bool showCutOrder() const { return showCutOrder_; }

  /// Shows the whole drawing and follows the fit from now on.
  void fitToView();
  /// Makes the next scene fitted (a new document).
  void followFit() { followFit_ = true; }
  bool followsFit() const { return followFit_; }
  /// One zoom step in or out about the middle of the drawing area.
  void zoomIn();
  void zoomOut();
  /// Zooms by factor about a point of the widget (clamped to the limits).
  void zoomAt(const QPointF& point, double factor);

  /// The drawing-units-to-pixels mapping of the drawing area.
  const ViewTransform& transform() const { return transform_; }
  /// The part of the widget the drawing is shown in (the rulers take the rest).
  QRect drawingArea() const;

  /// The commands of the view, for menus: Fit, Zoom In, Zoom Out, Show Cut Order.
  QAction* fitAction() const { return fitAction_; }
  QAction* zoomInAction() const { return zoomInAction_; }
  QAction* zoomOutAction() const { return zoomOutAction_; }
  QAction* cutOrderAction() const { return cutOrderAction_; }

  /// The 1-based text position of the character whose box holds the widget point (the
  /// smallest such box), or 0.
  std::int32_t characterAtPoint(const QPointF& point) const;

  /// Pixels between the margin of a fit and the drawing area's edge.
  static constexpr int kFitMargin = 12;
  /// Pixels the pointer may move between press and release of a click.
  static constexpr int kClickSlop = 3;
  /// One zoom step (a wheel notch or a key press).
  static constexpr double kZoomStep = 1.25;

 signals:
  /// The scale or position changed (zoom, pan, fit, resize).
  void viewChanged();
  /// A click (no drag) on the character at 1-based text position pos.
  void characterClicked(std::int32_t pos);
  /// The pointer is over the drawing at p (drawing units), or has left it (valid false).
  void pointerMoved(bool valid, double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ScreenRect area() const;
  void refreshLimits();
  int rulerWidth() const;

  std::shared_ptr<const JobScene> scene_;
  ViewTransform transform_;
  std::int32_t highlight_ = 0;
  bool showCutOrder_ = false;
  bool followFit_ = true;
  bool dragging_ = false;
  QPointF dragFrom_;
  QPointF pressedAt_;
  bool moved_ = false;  ///< the pointer left the press point by more than a click allows
  QFrame* buttons_ = nullptr;
  QAction* fitAction_ = nullptr;
  QAction* zoomInAction_ = nullptr;
  QAction* zoomOutAction_ = nullptr;
  QAction* cutOrderAction_ = nullptr;
};

}  // namespace kerfline
