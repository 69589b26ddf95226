#include "platform/jet/byte_cursor.h"

#include <cstdio>

namespace norvessa::jet {

std::string Location::describe() const {
    std::string text(object);
    if (page) {
        text += ' ' + std::to_string(*page);
    }
    if (row) {
        text += " row " + std::to_string(*row);
    }
    return text;
}

std::string hexOffset(std::size_t offset) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%zX", offset);
    return buffer;
}

void throwCorrupt(const Location& where, std::string_view detail) {
    throw JetError(ErrorKind::Corrupt, where.describe() + ": " + std::string(detail));
}

void ByteCursor::throwFailure() const {
    throwCorrupt(where_, std::string(failedWhat_) + " at offset " + hexOffset(failedAt_) + " (" +
                             std::to_string(failedSize_) + " bytes) runs past the end (" +
                             std::to_string(size()) + " bytes)");
}

void ByteWriter::grow(std::size_t size) {
    target_.resize(size, 0);
}

void ByteWriter::throwFailure() const {
    throw JetError(ErrorKind::InvalidArgument,
                   where_.describe() + ": writing " + std::to_string(failedSize_) +
                       " bytes at offset " + hexOffset(failedAt_) + " exceeds the limit of " +
                       std::to_string(limit_) + " bytes");
}

}  // namespace norvessa::jet
