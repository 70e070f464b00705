#include "project/GitLibrary.h"

#include <dlfcn.h>

namespace tw {
namespace {

/// The loaded library, or why there is none.
class Loaded {
  public:
    Loaded() {
        // The library name of the libgit2 the build found: the interface its headers declare.
        void* handle = ::dlopen(TW_LIBGIT2_SONAME, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            whyNot_ = failure();
            return;
        }
#define TW_GIT_LOOK_UP(name)                                                                      \
    functions_.name = reinterpret_cast<decltype(functions_.name)>(::dlsym(handle, "git_" #name)); \
    if (functions_.name == nullptr) {                                                             \
        whyNot_ = failure();                                                                      \
        return;                                                                                   \
    }
        TW_GIT_FUNCTIONS(TW_GIT_LOOK_UP)
#undef TW_GIT_LOOK_UP
        // The handle stays open: the library is in use until the process ends.
        ready_ = functions_.libgit2_init() >= 0;
        if (!ready_) {
            whyNot_ = "libgit2 could not be initialised";
        }
    }
    ~Loaded() {
        if (ready_) {
            functions_.libgit2_shutdown();
        }
    }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;

    const GitLibrary* functions() const {
        return ready_ ? &functions_ : nullptr;
    }
    const std::string& whyNot() const {
        return whyNot_;
    }

  private:
    static std::string failure() {
        const char* error = ::dlerror();
        return std::string("libgit2 cannot be loaded: ") +
               (error != nullptr ? error : TW_LIBGIT2_SONAME);
    }

    GitLibrary functions_;
    bool ready_ = false;
    std::string whyNot_;
};

const Loaded& loaded() {
    static const Loaded library;
    return library;
}

}  // namespace

const GitLibrary* gitLibrary(std::string& whyNot) {
    const GitLibrary* functions = loaded().functions();
    if (functions == nullptr) {
        whyNot = loaded().whyNot();
    }
    return functions;
}

}  // namespace tw
