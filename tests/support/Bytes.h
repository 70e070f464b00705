#pragma once

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tw::test {

/// Bytes written out by hand in tests of binary formats.
inline std::string bytes(std::initializer_list<int> values) {
    std::string result;
    for (const int value : values) {
        result.push_back(static_cast<char>(value));
    }
    return result;
}

/// A 32-bit value, little-endian.
inline std::string le32(std::uint32_t value) {
    return bytes({static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF), static_cast<int>(value >> 24)});
}

/// A 64-bit value, little-endian.
inline std::string le64(std::uint64_t value) {
    return le32(static_cast<std::uint32_t>(value)) + le32(static_cast<std::uint32_t>(value >> 32));
}

/// An IEEE 754 double, little-endian.
inline std::string leDouble(double value) {
    return le64(std::bit_cast<std::uint64_t>(value));
}

/// UTF-16 code units, little-endian, nothing else.
inline std::string utf16le(std::u16string_view text) {
    std::string result;
    for (const char16_t unit : text) {
        result.push_back(static_cast<char>(unit & 0xFF));
        result.push_back(static_cast<char>(unit >> 8));
    }
    return result;
}

/// One code unit per byte, as a file read byte by byte (ANSI or UTF-8) becomes text.
inline std::u16string unitPerByte(std::string_view bytes) {
    std::u16string units;
    for (const char byte : bytes) {
        units.push_back(static_cast<unsigned char>(byte));
    }
    return units;
}

}  // namespace tw::test
