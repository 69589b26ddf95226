#include "platform/jet/column_checks.h"

#include <algorithm>
#include <cstdio>

#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace c = layout::tdef::column;

std::string hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

bool isJet4Type(std::uint8_t type) {
    // Boolean 0x01 to memo 0x0C, the binary data 0x0D, GUID, numeric and Access's own
    // fixed binary; not the attachment and big integer types of later formats.
    return (type >= static_cast<std::uint8_t>(ColumnType::Boolean) &&
            type <= c::kTypeUnknownBinary) ||
           type == static_cast<std::uint8_t>(ColumnType::Guid) ||
           type == static_cast<std::uint8_t>(ColumnType::Numeric) ||
           type == c::kTypeAccessObjectData;
}

bool is(const ColumnDescriptor& column, ColumnType type) {
    return column.type == static_cast<std::uint8_t>(type);
}

bool holdsLongValue(const ColumnDescriptor& column) {
    return is(column, ColumnType::Memo) || is(column, ColumnType::Ole);
}

// Booleans live in the null mask: their fixed place and length are not used.
bool occupiesFixedArea(const ColumnDescriptor& column) {
    return column.fixedLength() && !is(column, ColumnType::Boolean);
}

bool occupiesVariableArea(const ColumnDescriptor& column) {
    return !column.fixedLength() && !is(column, ColumnType::Boolean);
}

class ColumnChecker {
  public:
    ColumnChecker(const TableDefinitionBlock& block, WrittenBy writer)
        : block_(block), writer_(writer) {}

    std::vector<ColumnDefect> run() {
        for (const ColumnDescriptor& column : block_.columns) {
            checkAlone(column);
        }
        checkSharedPlaces();
        checkLongValueMaps();
        checkNumberCopies();
        spoiling_.insert(spoiling_.end(), harmless_.begin(), harmless_.end());
        return std::move(spoiling_);
    }

  private:
    void spoils(const ColumnDescriptor& column, std::string problem) {
        spoiling_.push_back({utf16ToUtf8(column.name), std::move(problem), false});
    }
    void harmless(const ColumnDescriptor& column, std::string problem) {
        harmless_.push_back({utf16ToUtf8(column.name), std::move(problem), true});
    }

    void checkAlone(const ColumnDescriptor& column) {
        if (!isJet4Type(column.type)) {
            spoils(column, "its type code " + hex(column.type, 2) + " is no Jet 4 type");
            return;
        }
        if (column.number >= block_.maxColumns) {
            spoils(column, "its column number " + std::to_string(column.number) +
                               " lies beyond the table's " + std::to_string(block_.maxColumns) +
                               " column places");
        }
        if (occupiesVariableArea(column) && column.varIndex >= block_.variableColumns) {
            spoils(column, "its variable-column index " + std::to_string(column.varIndex) +
                               " lies beyond the table's " +
                               std::to_string(block_.variableColumns) + " variable columns");
        }
        if (occupiesFixedArea(column) &&
            column.fixedOffset + column.length > layout::data_page::kMaxRowSize) {
            spoils(column, "its fixed bytes " + std::to_string(column.fixedOffset) + ".." +
                               std::to_string(column.fixedOffset + column.length) +
                               " lie beyond the largest row");
        }
        checkLength(column);
        checkFlags(column);
        if (is(column, ColumnType::Numeric)) {
            const unsigned precision = column.sortOrder & 0xFFU;
            const unsigned scale = column.sortOrder >> 8U;
            if (precision < 1 || precision > kMaxNumericPrecision || scale > precision) {
                spoils(column, "its precision " + std::to_string(precision) + " and scale " +
                                   std::to_string(scale) + " are no numeric column's");
            }
        }
        // Constants every Jet 4 writer stores; reading does not use them.
        if (column.magic != layout::tdef::kMagicValue) {
            harmless(column, "its constant " + std::to_string(column.magic) + " is not " +
                                 std::to_string(layout::tdef::kMagicValue));
        }
        if (column.unknown13 != 0 || column.sortOrderVersion != 0 || column.unknown17 != 0) {
            harmless(column, "bytes Jet writes as zero hold " + std::to_string(column.unknown13) +
                                 ", " + std::to_string(column.sortOrderVersion) + " and " +
                                 std::to_string(column.unknown17));
        }
    }

