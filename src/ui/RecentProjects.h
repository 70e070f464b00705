#pragma once

#include <QStringList>

class QSettings;

namespace tw::ui {

/// The recent-project list: the last four project files opened or saved, newest first, kept in
/// the program's settings file.
class RecentProjects {
  public:
    static constexpr int kSize = 4;

    /// A list read from `settings`, or an empty list kept only in memory when there are none.
    explicit RecentProjects(QSettings* settings = nullptr);

    const QStringList& entries() const { return entries_; }
    /// Puts `path` first, dropping an equal entry further down and the oldest beyond four.
    void add(const QString& path);
    /// Drops `path`, for instance after it could not be opened.
    void remove(const QString& path);

  private:
    void save() const;

    QSettings* settings_;
    QStringList entries_;
};

}  // namespace tw::ui
