#include "platform/jet/property_blob_encode.h"

#include <algorithm>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/schema.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

constexpr std::uint8_t kSignature[4] = {'M', 'R', '2', 0};
constexpr std::uint16_t kChunkNames = 0x0080;
constexpr std::uint16_t kChunkColumn = 0x0001;
constexpr std::size_t kChunkHeaderSize = 6;  // u32 length, u16 type
constexpr std::size_t kEntryHeaderSize = 8;
constexpr std::uint8_t kDdlFlag = 1;

// Appends a chunk: its header, then what `body` writes.
template <class WriteBody>
void appendChunk(std::vector<std::uint8_t>& blob, std::uint16_t type, WriteBody body) {
    std::vector<std::uint8_t> data;
    ByteWriter out(data, Location{"new property chunk", std::nullopt, std::nullopt});
    body(out);
    out.check();
    ByteWriter header(blob, Location{"new property blob", std::nullopt, std::nullopt});
    header.seek(blob.size());
    header.u32(static_cast<std::uint32_t>(kChunkHeaderSize + data.size()));
    header.u16(type);
    header.bytes(data);
    header.check();
}

}  // namespace

std::vector<std::uint8_t> encodePropertyBlob(std::span<const ColumnProperties> columns) {
    std::vector<std::u16string> names;
    for (const ColumnProperties& column : columns) {
        for (const BooleanProperty& property : column.properties) {
            if (std::find(names.begin(), names.end(), property.name) == names.end()) {
                names.push_back(property.name);
            }
        }
    }

    std::vector<std::uint8_t> blob(std::begin(kSignature), std::end(kSignature));
    appendChunk(blob, kChunkNames, [&](ByteWriter& out) {
        for (const std::u16string& name : names) {
            const std::vector<std::uint8_t> bytes = encodeUcs2(name);
            out.u16(static_cast<std::uint16_t>(bytes.size()));
            out.bytes(bytes);
        }
    });
    for (const ColumnProperties& column : columns) {
        appendChunk(blob, kChunkColumn, [&](ByteWriter& out) {
            const std::vector<std::uint8_t> columnName = encodeUcs2(column.column);
            out.u32(static_cast<std::uint32_t>(kChunkHeaderSize + columnName.size()));
            out.u16(static_cast<std::uint16_t>(columnName.size()));
            out.bytes(columnName);
            for (const BooleanProperty& property : column.properties) {
                const auto nameIndex = static_cast<std::uint16_t>(
                    std::find(names.begin(), names.end(), property.name) - names.begin());
                out.u16(static_cast<std::uint16_t>(kEntryHeaderSize + 1));
                out.u8(kDdlFlag);
                out.u8(static_cast<std::uint8_t>(ColumnType::Boolean));
                out.u16(nameIndex);
                out.u16(1);
                out.u8(property.value ? 1 : 0);
            }
        });
    }
    return blob;
}

}  // namespace norvessa::jet
