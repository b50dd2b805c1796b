#pragma once
// The face-name list of the font toolbar.
#include <QStringList>

namespace kerfline {

/// Every face name once (a " [foundry]" suffix removed), sorted as a sorted list control
/// sorts: ignoring case, ties by code.
QStringList sortedFaceNames(QStringList names);

}  // namespace kerfline