    void checkLength(const ColumnDescriptor& column) {
        const std::string length = std::to_string(column.length) + " bytes";
        const auto type = static_cast<ColumnType>(column.type);
        if (const std::size_t size = fixedValueSize(type); size != 0) {
            if (column.length != size) {
                spoils(column, "its type takes " + std::to_string(size) + " bytes, its length is " +
                                   length);
            }
        } else if (type == ColumnType::Boolean) {
            // Access records 1, other writers 0; the value is the null-mask bit either way.
            if (column.length > 1) {
                spoils(column, "a yes/no column of " + length);
            }
        } else if (type == ColumnType::Text) {
            const bool textLength =
                column.length > 0 && column.length % 2 == 0 && column.length <= c::kMaxTextLength;
            if (!textLength && (column.fixedLength() || column.length == 0)) {
                spoils(column, "a text column of " + length);
            } else if (!textLength) {
                harmless(column, "a text column of " + length + " (its values read as stored)");
            }
        } else if (type == ColumnType::Binary || column.type == c::kTypeUnknownBinary) {
            // Length 0 is a memo's or OLE column's, not a binary one's.
            if (column.length == 0) {
                spoils(column, "a binary column of 0 bytes");
            } else if (column.length > c::kMaxTextLength) {
                if (column.fixedLength()) {
                    spoils(column, "a binary column of " + length);
                } else {
                    harmless(column, "a binary column of " + length);
                }
            }
        } else if (holdsLongValue(column)) {
            // The row holds a 12-byte reference. Access records length 0; early Jackcess
            // versions recorded the reference's 12 bytes.
            if ((column.length != 0 && column.length != layout::long_value::kReferenceSize) ||
                column.fixedLength()) {
                spoils(column, std::string("a memo or OLE column of ") + length +
                                   (column.fixedLength() ? ", marked fixed-length" : ""));
            }
        } else if (column.type == c::kTypeAccessObjectData) {
            if (column.length != c::kAccessObjectDataLength || !column.fixedLength()) {
                spoils(column, "its type " + hex(column.type, 2) + " is Access's fixed " +
                                   std::to_string(c::kAccessObjectDataLength) +
                                   "-byte binary, its length " + length);
            }
        }
    }

    void checkFlags(const ColumnDescriptor& column) {
        // Flags that belong to one type: on another, either the flag or the type is damaged.
        const auto tiedTo = [&](std::uint8_t flag, bool set, ColumnType type) {
            if (set && !is(column, type)) {
                spoils(column, "flag " + hex(flag, 2) + " belongs to another type than " +
                                   hex(column.type, 2));
            }
        };
        tiedTo(c::kFlagAutoNumber, (column.flags & c::kFlagAutoNumber) != 0, ColumnType::Long);
        tiedTo(c::kFlagAutoNumberGuid, (column.flags & c::kFlagAutoNumberGuid) != 0,
               ColumnType::Guid);
        tiedTo(c::kFlagHyperlink, (column.flags & c::kFlagHyperlink) != 0, ColumnType::Memo);
        tiedTo(c::kFlagSecurityId, (column.flags & c::kFlagSecurityId) != 0, ColumnType::Binary);
        if ((column.extendedFlags & c::kExtendedFlagCompressedUnicode) != 0 &&
            !is(column, ColumnType::Text) && !is(column, ColumnType::Memo)) {
            spoils(column, "it is marked compressed Unicode, but its type " + hex(column.type, 2) +
                               " holds no text");
        }

        // Flags reading does not use.
        if ((column.flags & c::kFlagUpdatable) == 0) {
            harmless(column, "it lacks the flag " + hex(c::kFlagUpdatable, 2) +
                                 " Jet sets on every column");
        }
        if ((column.flags & ~c::kKnownFlags) != 0 ||
            (column.extendedFlags & ~c::kExtendedFlagCompressedUnicode) != 0) {
            harmless(column, "its flags " + hex(column.flags, 2) + " and " +
                                 hex(column.extendedFlags, 2) + " hold bits Jet does not write");
        }
        const bool systemTable = block_.tableType == layout::tdef::kTableTypeSystem;
        if (((column.flags & c::kFlagSystem) != 0) != systemTable) {
            harmless(column, std::string("its system-column flag is ") +
                                 (systemTable ? "missing in a system table"
                                              : "set in a table that is not a system table"));
        }
        // Jet marks every yes/no column fixed-length; one that is not may have been another
        // type.
        if (is(column, ColumnType::Boolean) && !column.fixedLength()) {
            spoils(column, "a yes/no column not marked fixed-length");
        }
        if (writer_ == WrittenBy::ThisProgram && column.fixedLength() &&
            (is(column, ColumnType::Text) || is(column, ColumnType::Binary))) {
            spoils(column, "this program writes text and binary columns variable-length");
        }
        if (writer_ == WrittenBy::ThisProgram && column.type == c::kTypeUnknownBinary) {
            spoils(column, "this program writes no columns of type " + hex(column.type, 2));
        }
    }

