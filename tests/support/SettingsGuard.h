#pragma once

#include "engine/CountSettings.h"

namespace tw::test {

/// Sets the process-wide count settings for one test and puts the old ones back afterwards: for
/// the tests of the command line and the desktop program, which own that instance.
class SettingsGuard {
  public:
    explicit SettingsGuard(CountMode mode) : saved_(countSettings()) {
        countSettings().mode = mode;
    }
    explicit SettingsGuard(const CountSettings& settings) : saved_(countSettings()) {
        countSettings() = settings;
    }
    ~SettingsGuard() { countSettings() = saved_; }
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;

  private:
    CountSettings saved_;
};

}  // namespace tw::test
