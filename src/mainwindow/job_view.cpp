#include "mainwindow/job_view.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QToolButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <utility>

#include "mainwindow/job_scene.h"
#include "mainwindow/job_view_paint.h"
#include "mainwindow/toolbar_icons.h"

namespace kerfline {

JobView::JobView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);  // + - 0 reach it after a click
  setMouseTracking(true);  // the pointer's position in drawing units is shown
  setMinimumSize(120, 80);
  setCursor(Qt::OpenHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every frame paints every pixel

  auto command = [this](const QString& caption, const QKeySequence& key, const QString& tip) {
    auto* a = new QAction(caption, this);
    a->setShortcut(key);
    // Plain keys must not be taken from the editor: they act only while the view has focus.
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    a->setStatusTip(tip);
    addAction(a);
    return a;
  };
  fitAction_ = command(tr("&Fit Job"), QKeySequence(Qt::Key_0), tr("Show the whole drawing in the job view"));
  zoomInAction_ = command(tr("Zoom &In"), QKeySequence(Qt::Key_Plus), tr("Zoom into the job view"));
  zoomOutAction_ = command(tr("Zoom &Out"), QKeySequence(Qt::Key_Minus), tr("Zoom out of the job view"));
  cutOrderAction_ = command(tr("Show &Cut Order"), QKeySequence(),
                            tr("Show the moves between contours dashed and number the contours in cutting order"));
  fitAction_->setObjectName(QStringLiteral("JobFit"));
  zoomInAction_->setObjectName(QStringLiteral("JobZoomIn"));
  zoomOutAction_->setObjectName(QStringLiteral("JobZoomOut"));
  cutOrderAction_->setObjectName(QStringLiteral("JobCutOrder"));
  cutOrderAction_->setCheckable(true);
  fitAction_->setIcon(toolIcon(ToolIcon::FitJob));
  zoomInAction_->setIcon(toolIcon(ToolIcon::ZoomIn));
  zoomOutAction_->setIcon(toolIcon(ToolIcon::ZoomOut));
  cutOrderAction_->setIcon(toolIcon(ToolIcon::CutOrder));
  for (QAction* a : {fitAction_, zoomInAction_, zoomOutAction_, cutOrderAction_})
    a->setToolTip(a->text().remove(u'&') + (a->shortcut().isEmpty() ? QString() : QStringLiteral(" (%1)").arg(a->shortcut().toString(QKeySequence::NativeText))));

  // The view's own buttons, in its top right corner over the drawing.
  buttons_ = new QFrame(this);
  buttons_->setObjectName(QStringLiteral("JobViewButtons"));
  buttons_->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  buttons_->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(buttons_);
  row->setContentsMargins(1, 1, 1, 1);
  row->setSpacing(0);
  for (QAction* a : {fitAction_, zoomOutAction_, zoomInAction_, cutOrderAction_}) {
    auto* b = new QToolButton(buttons_);
    b->setDefaultAction(a);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setObjectName(a->objectName() + QStringLiteral("Button"));
    row->addWidget(b);
  }
  buttons_->adjustSize();
  buttons_->setCursor(Qt::ArrowCursor);

  connect(fitAction_, &QAction::triggered, this, &JobView::fitToView);
  connect(zoomInAction_, &QAction::triggered, this, &JobView::zoomIn);
  connect(zoomOutAction_, &QAction::triggered, this, &JobView::zoomOut);
  connect(cutOrderAction_, &QAction::toggled, this, &JobView::setShowCutOrder);
}

JobView::~JobView() = default;

int JobView::rulerWidth() const { return fontMetrics().height() + 8; }

QRect JobView::drawingArea() const {
  const int r = rulerWidth();
  return QRect(r, r, std::max(1, width() - r), std::max(1, height() - r));
}

ScreenRect JobView::area() const {
  const QRect a = drawingArea();
  return {double(a.x()), double(a.y()), double(a.width()), double(a.height())};
}

void JobView::refreshLimits() {
  transform_.limitFor(scene_ ? scene_->extent : Extent{}, area(), kFitMargin);
}

void JobView::setScene(std::shared_ptr<const JobScene> scene) {
  scene_ = std::move(scene);
  if (followFit_)
    transform_.fit(scene_ ? scene_->extent : Extent{}, area(), kFitMargin);
  else
    refreshLimits();
  update();
  emit viewChanged();
}

void JobView::setHighlight(std::int32_t pos) {
  if (pos == highlight_) return;
  highlight_ = pos;
  update();
}

