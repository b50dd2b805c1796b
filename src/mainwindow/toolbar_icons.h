#pragma once
// Icons of the toolbar and the step buttons: the style's own where it has one, else drawn.
#include <QIcon>

class QStyle;

namespace kerfline {

enum class ToolIcon { New, Open, Save, Cut, Copy, Paste, Undo, Bold, Italic, Pitch, Scan, Prev, Next };

/// The icon for a command, size pixels square.
QIcon toolIcon(ToolIcon kind, const QStyle* style, int size);

}  // namespace kerfline
