#pragma once

// The one way bytes of a database file are read (ByteCursor) and written (ByteWriter). Both
// check every access against the end of their buffer and keep the first failure ("sticky"):
// a decoder reads its fields in straight code and calls check() once, which throws a JetError
// naming the object, the field and the offset.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/errors.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {

static_assert(std::endian::native == std::endian::little,
              "the decoders assume a little-endian host, like the file");

constexpr std::uint32_t swapBytes(std::uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00U) | ((value << 8) & 0xFF0000U) | (value << 24);
}

// What a buffer is, for error messages: "data page 17", "table definition 23 row 4".
struct Location {
    std::string_view object;  // e.g. "data page"; must outlive the cursor (use literals)
    std::optional<std::uint32_t> page;
    std::optional<std::uint32_t> row;

    std::string describe() const;
};

std::string hexOffset(std::size_t offset);  // "0x1F40"

// Throws JetError(Corrupt) with "<location>: <detail>".
[[noreturn]] void throwCorrupt(const Location& where, std::string_view detail);

class ByteCursor {
  public:
    ByteCursor(std::span<const std::uint8_t> bytes, Location where)
        : bytes_(bytes), where_(where) {}

    std::size_t size() const { return bytes_.size(); }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return position_ <= size() ? size() - position_ : 0; }
    const Location& where() const { return where_; }

    bool ok() const { return !failed_; }
    // Throws the first failure, if any.
    void check() const {
        if (failed_) {
            throwFailure();
        }
    }

    // Moving the position never fails by itself; the next read past the end does.
    void seek(std::size_t position) { position_ = position; }
    void skip(std::size_t count) { position_ += count; }

    std::uint8_t u8(std::string_view what = "byte") { return take<std::uint8_t>(what); }
    std::uint16_t u16(std::string_view what = "u16") { return take<std::uint16_t>(what); }
    std::uint32_t u32(std::string_view what = "u32") { return take<std::uint32_t>(what); }
    std::int16_t i16(std::string_view what = "i16") { return take<std::int16_t>(what); }
    std::int32_t i32(std::string_view what = "i32") { return take<std::int32_t>(what); }
    std::int64_t i64(std::string_view what = "i64") { return take<std::int64_t>(what); }
    float f32(std::string_view what = "single") { return take<float>(what); }
    double f64(std::string_view what = "double") { return take<double>(what); }

    // Big-endian, as used inside index entries.
    std::uint32_t be24(std::string_view what = "u24 BE") {
        auto raw = bytes(3, what);
        return raw.size() == 3 ? (std::uint32_t{raw[0]} << 16 | std::uint32_t{raw[1]} << 8 | raw[2])
                               : 0;
    }
    std::uint32_t be32(std::string_view what = "u32 BE") {
        return swapBytes(take<std::uint32_t>(what));
    }

    // `count` bytes from the position; empty (and failed) when they run past the end.
    std::span<const std::uint8_t> bytes(std::size_t count, std::string_view what = "bytes") {
        if (!require(count, what)) {
            return {};
        }
        auto result = bytes_.subspan(position_, count);
        position_ += count;
        return result;
    }

    // Reads a layout field at its own offset; the position ends after the field.
    std::uint8_t u8(const layout::Field& field) { return at(field).u8(field.name); }
    std::uint16_t u16(const layout::Field& field) { return at(field).u16(field.name); }
    std::uint32_t u32(const layout::Field& field) { return at(field).u32(field.name); }
    std::int32_t i32(const layout::Field& field) { return at(field).i32(field.name); }
    double f64(const layout::Field& field) { return at(field).f64(field.name); }
    std::span<const std::uint8_t> bytes(const layout::Field& field) {
        return at(field).bytes(field.size, field.name);
    }

    // A cursor over `count` bytes from `offset`, reporting against the same location.
    ByteCursor sub(std::size_t offset, std::size_t count, std::string_view what) {
        seek(offset);
        return ByteCursor(bytes(count, what), where_);
    }

  private:
    ByteCursor& at(const layout::Field& field) {
        position_ = field.offset;
        return *this;
    }

    bool require(std::size_t count, std::string_view what) {
        if (failed_) {
            return false;
        }
        if (position_ > size() || count > size() - position_) {
            failed_ = true;
            failedAt_ = position_;
            failedSize_ = count;
            failedWhat_ = what;
            return false;
        }
        return true;
    }

    template <class T>
    T take(std::string_view what) {
        T value{};
        if (require(sizeof(T), what)) {
            std::memcpy(&value, bytes_.data() + position_, sizeof(T));
            position_ += sizeof(T);
        }
        return value;
    }

    [[noreturn]] void throwFailure() const;

    std::span<const std::uint8_t> bytes_;
    Location where_;
    std::size_t position_ = 0;
    bool failed_ = false;
    std::size_t failedAt_ = 0;
    std::size_t failedSize_ = 0;
    std::string_view failedWhat_;
};

