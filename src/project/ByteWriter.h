#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace tw {

/// Little-endian values appended to a growing buffer of bytes.
class ByteWriter {
  public:
    void writeU8(std::uint8_t value) { writeLittleEndian(value); }
    void writeU16(std::uint16_t value) { writeLittleEndian(value); }
    void writeU32(std::uint32_t value) { writeLittleEndian(value); }
    void writeU64(std::uint64_t value) { writeLittleEndian(value); }
    void writeI32(std::int32_t value) { writeU32(static_cast<std::uint32_t>(value)); }
    void writeDouble(double value) { writeU64(std::bit_cast<std::uint64_t>(value)); }
    void writeBytes(std::string_view bytes) { bytes_.append(bytes); }

    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

  private:
    template <typename Unsigned>
    void writeLittleEndian(Unsigned value) {
        for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }

    std::string bytes_;
};

}  // namespace tw