void JobView::setShowCutOrder(bool on) {
  if (on == showCutOrder_) return;
  showCutOrder_ = on;
  cutOrderAction_->setChecked(on);
  update();
}

void JobView::fitToView() {
  followFit_ = true;
  transform_.fit(scene_ ? scene_->extent : Extent{}, area(), kFitMargin);
  update();
  emit viewChanged();
}

void JobView::zoomAt(const QPointF& point, double factor) {
  followFit_ = false;
  if (transform_.zoomAbout({point.x(), point.y()}, factor)) {
    update();
    emit viewChanged();
  }
}

void JobView::zoomIn() {
  const QRectF a = drawingArea();
  zoomAt(a.center(), kZoomStep);
}

void JobView::zoomOut() {
  const QRectF a = drawingArea();
  zoomAt(a.center(), 1 / kZoomStep);
}

std::int32_t JobView::characterAtPoint(const QPointF& point) const {
  if (!scene_ || !QRectF(drawingArea()).contains(point)) return 0;
  const Vec2 p = transform_.toDrawing({point.x(), point.y()});
  // A little room around thin strokes: a hairline character is hard to hit exactly.
  const double slop = kClickSlop / transform_.scale();
  std::int32_t best = 0;
  double bestArea = 0;
  for (std::size_t i = 0; i < scene_->characterBoxes.size(); ++i) {
    const QRectF& b = scene_->characterBoxes[i];
    if (p.x < b.left() - slop || p.x > b.right() + slop || p.y < b.top() - slop || p.y > b.bottom() + slop)
      continue;
    const double area = b.width() * b.height();
    if (best == 0 || area < bestArea) {
      best = scene_->drawing.characters[i].position;
      bestArea = area;
    }
  }
  return best;
}

void JobView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  JobPaintOptions o;
  o.highlight = highlight_;
  o.cutOrder = showCutOrder_;
  o.ruler = rulerWidth();
  paintJobFrame(painter, size(), scene_.get(), transform_, o);
}

void JobView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QRect a = drawingArea();
  buttons_->move(a.right() - buttons_->width() - 3, a.top() + 3);
  if (followFit_)
    transform_.fit(scene_ ? scene_->extent : Extent{}, area(), kFitMargin);
  else
    refreshLimits();
  emit viewChanged();
}

void JobView::wheelEvent(QWheelEvent* event) {
  // One notch is 120 eighths of a degree; touchpads send fractions of it.
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) {
    event->ignore();
    return;
  }
  zoomAt(event->position(), std::pow(kZoomStep, notches));
  event->accept();
}

void JobView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
    dragging_ = true;
    moved_ = false;
    dragFrom_ = event->position();
    pressedAt_ = event->position();
    setCursor(Qt::ClosedHandCursor);
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void JobView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) {
    const QPointF at = event->position();
    if (QRectF(drawingArea()).contains(at)) {
      const Vec2 p = transform_.toDrawing({at.x(), at.y()});
      emit pointerMoved(true, p.x, p.y);
    } else {
      emit pointerMoved(false, 0, 0);
    }
    return QWidget::mouseMoveEvent(event);
  }
  const QPointF d = event->position() - dragFrom_;
  dragFrom_ = event->position();
  if ((event->position() - pressedAt_).manhattanLength() > kClickSlop) moved_ = true;
  if (d.isNull()) return;
  followFit_ = false;
  transform_.panBy(d.x(), d.y());
  update();
  emit viewChanged();
}

void JobView::mouseReleaseEvent(QMouseEvent* event) {
  if (dragging_ && (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton)) {
    dragging_ = false;
    setCursor(Qt::OpenHandCursor);
    event->accept();
    if (!moved_ && event->button() == Qt::LeftButton)
      if (const std::int32_t pos = characterAtPoint(event->position())) emit characterClicked(pos);
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

void JobView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    fitToView();
    event->accept();
    return;
  }
  QWidget::mouseDoubleClickEvent(event);
}

void JobView::leaveEvent(QEvent* event) {
  emit pointerMoved(false, 0, 0);
  QWidget::leaveEvent(event);
}

void JobView::keyPressEvent(QKeyEvent* event) {
  // "+" needs Shift on many keyboards and "=" shares its key; the keypad sends its own.
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoomIn();
      return;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      zoomOut();
      return;
    case Qt::Key_0:
      fitToView();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace kerfline
