#pragma once
// Widgets named as they are made: the widget tests find them, and style sheets address them,
// by these names.
#include <QString>

namespace kerfline {

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace kerfline
