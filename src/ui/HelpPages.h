#pragma once

#include <QString>

namespace tw::ui {

/// The help page `name` ("documentation.html", "command-line.html") as a file a browser can
/// open: the page shipped inside the program, written to the user's cache folder. Empty when
/// there is no such page or it cannot be written.
QString helpPageFile(const QString& name);

}  // namespace tw::ui
