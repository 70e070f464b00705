#pragma once

#include <string>

namespace tw {

/// The files libgit2 reads when it opens the repository of a directory, checked before it
/// does: libgit2 opens them without asking what they are, so a pipe or a device in their place
/// would block it for ever or feed it without end. A work tree from anywhere may carry one.
///
/// Finds the git directory libgit2 would open for `directory` (a canonical path; its parents
/// searched too when `search` is set): empty when there is none. Reads only regular files to
/// find it.
std::string gitDirectoryOf(const std::string& directory, bool search);

/// The first file that libgit2 reads for the repository whose git directory is `gitDirectory`
/// and that is there but is no regular file: the repository's own configuration and index
/// (`withIndex`), the user's and the system's git configuration and every file they include.
/// Empty when each is a regular file or missing.
std::string firstIrregularRepositoryFile(const std::string& gitDirectory, bool withIndex);

/// The first file below the repository's git directory `gitDirectory` (and its common
/// directory, and every object directory its alternates name) that is there but is no regular
/// file: libgit2 reads objects, references, packs and the shallow list from there when it reads
/// revisions. Folders that reading revisions never opens (hooks, other work trees' folders,
/// submodules' repositories, which are checked when they are opened) are passed over. Empty
/// when there is none.
std::string firstIrregularDatabaseFile(const std::string& gitDirectory);

/// The user's global excludes file when the configuration names none:
/// `$XDG_CONFIG_HOME/git/ignore`, else `$HOME/.config/git/ignore`; empty without either.
std::string defaultExcludesFile();

}  // namespace tw
