#include "engine/CountSettings.h"

namespace tw {

CountSettings& countSettings() {
    static CountSettings settings;
    return settings;
}

}  // namespace tw
