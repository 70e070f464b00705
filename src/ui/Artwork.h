#pragma once

#include <QIcon>
#include <QImage>

namespace tw::ui {

/// The toolbar images, in the order of the toolbar's buttons.
enum class ToolbarImage {
    NewProject,
    OpenProject,
    SaveProject,
    AddFiles,
    AddFolders,
    RemoveSelected,
    Count,
    Stop,
    Reset,
    Settings,
    GenerateReport,
    About,
};
constexpr int kToolbarImageCount = 12;
constexpr int kToolbarImageSize = 24;

/// The folder tree's images.
enum class TreeImage { Drive = 0, ClosedFolder = 1, OpenFolder = 2 };
/// The file list's images of a file's count state.
enum class FileStateImage { Counted = 0, NotCounted = 1, Failed = 2 };
constexpr int kSmallImageSize = 16;

/// Every picture of the desktop program is painted here, in code: nothing is loaded from
/// outside the program.
namespace artwork {

/// A toolbar image, 24 by 24 pixels, in its normal colours or in its disabled look (pale grey).
QImage toolbarImage(ToolbarImage image, bool disabled);
/// The icon of a toolbar button: the normal image, and the disabled look for the disabled mode.
QIcon toolbarIcon(ToolbarImage image);

/// A 16 by 16 image of the folder tree.
QImage treeImage(TreeImage image);
QIcon treeIcon(TreeImage image);

/// A 16 by 16 image of the file list.
QImage fileStateImage(FileStateImage image);
QIcon fileStateIcon(FileStateImage image);

/// The About box's picture: 400 by 160 pixels, a blue gradient with the emblem on the right.
QImage aboutPicture();

/// The window icon: the emblem on a blue tile.
QIcon applicationIcon();

}  // namespace artwork
}  // namespace tw::ui