    // Column numbers, var indexes and fixed bytes two columns share. The columns are sorted
    // by each in turn, so that a definition of thousands of columns is checked quickly.
    void checkSharedPlaces() {
        std::vector<const ColumnDescriptor*> sorted;
        const auto sortBy = [&](auto key, auto keep) {
            sorted.clear();
            for (const ColumnDescriptor& column : block_.columns) {
                if (keep(column)) {
                    sorted.push_back(&column);
                }
            }
            std::stable_sort(sorted.begin(), sorted.end(),
                             [&](const auto* a, const auto* b) { return key(*a) < key(*b); });
        };
        const auto name = [](const ColumnDescriptor& column) {
            return "column \"" + utf16ToUtf8(column.name) + "\"";
        };

        sortBy([](const ColumnDescriptor& column) { return column.number; },
               [](const ColumnDescriptor&) { return true; });
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (sorted[i]->number == sorted[i - 1]->number) {
                spoils(*sorted[i], "it has the column number " + std::to_string(sorted[i]->number) +
                                       " of " + name(*sorted[i - 1]));
            }
        }
        sortBy([](const ColumnDescriptor& column) { return column.varIndex; },
               occupiesVariableArea);
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (sorted[i]->varIndex == sorted[i - 1]->varIndex) {
                spoils(*sorted[i], "it has the variable-column index " +
                                       std::to_string(sorted[i]->varIndex) + " of " +
                                       name(*sorted[i - 1]));
            }
        }
        // By offset, each column against the one reaching furthest before it.
        sortBy([](const ColumnDescriptor& column) { return column.fixedOffset; },
               occupiesFixedArea);
        const ColumnDescriptor* furthest = nullptr;
        const auto end = [](const ColumnDescriptor& column) {
            return std::size_t{column.fixedOffset} + column.length;
        };
        for (const ColumnDescriptor* column : sorted) {
            if (furthest != nullptr && column->fixedOffset < end(*furthest)) {
                spoils(*column, "its fixed bytes " + std::to_string(column->fixedOffset) + ".." +
                                    std::to_string(end(*column)) + " overlap those of " +
                                    name(*furthest));
            }
            if (furthest == nullptr || end(*column) > end(*furthest)) {
                furthest = column;
            }
        }
    }

    // Every memo and OLE column has its pages' usage maps listed by its number.
    void checkLongValueMaps() {
        std::vector<std::uint16_t> listed;
        for (const LongValueColumnMaps& maps : block_.longValueMaps) {
            listed.push_back(maps.columnNumber);
        }
        std::sort(listed.begin(), listed.end());
        for (const ColumnDescriptor& column : block_.columns) {
            if (holdsLongValue(column) &&
                !std::binary_search(listed.begin(), listed.end(), column.number)) {
                spoils(column, "its column number " + std::to_string(column.number) +
                                   " has no long-value maps, which every memo and OLE column has");
            }
        }
    }

    // The definition keeps each column's number twice. This program's writer stores the
    // number in both places; Access stores 0 in system tables, and in other tables the number
    // or, after a compaction renumbered the columns, an earlier number. So only a table whose
    // other columns all hold their number twice witnesses against one that does not: when its
    // other copy names a column place no column holds, the number itself moved there (reading
    // a deleted column's Nulls); otherwise only the copy, which reading does not use, differs.
    void checkNumberCopies() {
        const auto agrees = [](const ColumnDescriptor& column) {
            return column.numberAgain == column.number;
        };
        const auto differing =
            std::find_if_not(block_.columns.begin(), block_.columns.end(), agrees);
        if (differing == block_.columns.end() ||
            std::find_if_not(differing + 1, block_.columns.end(), agrees) != block_.columns.end()) {
            return;  // all alike, or more than one differs
        }
        const ColumnDescriptor& column = *differing;
        const bool witnessed = std::any_of(
            block_.columns.begin(), block_.columns.end(),
            [&](const ColumnDescriptor& other) { return &other != &column && other.number != 0; });
        if (!witnessed) {
            return;
        }
        const bool held = std::any_of(
            block_.columns.begin(), block_.columns.end(),
            [&](const ColumnDescriptor& other) { return other.number == column.numberAgain; });
        const std::string problem = "its column number " + std::to_string(column.number) +
                                    " differs from the copy " + std::to_string(column.numberAgain) +
                                    " the definition also keeps";
        if (column.numberAgain < block_.maxColumns && !held) {
            spoils(column, problem + ", a place no column holds");
        } else {
            harmless(column, problem);
        }
    }

    static constexpr unsigned kMaxNumericPrecision = 28;

    const TableDefinitionBlock& block_;
    WrittenBy writer_;
    std::vector<ColumnDefect> spoiling_;
    std::vector<ColumnDefect> harmless_;
};

}  // namespace

std::vector<ColumnDefect> checkColumns(const TableDefinitionBlock& block, WrittenBy writer) {
    return ColumnChecker(block, writer).run();
}

}  // namespace norvessa::jet
