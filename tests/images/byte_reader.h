#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

// Reads little-endian integers from a byte array at explicit offsets; every read is checked
// against the end, so a short or damaged file fails the test with a message, never a crash.
class ByteReader {
  public:
    explicit ByteReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

    qsizetype size() const { return bytes_.size(); }

    std::uint8_t u8(qsizetype offset) const {
        require(offset, 1);
        return static_cast<std::uint8_t>(bytes_[offset]);
    }
    std::uint16_t u16(qsizetype offset) const {
        return static_cast<std::uint16_t>(u8(offset) | u8(offset + 1) << 8);
    }
    std::uint32_t u32(qsizetype offset) const {
        return static_cast<std::uint32_t>(u16(offset)) | static_cast<std::uint32_t>(u16(offset + 2))
                                                             << 16;
    }
    std::int32_t i32(qsizetype offset) const { return static_cast<std::int32_t>(u32(offset)); }
    std::uint16_t u16BigEndian(qsizetype offset) const {
        return static_cast<std::uint16_t>(u8(offset) << 8 | u8(offset + 1));
    }
    std::uint32_t u32BigEndian(qsizetype offset) const {
        return static_cast<std::uint32_t>(u16BigEndian(offset)) << 16 | u16BigEndian(offset + 2);
    }
    QByteArray slice(qsizetype offset, qsizetype length) const {
        require(offset, length);
        return bytes_.mid(offset, length);
    }

  private:
    void require(qsizetype offset, qsizetype length) const {
        if (offset < 0 || length < 0 || offset > bytes_.size() - length) {
            throw std::out_of_range("reading " + std::to_string(length) + " bytes at offset " +
                                    std::to_string(offset) + " of a " +
                                    std::to_string(bytes_.size()) + "-byte file");
        }
    }

    QByteArray bytes_;
};

// The whole of a file or resource, or an empty array when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