// Writes into a byte vector that grows as needed up to `limit` bytes (a page: the page size).
// Writing past the limit writes nothing and fails; check() then throws.
class ByteWriter {
  public:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    ByteWriter(std::vector<std::uint8_t>& target, Location where, std::size_t limit = kNoLimit)
        : target_(target), where_(where), limit_(limit) {}

    std::size_t position() const { return position_; }
    bool ok() const { return !failed_; }
    void check() const {
        if (failed_) {
            throwFailure();
        }
    }

    void seek(std::size_t position) { position_ = position; }
    void skip(std::size_t count) { position_ += count; }

    void u8(std::uint8_t value) { put(value); }
    void u16(std::uint16_t value) { put(value); }
    void u32(std::uint32_t value) { put(value); }
    void i16(std::int16_t value) { put(value); }
    void i32(std::int32_t value) { put(value); }
    void i64(std::int64_t value) { put(value); }
    void f32(float value) { put(value); }
    void f64(double value) { put(value); }
    void be24(std::uint32_t value) {
        const std::uint8_t raw[3] = {static_cast<std::uint8_t>(value >> 16),
                                     static_cast<std::uint8_t>(value >> 8),
                                     static_cast<std::uint8_t>(value)};
        bytes(raw);
    }
    void be32(std::uint32_t value) { put(swapBytes(value)); }
    void bytes(std::span<const std::uint8_t> data) {
        if (std::uint8_t* place = reserve(data.size())) {
            if (!data.empty()) {
                std::memcpy(place, data.data(), data.size());
            }
        }
    }
    void fill(std::size_t count, std::uint8_t value) {
        if (std::uint8_t* place = reserve(count)) {
            std::memset(place, value, count);
        }
    }

    // Writes a layout field at its own offset; the position ends after the field.
    void u8(const layout::Field& field, std::uint8_t value) { at(field).u8(value); }
    void u16(const layout::Field& field, std::uint16_t value) { at(field).u16(value); }
    void u32(const layout::Field& field, std::uint32_t value) { at(field).u32(value); }
    void i32(const layout::Field& field, std::int32_t value) { at(field).i32(value); }
    void f64(const layout::Field& field, double value) { at(field).f64(value); }
    // Pads with zeros to the field's size; data longer than the field fails.
    void bytes(const layout::Field& field, std::span<const std::uint8_t> data) {
        at(field);
        if (data.size() > field.size) {
            failAt(field.offset, data.size());
            return;
        }
        bytes(data);
        fill(field.size - data.size(), 0);
    }

  private:
    ByteWriter& at(const layout::Field& field) {
        position_ = field.offset;
        return *this;
    }

    std::uint8_t* reserve(std::size_t count) {
        if (failed_) {
            return nullptr;
        }
        if (position_ > limit_ || count > limit_ - position_) {
            failAt(position_, count);
            return nullptr;
        }
        if (target_.size() < position_ + count) {
            grow(position_ + count);
        }
        std::uint8_t* place = target_.data() + position_;
        position_ += count;
        return place;
    }

    void failAt(std::size_t offset, std::size_t count) {
        if (!failed_) {
            failed_ = true;
            failedAt_ = offset;
            failedSize_ = count;
        }
    }

    template <class T>
    void put(T value) {
        if (std::uint8_t* place = reserve(sizeof(T))) {
            std::memcpy(place, &value, sizeof(T));
        }
    }

    // Out of line: GCC 12 misjudges the bounds of an inlined resize followed by a copy.
    void grow(std::size_t size);
    [[noreturn]] void throwFailure() const;

    std::vector<std::uint8_t>& target_;
    Location where_;
    std::size_t limit_;
    std::size_t position_ = 0;
    bool failed_ = false;
    std::size_t failedAt_ = 0;
    std::size_t failedSize_ = 0;
};

}  // namespace norvessa::jet
