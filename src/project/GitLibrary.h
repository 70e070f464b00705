#pragma once

#include <git2.h>

#include <string>

namespace tw {

// The libgit2 functions the git-aware scan calls.
#define TW_GIT_FUNCTIONS(X)   \
    X(libgit2_init)           \
    X(libgit2_shutdown)       \
    X(error_last)             \
    X(repository_open_ext)    \
    X(repository_workdir)     \
    X(repository_is_bare)     \
    X(repository_index)       \
    X(repository_free)        \
    X(index_new)              \
    X(index_free)             \
    X(index_entrycount)       \
    X(index_get_byindex)      \
    X(ignore_path_is_ignored) \
    X(diff_index_to_workdir)  \
    X(diff_num_deltas)        \
    X(diff_get_delta)         \
    X(diff_free)

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
