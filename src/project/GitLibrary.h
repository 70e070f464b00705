#pragma once

#include <git2.h>

#include <string>

namespace tw {

// The libgit2 functions the program calls: the git-aware scan reads a work tree's repository,
// index and configuration; revisions are read from the object database (commits, trees, blobs)
// and compared with libgit2's diff of two texts.
// The ignore files are read and matched by the program itself (`GitIgnoreList`).
#define TW_GIT_FUNCTIONS(X)       \
    X(libgit2_init)               \
    X(libgit2_shutdown)           \
    X(error_last)                 \
    X(repository_open_ext)        \
    X(repository_workdir)         \
    X(repository_path)            \
    X(repository_commondir)       \
    X(repository_is_bare)         \
    X(repository_is_shallow)      \
    X(repository_index)           \
    X(repository_config_snapshot) \
    X(repository_free)            \
    X(config_get_path)            \
    X(config_free)                \
    X(buf_dispose)                \
    X(index_free)                 \
    X(index_entrycount)           \
    X(index_get_byindex)          \
    X(revparse_single)            \
    X(object_peel)                \
    X(object_id)                  \
    X(object_type)                \
    X(object_free)                \
    X(commit_lookup)              \
    X(commit_id)                  \
    X(commit_time)                \
    X(commit_time_offset)         \
    X(commit_parentcount)         \
    X(commit_parent_id)           \
    X(commit_tree_id)             \
    X(commit_free)                \
    X(tree_lookup)                \
    X(tree_entrycount)            \
    X(tree_entry_byindex)         \
    X(tree_entry_byname)          \
    X(tree_entry_name)            \
    X(tree_entry_id)              \
    X(tree_entry_filemode)        \
    X(tree_free)                  \
    X(blob_lookup)                \
    X(blob_rawcontent)            \
    X(blob_rawsize)               \
    X(blob_free)                  \
    X(tag_list)                   \
    X(strarray_dispose)           \
    X(diff_options_init)          \
    X(diff_buffers)

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
