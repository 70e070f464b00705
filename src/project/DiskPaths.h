#pragma once

#include <string>
#include <string_view>

namespace tw {

class ProjectFolder;

/// The disk path of the file that the project below `root` knows as `path`: its record's, or
/// the bytes of `path` itself when no record has that path (the file is then opened by its
/// shown name, as the record would have been made from it).
std::string diskPathOfFile(const ProjectFolder& root, std::u16string_view path);

/// The folder on disk that `folder` stands for. Folders keep only their shown names, so it is
/// worked out from the disk path of the first file below it, one component per folder level;
/// "." when that disk path is too short to hold them (a relative path), and the folder's own
/// path as bytes when it holds no file.
std::string diskPathOfFolder(const ProjectFolder& folder);

}  // namespace tw
