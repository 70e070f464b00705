#pragma once

#include "engine/CountSettings.h"

namespace tw::test {

/// The default count settings with another mode.
inline CountSettings settingsWith(CountMode mode) {
    CountSettings settings;
    settings.mode = mode;
    return settings;
}

}  // namespace tw::test
