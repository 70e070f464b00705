#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// The extensions a directory scan takes (`-ext`): a file is taken when the part of its name
/// from its last '.' on is one of them, letter case ignored on both sides.
class ExtensionFilter {
  public:
    /// `extensions` each begin with '.', as the console makes them; names from the file
    /// system are bytes, taken in the escaped form of `utf16FromUtf8(..., InvalidUtf8::Escape)`.
    explicit ExtensionFilter(const std::vector<std::u16string>& extensions);

    /// Whether a file named `name` (bytes) is taken.
    bool takes(std::string_view name) const;

  private:
    std::vector<std::u16string> extensions_;  // lower-cased
};

}  // namespace tw
