#pragma once
// The list behind File > Recent Files: newest first, each file once, at most eight.
#include <QStringList>

class QSettings;

namespace kerfline {

class RecentFiles {
 public:
  /// Most files the list keeps.
  static constexpr int kMaxFiles = 8;

  /// The files, newest first, as absolute paths.
  const QStringList& files() const { return files_; }
  /// Puts path first (as an absolute path), dropping an older entry of the same file and
  /// whatever falls beyond kMaxFiles.
  void add(const QString& path);
  /// Drops path from the list (a file that can no longer be opened).
  void remove(const QString& path);
  void clear() { files_.clear(); }

  /// Reads and writes the list as the "RecentFiles/files" key; a stored list is cleaned
  /// (empty entries and duplicates dropped, cut to kMaxFiles) as it is read.
  void load(const QSettings& settings);
  void save(QSettings& settings) const;

 private:
  QStringList files_;
};

}  // namespace kerfline
