#pragma once

#include <cstddef>
#include <cstdint>

namespace tw::fuzz {

// What each fuzz target does with one input. The same functions run every stored input of
// tests/fuzz/regressions in the ordinary test build, so a crash once found stays fixed.

/// First byte: count mode and file type; the rest: the file's bytes, counted by count().
void countFile(const std::uint8_t* data, std::size_t size);

/// The bytes as a project file, loaded and, when they loaded, stored and loaded again: the
/// second load gives the same project, folders and all, and the same bytes.
void loadProject(const std::uint8_t* data, std::size_t size);

/// NUL-separated arguments through the option grammar.
void parseCommandLine(const std::uint8_t* data, std::size_t size);

/// The bytes as a list file, their paths placed in a project tree as the console run does. The
/// first byte cuts the rest into pieces: fed in those pieces, the bytes give the same paths and
/// the same long lines as fed whole.
void readListFile(const std::uint8_t* data, std::size_t size);

/// A pattern, a NUL, a name: the exclude and ignore matchers on one component against the C
/// library's `fnmatch`, wherever both define the result.
void matchPattern(const std::uint8_t* data, std::size_t size);

}  // namespace tw::fuzz
