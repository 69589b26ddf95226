#include "page_dump.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/data_page.h"
#include "platform/jet/header_page.h"
#include "platform/jet/layout.h"
#include "platform/jet/table_definition_page.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet::inspect {
namespace {

std::string hexBytes(std::span<const std::uint8_t> bytes, std::size_t limit = 16) {
    std::string text;
    char buffer[4];
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        std::snprintf(buffer, sizeof buffer, "%02X", bytes[i]);
        text += (i == 0 ? "" : " ") + std::string(buffer);
    }
    if (bytes.size() > limit) {
        text += " ...";
    }
    return text;
}

std::string valueText(std::span<const std::uint8_t> page, const layout::Field& field) {
    if (field.end() > page.size()) {
        return "(beyond the page)";
    }
    const auto bytes = page.subspan(field.offset, field.size);
    std::uint32_t number = 0;
    char buffer[48];
    switch (field.size) {
        case 1:
        case 2:
        case 4:
            std::memcpy(&number, bytes.data(), field.size);
            std::snprintf(buffer, sizeof buffer, "%u (0x%X)", number, number);
            return buffer;
        default:
            return hexBytes(bytes);
    }
}

template <class Fields>
void printFields(std::span<const std::uint8_t> page, const Fields& fields, std::ostream& out) {
    for (const layout::Field& field : fields) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "  0x%04X %4u  ", unsigned{field.offset},
                      unsigned{field.size});
        out << prefix << field.name << ": " << valueText(page, field) << "\n";
    }
}

void dumpHeader(std::span<const std::uint8_t> raw, std::ostream& out) {
    std::vector<std::uint8_t> page(raw.begin(), raw.end());
    toggleHeaderMask(page);
    out << "header page (fields inside 0x18..0x97 shown unmasked)\n";
    printFields(page, layout::header::kFields, out);
    double created = 0;
    std::memcpy(&created, page.data() + layout::header::kCreationDate.offset, sizeof created);
    out << "  creation date as OLE days: " << created << "\n";
}

const char* slotStateName(SlotState state) {
    switch (state) {
        case SlotState::Live:
            return "live";
        case SlotState::Deleted:
            return "deleted";
        case SlotState::OverflowPointer:
            return "overflow pointer";
        case SlotState::OverflowTarget:
            return "overflow target";
    }
    return "?";
}

void dumpDataPage(std::span<const std::uint8_t> bytes, std::uint32_t number, std::ostream& out) {
    out << "data page " << number << "\n";
    printFields(bytes, layout::data_page::kFields, out);
    const DataPage page(bytes, number);
    for (std::size_t row = 0; row < page.rowCount(); ++row) {
        char line[96];
        const std::uint16_t raw = page.rawSlot(row);
        std::snprintf(line, sizeof line, "  slot %3zu: 0x%04X  start 0x%04X  %s", row, raw,
                      raw & layout::data_page::kSlotOffsetMask, slotStateName(page.state(row)));
        out << line;
        if (page.state(row) != SlotState::Deleted) {
            try {
                const auto data = page.rowBytes(row);
                out << ", " << data.size() << " bytes: " << hexBytes(data, 12);
            } catch (const JetError& error) {
                out << ", " << error.what();
            }
        }
        out << "\n";
    }
}

void dumpTableDefinition(const DatabaseFile& file, std::span<const std::uint8_t> bytes,
                         std::uint32_t number, std::ostream& out) {
    out << "table definition page " << number
        << " (fields past 0x08 apply to the first page of a definition)\n";
    printFields(bytes, layout::tdef::kFields, out);
    TableDefinitionBlock block;
    try {
        block = decodeTableDefinition(readTableDefinitionBuffer(file, number), number);
    } catch (const JetError& error) {
        out << "  no definition starts here: " << error.what() << "\n";
        return;
    }
    for (const ColumnDescriptor& column : block.columns) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "  column %3u %-24s type 0x%02X  var %3u  fixed offset %4u  length %4u  "
                      "flags 0x%02X/0x%02X  sort %u",
                      column.number, utf16ToUtf8(column.name).c_str(), column.type, column.varIndex,
                      column.fixedOffset, column.length, column.flags, column.extendedFlags,
                      column.sortOrder);
        out << line << "\n";
    }
    for (std::size_t i = 0; i < block.realIndexes.size(); ++i) {
        const RealIndexDescriptor& index = block.realIndexes[i];
        out << "  real index " << i << ": root page " << index.rootPage << ", flags 0x" << std::hex
            << unsigned{index.flags} << std::dec << ", " << index.uniqueEntries
            << " unique entries, columns";
        for (const IndexColumn& column : index.columns) {
            out << " " << column.columnNumber << (column.ascending ? "" : " desc");
        }
        out << "\n";
    }
    for (const LogicalIndexEntry& index : block.logicalIndexes) {
        out << "  index " << index.number << " \"" << utf16ToUtf8(index.name) << "\" -> real "
            << index.realIndex << ", kind " << unsigned{index.kind} << "\n";
    }
}

std::size_t bitsSet(std::span<const std::uint8_t> bytes) {
    std::size_t count = 0;
    for (std::uint8_t byte : bytes) {
        count += static_cast<std::size_t>(__builtin_popcount(byte));
    }
    return count;
}

}  // namespace

void dumpPage(const DatabaseFile& file, std::uint32_t number, std::ostream& out) {
    const Page page = file.page(number, "page");
    const std::span<const std::uint8_t> bytes = page.bytes();
    switch (bytes[layout::kPageType.offset]) {
        case layout::page_type::kHeader:
            dumpHeader(bytes, out);
            return;
        case layout::page_type::kData:
            dumpDataPage(bytes, number, out);
            return;
        case layout::page_type::kTableDefinition:
            dumpTableDefinition(file, bytes, number, out);
            return;
        case layout::page_type::kIndexNode:
        case layout::page_type::kIndexLeaf:
            out << "index " << (bytes[0] == layout::page_type::kIndexLeaf ? "leaf" : "node")
                << " page " << number << "\n";
            printFields(bytes, layout::index_page::kFields, out);
            out << "  entries: "
                << bitsSet(bytes.subspan(layout::index_page::kEntryBitmap.offset,
                                         layout::index_page::kEntryBitmap.size))
                << "\n";
            return;
        case layout::page_type::kUsageMap:
            out << "usage map page " << number << "\n";
            printFields(bytes, layout::map_page::kFields, out);
            out << "  pages marked: " << bitsSet(bytes.subspan(layout::map_page::kBitmap)) << "\n";
            return;
        default:
            out << "page " << number << " of unknown type: " << hexBytes(bytes, 32) << "\n";
    }
}

}  // namespace norvessa::jet::inspect
