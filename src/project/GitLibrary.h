#pragma once

#include <git2.h>

#include <string>

namespace tw {

// The libgit2 functions the git-aware scan calls.
// The ignore files are read and matched by the program itself (`GitIgnoreList`).
#define TW_GIT_FUNCTIONS(X)       \
    X(libgit2_init)               \
    X(libgit2_shutdown)           \
    X(error_last)                 \
    X(repository_open_ext)        \
    X(repository_workdir)         \
    X(repository_commondir)       \
    X(repository_is_bare)         \
    X(repository_index)           \
    X(repository_config_snapshot) \
    X(repository_free)            \
    X(config_get_path)            \
    X(config_free)                \
    X(buf_dispose)                \
    X(index_free)                 \
    X(index_entrycount)           \
    X(index_get_byindex)

/// libgit2, loaded the first time a scan asks for git's rules instead of at every start: with
/// the libraries it needs in turn (Kerberos, TLS, SSH) it takes longer to load than a small
/// count takes to run, and most runs never read a repository.
struct GitLibrary {
#define TW_GIT_POINTER(name) decltype(&::git_##name) name = nullptr;
    TW_GIT_FUNCTIONS(TW_GIT_POINTER)
#undef TW_GIT_POINTER
};

/// The library, loaded and made ready once per process and put away at its end; null when it
/// cannot be loaded, with `whyNot` saying why.
const GitLibrary* gitLibrary(std::string& whyNot);

}  // namespace tw
