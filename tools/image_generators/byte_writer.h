#pragma once

// Appends little-endian integers to a byte array, the byte order of every Windows image format.

#include <QByteArray>
#include <cstdint>

namespace norvessa::image_generators {

class ByteWriter {
  public:
    void u8(std::uint8_t value) { bytes_.append(static_cast<char>(value)); }
    void u16(std::uint16_t value) {
        u8(static_cast<std::uint8_t>(value & 0xFFu));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value & 0xFFFFu));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void zeros(int count) { bytes_.append(count, '\0'); }
    void bytes(const QByteArray& data) { bytes_.append(data); }

    qsizetype size() const { return bytes_.size(); }
    const QByteArray& result() const { return bytes_; }

  private:
    QByteArray bytes_;
};

}  // namespace norvessa::image_generators
