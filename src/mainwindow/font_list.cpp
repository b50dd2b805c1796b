#include "mainwindow/font_list.h"

#include <algorithm>

namespace kerfline {

QString bareFaceName(QString family) {
  // Qt names a family offered by two foundries "Face [foundry]"; the face name is what
  // the formatting stores and fontconfig matches.
  const qsizetype bracket = family.lastIndexOf(QStringLiteral(" ["));
  if (bracket > 0 && family.endsWith(u']')) family.truncate(bracket);
  return family;
}

QStringList sortedFaceNames(QStringList names) {
  // Each face is listed once, bare.
  for (QString& name : names) name = bareFaceName(name);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace kerfline
