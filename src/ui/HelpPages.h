#pragma once

#include <QString>

namespace tw::ui {

/// The help page `name` ("documentation.html", "command-line.html") as a file a browser can
/// open, for the running program: see the overload.
QString helpPageFile(const QString& name);

/// The help page `name` for a program in `executableDirectory`: the page in the help folder
/// beside it (share/tallyweaver/help next to an installed program's bin folder; the build tree
/// copies the pages to the same place), else the copy compiled into the program, written to
/// the user's cache folder. Empty when there is no such page or it cannot be written.
QString helpPageFile(const QString& name, const QString& executableDirectory);

}  // namespace tw::ui
