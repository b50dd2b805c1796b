#include "mainwindow/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kerfline {
namespace {

const QString kKey = QStringLiteral("RecentFiles/files");

// Two names of one file (a relative path, a path through a symbolic link) count as one.
QString identity(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

void RecentFiles::add(const QString& path) {
  if (path.isEmpty()) return;
  remove(path);
  files_.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
  while (files_.size() > kMaxFiles) files_.removeLast();
}

void RecentFiles::remove(const QString& path) {
  const QString id = identity(path);
  files_.removeIf([&](const QString& f) { return identity(f) == id; });
}

void RecentFiles::load(const QSettings& settings) {
  files_.clear();
  const QStringList stored = settings.value(kKey).toStringList();
  // Oldest first, so that add() leaves the newest at the front.
  for (auto it = stored.crbegin(); it != stored.crend(); ++it)
    if (!it->isEmpty()) add(*it);
}

void RecentFiles::save(QSettings& settings) const { settings.setValue(kKey, files_); }

}  // namespace kerfline
