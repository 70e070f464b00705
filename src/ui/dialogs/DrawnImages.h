#pragma once

#include <QIcon>
#include <QPixmap>

namespace tw::ui {

/// The images of the dialogs, painted here rather than loaded.

/// A 24 by 24 arrow for the move buttons of the Add Folder dialog; `pointsRight` chooses its
/// direction.
QIcon moveArrowIcon(bool pointsRight);

/// The 24 by 24 warning image of the Errors dialog: a red square with a white exclamation
/// mark on a transparent background.
QPixmap warningPixmap();

}  // namespace tw::ui
