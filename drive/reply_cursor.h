#pragma once

// The one way a reply's bytes are read: every read is checked against the bytes that came back
// and the first failure is kept ("sticky"), so a parser reads its fields in straight code and
// calls check() once, which throws a ReplyError naming the command, the field and the offset.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "drive/reply_parsers.h"

namespace norvessa::drive {

class ReplyCursor {
  public:
    ReplyCursor(std::span<const std::uint8_t> reply, std::string_view command)
        : reply_(reply), command_(command) {}

    std::size_t size() const { return reply_.size(); }

    // `size` bytes at `offset`; empty (and the failure kept) when the reply is too short.
    std::span<const std::uint8_t> bytes(std::size_t offset, std::size_t size,
                                        std::string_view what) {
        if (offset > reply_.size() || size > reply_.size() - offset) {
            fail(offset, size, what);
            return {};
        }
        return reply_.subspan(offset, size);
    }

    std::uint8_t u8(std::size_t offset, std::string_view what) {
        const auto field = bytes(offset, 1, what);
        return field.empty() ? 0 : field[0];
    }

    // Big-endian, as SCSI replies and the vendor pages write numbers.
    std::uint64_t bigEndian(std::size_t offset, std::size_t size, std::string_view what) {
        std::uint64_t value = 0;
        for (const std::uint8_t byte : bytes(offset, size, what)) {
            value = value << 8 | byte;
        }
        return value;
    }

    bool textAt(std::size_t offset, std::string_view text) {
        if (offset > reply_.size() || text.size() > reply_.size() - offset) {
            return false;
        }
        return std::equal(text.begin(), text.end(),
                          reply_.begin() + static_cast<std::ptrdiff_t>(offset),
                          [](char expected, std::uint8_t byte) {
                              return static_cast<std::uint8_t>(expected) == byte;
                          });
    }

    // Throws the first failure, if any.
    void check() const {
        if (!failure_.empty()) {
            throw ReplyError(failure_);
        }
    }

  private:
    void fail(std::size_t offset, std::size_t size, std::string_view what) {
        if (failure_.empty()) {
            failure_ = std::string(command_) + ": the reply has " + std::to_string(reply_.size()) +
                       " bytes, too short for " + std::string(what) + " (needs " +
                       std::to_string(offset + size) + ")";
        }
    }

    std::span<const std::uint8_t> reply_;
    std::string_view command_;
    std::string failure_;
};

}  // namespace norvessa::drive
