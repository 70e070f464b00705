#include "ui/Desktop.h"

#include <cstdio>

namespace tw {

int runDesktop(int /*argc*/, char** /*argv*/) {
    std::fputs("tallyweaver: the desktop program is not built yet; run it with options for a "
               "console count, or --help.\n",
               stderr);
    return 1;
}

}  // namespace tw
