#pragma once
// Icons of the toolbar, the step buttons and the job view: SVG drawings rendered afresh at
// every size and screen scale, so they stay crisp on high-density screens.
#include <QIcon>

class QStyle;

namespace kerfline {

enum class ToolIcon {
  New, Open, Save, Cut, Copy, Paste, Undo, Bold, Italic, Pitch, Scan, Prev, Next,
  FitJob, ZoomIn, ZoomOut, CutOrder,
};

/// The icon for a command; style and size are accepted for the callers' sake (the drawing
/// scales to whatever size is asked for).
QIcon toolIcon(ToolIcon kind, const QStyle* style = nullptr, int size = 16);

/// The SVG resource behind an icon (":/icons/....svg").
QString toolIconResource(ToolIcon kind);

}  // namespace kerfline
