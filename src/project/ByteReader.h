#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tw {

/// Little-endian values read one after another from a buffer of bytes. A read that would go past
/// the end reads nothing and returns false, so a caller can tell a short input from a bad one.
class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    std::size_t position() const { return position_; }

    bool readU8(std::uint8_t& value) { return readLittleEndian(value); }
    bool readU16(std::uint16_t& value) { return readLittleEndian(value); }
    bool readU32(std::uint32_t& value) { return readLittleEndian(value); }
    bool readU64(std::uint64_t& value) { return readLittleEndian(value); }

    bool readI32(std::int32_t& value) {
        std::uint32_t bits = 0;
        if (!readU32(bits)) {
            return false;
        }
        value = static_cast<std::int32_t>(bits);
        return true;
    }

    bool readDouble(double& value) {
        std::uint64_t bits = 0;
        if (!readU64(bits)) {
            return false;
        }
        value = std::bit_cast<double>(bits);
        return true;
    }

    /// The next `count` bytes, without copying them.
    bool readBytes(std::size_t count, std::string_view& bytes) {
        if (remaining() < count) {
            return false;
        }
        bytes = bytes_.substr(position_, count);
        position_ += count;
        return true;
    }

  private:
    template <typename Unsigned>
    bool readLittleEndian(Unsigned& value) {
        if (remaining() < sizeof(Unsigned)) {
            return false;
        }
        Unsigned result = 0;
        for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
            const auto byte = static_cast<unsigned char>(bytes_[position_ + i]);
            result = static_cast<Unsigned>(result | (static_cast<Unsigned>(byte) << (8 * i)));
        }
        position_ += sizeof(Unsigned);
        value = result;
        return true;
    }

    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace tw
