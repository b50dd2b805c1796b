#pragma once
// The face-name list of the font toolbar.
#include <QString>
#include <QStringList>

namespace kerfline {

/// The face name of a Qt family name: a trailing " [foundry]" removed.
QString bareFaceName(QString family);

/// Every face name once (a " [foundry]" suffix removed), sorted as a sorted list control
/// sorts: ignoring case, ties by code.
QStringList sortedFaceNames(QStringList names);

}  // namespace kerfline
