#pragma once

// Byte layout of a Jet 4.0 (Access 2000) database file. Every decoder, every encoder and the
// page dump tool name offsets through the constants below, so this file is the one place that
// says where a field lives. Integers are little-endian unless a table says otherwise. Fields
// whose meaning nobody knows are marked "unknown, written as observed".
//
// The file is a sequence of 4096-byte pages; page n starts at byte n * 4096. Byte 0 of a page
// gives its kind, byte 1 is always 0x01. A "row pointer" is a u32 = page * 256 + row slot.
//
// HEADER PAGE (page 0 only)
//   offset  size  meaning
//   0x00    1     page type 0x00
//   0x01    1     0x01
//   0x04    16    signature "Standard Jet DB\0" ("Standard ACE DB\0" in Access 2007+ files)
//   0x14    4     format version: 0 Jet 3, 1 Jet 4, 2.. ACE 12 and later
//   0x18    128   region masked with the RC4 keystream of key C7 DA 39 6B; fields below are
//                 offsets of the unmasked bytes
//   0x18    24    unknown constant, written as observed
//   0x3C    2     code page (1252 Western, 936 Chinese)
//   0x3E    4     page-encryption key, 0 = pages stored plain
//   0x42    40    database password, UCS-2, XOR-masked with the creation date's whole days
//   0x6A    4     unknown, written as observed
//   0x6E    2     default sort order (1033 General, 2052 Chinese PRC)
//   0x70    1     sort order id, 0
//   0x71    1     sort order version, 0
//   0x72    8     creation date, IEEE double, days since 1899-12-30
//   0x98    8     unmasked constant 54 06 00 00 "4.0\0", unknown, written as observed
//   0xE00   512   unknown pattern, written as observed
//
// DATA PAGE (type 0x01; also holds usage-map rows and long values)
//   offset  size  meaning
//   0       1     page type 0x01
//   1       1     0x01
//   2       2     free bytes: 4096 - 14 - 2 * slots - bytes used by rows
//   4       4     owner: tdef page of the table, "LVAL" on long-value pages, 0 on map pages
//   8       4     unknown, 0
//   12      2     number of row slots n
//   14      2n    slot table: u16 row start; flags 0x4000 overflow pointer, 0x8000 with 0x4000
//                 deleted, 0x8000 alone the target of an overflow pointer
//   Rows are packed downwards from the page end: slot 0 ends at 4096, slot i ends where slot
//   i - 1 starts.
//
// ROW (Jet 4)
//   offset  size  meaning
//   0       2     column count C recorded in the row
//   2       ...   fixed-length area: each fixed column at 2 + its fixed offset, up to where
//                 the variable data begins
//   ...     ...   variable-length data in var-index order
//   end-m-4-2V 2  end of variable data (EOD), counted from the row start
//   ...     2V    var column start offsets, var index V-1 first (lowest address) ... 0 last
//   end-m-2 2     number of variable columns V recorded in the row
//   end-m   m     null mask, m = ceil(C / 8); bit k (LSB first) = column number k not null;
//                 for booleans the bit is the value
//
// TABLE DEFINITION PAGE (type 0x02, "tdef"); continuation pages repeat the 8-byte page header
// and their bytes 8.. append to one logical buffer, whose offsets are used below.
//   offset  size  meaning
//   0       1     page type 0x02
//   1       1     0x01
//   2       2     free bytes on this page
//   4       4     next tdef page, 0 = last
//   8       4     length of the logical buffer
//   12      4     unknown constant 1625, written as observed
//   16      4     row count
//   20      4     last auto-number handed out
//   24      1     0x01 (auto-numbering on)
//   25      15    unknown, written as zero
//   40      1     table type: 0x4E user, 0x53 system
//   41      2     max column count, deleted columns included
//   43      2     number of variable-length columns
//   45      2     number of columns
//   47      4     number of logical indexes
//   51      4     number of real indexes
//   55      4     row pointer of the owned-pages usage map
//   59      4     row pointer of the free-pages usage map
//   63      12R   per real index: u32 unknown, u32 unique-entry count, u32 0
//   ...     25C   column descriptors (below)
//   ...     ...   column names: u16 byte length + UCS-2
//   ...     52R   real-index descriptors (below)
//   ...     28L   logical-index entries (below)
//   ...     ...   logical-index names: u16 byte length + UCS-2
//   ...     10M   per memo/OLE column: u16 column number, u32 owned map, u32 free map
//   ...     2     FF FF
//
// COLUMN DESCRIPTOR (25 bytes)
//   0 1 type · 1 4 constant 1625 · 5 2 column number · 7 2 var index · 9 2 column number again
//   11 2 text: sort order; numeric: precision, scale · 13 1 unknown 0 · 14 1 sort version
//   15 1 flags (0x01 fixed, 0x02 updatable, 0x04 auto-number) · 16 1 0x01 compressed Unicode
//   Type 0x11 is a fixed 3992-byte binary Access uses only for MSysAccessObjects.Data.
//   17 4 unknown 0 · 21 2 fixed offset · 23 2 length in bytes
//
// REAL-INDEX DESCRIPTOR (52 bytes)
//   0 4 constant 1923 · 4 30 ten {u16 column number or 0xFFFF, u8 0x01 ascending}
//   34 4 row pointer of the index's usage map · 38 4 root index page · 42 4 unknown
//   46 1 flags (0x01 unique, 0x02 ignore nulls, 0x08 required, 0x80 always) · 47 5 unknown 0
//
// LOGICAL-INDEX ENTRY (28 bytes)
//   0 4 constant 1625 · 4 4 index number · 8 4 real index · 12 1 related table type
//   13 4 related index (-1 none) · 17 4 related tdef page · 21 1 cascade update
//   22 1 cascade delete · 23 1 kind (0x01 primary key, 0x02 foreign key) · 24 4 unknown 0
//
// USAGE MAP (a row on a data page)
//   type 0, inline:    0 1 type 0x00 · 1 4 first page · 5 .. bitmap, bit i = page first + i
//   type 1, reference: 0 1 type 0x01 · 1 4k map page numbers (0 = none); map page k covers
//                      pages k * 32736 .. (k + 1) * 32736 - 1
//
// USAGE-MAP PAGE (type 0x05)
//   0 1 page type 0x05 · 1 1 0x01 · 2 2 unknown 0 · 4 4092 bitmap
//
// INDEX PAGE (type 0x03 node, 0x04 leaf); keys, page and row numbers in entries are big-endian
//   offset  size  meaning
//   0       1     0x03 node or 0x04 leaf
//   1       1     0x01
//   2       2     free bytes
//   4       4     tdef page of the owning table
//   8       4     unknown 0
//   12      4     previous page at this level
//   16      4     next page at this level
//   20      4     node pages: child holding the last entries ("tail"); leaves 0
//   24      2     shared prefix length
//   26      1     unknown (0x01 on Access node pages), written as observed
//   27      453   entry-end bitmap: bit p set = an entry ends at 0x1E0 + p
//   0x1E0   ...   entries: key · page (3 bytes BE) · row (1 byte) [· child page u32 BE on nodes]
//
// LONG VALUE (memo/OLE) reference, 12 bytes inside the row
//   0 4 bits 0-23 length, top byte kind: 0x80 inline, 0x40 one row, 0x00 chain of rows
//   4 4 row pointer (kinds 0x40 and 0x00) · 8 4 unknown 0 · 12 .. inline data (kind 0x80)
//   A chained row starts with the u32 row pointer of the next part (0 = last), then data.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norvessa::jet::layout {

// A field at a fixed place inside a page, row or record.
struct Field {
    std::uint16_t offset;
    std::uint16_t size;
    std::string_view name;
    constexpr std::size_t end() const { return std::size_t{offset} + size; }
};

inline constexpr std::size_t kPageSize = 4096;
inline constexpr std::uint8_t kPageMarker = 0x01;  // byte 1 of every page

namespace page_type {
inline constexpr std::uint8_t kHeader = 0x00;
inline constexpr std::uint8_t kData = 0x01;
inline constexpr std::uint8_t kTableDefinition = 0x02;
inline constexpr std::uint8_t kIndexNode = 0x03;
inline constexpr std::uint8_t kIndexLeaf = 0x04;
inline constexpr std::uint8_t kUsageMap = 0x05;
}  // namespace page_type

// Common to every page.
inline constexpr Field kPageType{0, 1, "page type"};
inline constexpr Field kPageMarkerField{1, 1, "marker 0x01"};

// Row pointers: u32 = page << 8 | row.
inline constexpr unsigned kRowPointerPageShift = 8;
inline constexpr std::uint32_t kRowPointerRowMask = 0xFF;

namespace header {
inline constexpr Field kSignature{0x04, 16, "signature"};
inline constexpr Field kVersion{0x14, 4, "format version"};
inline constexpr Field kMaskedRegion{0x18, 128, "masked region"};
inline constexpr Field kMaskConstant{0x18, 24, "unknown constant"};
inline constexpr Field kCodePage{0x3C, 2, "code page"};
inline constexpr Field kDatabaseKey{0x3E, 4, "page-encryption key"};
inline constexpr Field kPassword{0x42, 40, "password (masked)"};
inline constexpr Field kUnknown6A{0x6A, 4, "unknown"};
inline constexpr Field kSortOrder{0x6E, 2, "sort order"};
inline constexpr Field kSortOrderId{0x70, 1, "sort order id"};
inline constexpr Field kSortOrderVersion{0x71, 1, "sort order version"};
inline constexpr Field kCreationDate{0x72, 8, "creation date"};
inline constexpr Field kTrailerConstant{0x98, 8, "unknown constant"};
inline constexpr Field kTailPattern{0xE00, 512, "unknown pattern"};

inline constexpr std::string_view kJetSignature{"Standard Jet DB\0", 16};
inline constexpr std::string_view kAceSignature{"Standard ACE DB\0", 16};
inline constexpr std::uint32_t kVersionJet3 = 0;
inline constexpr std::uint32_t kVersionJet4 = 1;
inline constexpr std::array<std::uint8_t, 4> kMaskKey{0xC7, 0xDA, 0x39, 0x6B};
inline constexpr std::size_t kPasswordMaxCharacters = 20;

// Observed constants, written as observed.
inline constexpr std::array<std::uint8_t, 24> kMaskConstantValue{
    0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
    0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
inline constexpr std::array<std::uint8_t, 4> kUnknown6AValue{0x27, 0x25, 0x00, 0x00};
inline constexpr std::array<std::uint8_t, 8> kTrailerConstantValue{0x54, 0x06, 0x00, 0x00,
                                                                   0x34, 0x2E, 0x30, 0x00};
// The 0xE00 block: these two bytes, then 00 01 repeated to the page end.
inline constexpr std::array<std::uint8_t, 2> kTailPatternStart{0x01, 0x01};

inline constexpr std::array kFields{
    kPageType,    kPageMarkerField,  kSignature,    kVersion,         kMaskConstant,
    kCodePage,    kDatabaseKey,      kPassword,     kUnknown6A,       kSortOrder,
    kSortOrderId, kSortOrderVersion, kCreationDate, kTrailerConstant, kTailPattern};
}  // namespace header

namespace data_page {
inline constexpr Field kFreeSpace{2, 2, "free space"};
inline constexpr Field kOwner{4, 4, "owner"};
inline constexpr Field kUnknown8{8, 4, "unknown"};
inline constexpr Field kRowCount{12, 2, "row count"};
inline constexpr std::size_t kSlotTable = 14;  // first of the u16 slot entries
inline constexpr std::size_t kSlotSize = 2;

inline constexpr std::uint16_t kSlotOffsetMask = 0x1FFF;
inline constexpr std::uint16_t kSlotOverflowPointer = 0x4000;
inline constexpr std::uint16_t kSlotMovedOrDeleted = 0x8000;  // with 0x4000: deleted
inline constexpr std::uint16_t kSlotDeleted = 0xC000;

inline constexpr std::uint32_t kOwnerLongValue = 0x4C41564C;  // "LVAL"
inline constexpr std::uint32_t kOwnerUsageMaps = 0;
inline constexpr std::uint32_t kOwnerGlobalMap = 1;
inline constexpr std::size_t kMaxRowsPerPage = 255;
inline constexpr std::size_t kMaxRowSize = 4060;

inline constexpr std::array kFields{kPageType, kPageMarkerField, kFreeSpace,
                                    kOwner,    kUnknown8,        kRowCount};
}  // namespace data_page

namespace row {
inline constexpr Field kColumnCount{0, 2, "column count"};
inline constexpr std::size_t kFixedArea = 2;   // fixed columns start here
inline constexpr std::size_t kOffsetSize = 2;  // var offsets, EOD and var count are u16
}  // namespace row

namespace tdef {
// Page header, on the first and on every continuation page.
inline constexpr Field kFreeSpace{2, 2, "free space"};
inline constexpr Field kNextPage{4, 4, "next page"};
inline constexpr std::size_t kPageHeaderSize = 8;

// Header block of the logical buffer.
inline constexpr Field kLength{8, 4, "definition length"};
inline constexpr Field kMagic{12, 4, "unknown constant 1625"};
inline constexpr Field kRowCount{16, 4, "row count"};
inline constexpr Field kAutoNumberLast{20, 4, "last auto-number"};
inline constexpr Field kAutoNumberOn{24, 1, "auto-numbering on"};
inline constexpr Field kUnknown25{25, 15, "unknown"};
inline constexpr Field kTableType{40, 1, "table type"};
inline constexpr Field kMaxColumns{41, 2, "max column count"};
inline constexpr Field kVariableColumns{43, 2, "variable column count"};
inline constexpr Field kColumnCount{45, 2, "column count"};
inline constexpr Field kLogicalIndexCount{47, 4, "logical index count"};
inline constexpr Field kRealIndexCount{51, 4, "real index count"};
inline constexpr Field kOwnedPagesMap{55, 4, "owned pages map"};
inline constexpr Field kFreePagesMap{59, 4, "free pages map"};
inline constexpr std::size_t kHeaderBlockEnd = 63;

inline constexpr std::uint32_t kMagicValue = 1625;
inline constexpr std::uint8_t kAutoNumberOnValue = 0x01;
inline constexpr std::uint8_t kTableTypeUser = 0x4E;
inline constexpr std::uint8_t kTableTypeSystem = 0x53;
inline constexpr std::uint16_t kTerminator = 0xFFFF;

inline constexpr std::array kFields{
    kPageType,       kPageMarkerField, kFreeSpace,       kNextPage,     kLength,
    kMagic,          kRowCount,        kAutoNumberLast,  kAutoNumberOn, kUnknown25,
    kTableType,      kMaxColumns,      kVariableColumns, kColumnCount,  kLogicalIndexCount,
    kRealIndexCount, kOwnedPagesMap,   kFreePagesMap};

// Per real index, right after the header block.
namespace real_index_count {
inline constexpr std::size_t kSize = 12;
inline constexpr Field kUnknown{0, 4, "unknown"};
inline constexpr Field kUniqueEntries{4, 4, "unique entries"};
inline constexpr Field kZero{8, 4, "unknown"};
}  // namespace real_index_count

namespace column {
inline constexpr std::size_t kSize = 25;
inline constexpr Field kType{0, 1, "type"};
inline constexpr Field kMagic{1, 4, "unknown constant 1625"};
inline constexpr Field kNumber{5, 2, "column number"};
inline constexpr Field kVarIndex{7, 2, "var index"};
inline constexpr Field kNumberAgain{9, 2, "column number again"};
inline constexpr Field kSortOrder{11, 2, "sort order"};
inline constexpr Field kPrecision{11, 1, "precision"};
inline constexpr Field kScale{12, 1, "scale"};
inline constexpr Field kUnknown13{13, 1, "unknown"};
inline constexpr Field kSortOrderVersion{14, 1, "sort order version"};
inline constexpr Field kFlags{15, 1, "flags"};
inline constexpr Field kExtendedFlags{16, 1, "extended flags"};
inline constexpr Field kUnknown17{17, 4, "unknown"};
inline constexpr Field kFixedOffset{21, 2, "fixed offset"};
inline constexpr Field kLength{23, 2, "length"};

inline constexpr std::uint8_t kFlagFixedLength = 0x01;
inline constexpr std::uint8_t kFlagUpdatable = 0x02;
inline constexpr std::uint8_t kFlagAutoNumber = 0x04;
inline constexpr std::uint8_t kFlagSystem =
    0x10;  // unknown meaning, Access sets it on system tables
inline constexpr std::uint8_t kFlagSecurityId = 0x20;  // Access sets it on binary SID columns
inline constexpr std::uint8_t kFlagAutoNumberGuid = 0x40;
inline constexpr std::uint8_t kFlagHyperlink = 0x80;
// 0x08 is the one bit no Jet 4 file we know sets.
inline constexpr std::uint8_t kKnownFlags = 0xF7;
inline constexpr std::uint8_t kExtendedFlagCompressedUnicode = 0x01;

// Jackcess's type table names 0x0D as data of unknown meaning, read like binary.
inline constexpr std::uint8_t kTypeUnknownBinary = 0x0D;
// Text holds at most 255 characters of two bytes, binary as many bytes.
inline constexpr std::uint16_t kMaxTextLength = 510;
inline constexpr std::uint8_t kTypeAccessObjectData = 0x11;
inline constexpr std::uint16_t kAccessObjectDataLength = 3992;

inline constexpr std::array kFields{kType,        kMagic,         kNumber,    kVarIndex,
                                    kNumberAgain, kSortOrder,     kUnknown13, kSortOrderVersion,
                                    kFlags,       kExtendedFlags, kUnknown17, kFixedOffset,
                                    kLength};
}  // namespace column

// Column names and logical-index names: u16 byte length, then UCS-2.
inline constexpr std::size_t kNameLengthSize = 2;

namespace real_index {
inline constexpr std::size_t kSize = 52;
inline constexpr Field kMagic{0, 4, "unknown constant 1923"};
inline constexpr Field kColumns{4, 30, "columns"};
inline constexpr Field kUsageMap{34, 4, "usage map"};
inline constexpr Field kRootPage{38, 4, "root page"};
inline constexpr Field kUnknown42{42, 4, "unknown"};
inline constexpr Field kFlags{46, 1, "flags"};
inline constexpr Field kUnknown47{47, 5, "unknown"};

inline constexpr std::uint32_t kMagicValue = 1923;
inline constexpr std::size_t kMaxColumns = 10;
inline constexpr std::size_t kColumnSlotSize = 3;  // u16 column number, u8 order flag
inline constexpr std::uint16_t kUnusedColumn = 0xFFFF;
inline constexpr std::uint8_t kColumnAscending = 0x01;

inline constexpr std::uint8_t kFlagUnique = 0x01;
inline constexpr std::uint8_t kFlagIgnoreNulls = 0x02;
inline constexpr std::uint8_t kFlagRequired = 0x08;
inline constexpr std::uint8_t kFlagAlwaysSet = 0x80;

inline constexpr std::array kFields{kMagic,     kColumns, kUsageMap, kRootPage,
                                    kUnknown42, kFlags,   kUnknown47};
}  // namespace real_index

namespace logical_index {
inline constexpr std::size_t kSize = 28;
inline constexpr Field kMagic{0, 4, "unknown constant 1625"};
inline constexpr Field kNumber{4, 4, "index number"};
inline constexpr Field kRealIndex{8, 4, "real index"};
inline constexpr Field kRelatedTableType{12, 1, "related table type"};
inline constexpr Field kRelatedIndex{13, 4, "related index"};
inline constexpr Field kRelatedTable{17, 4, "related table"};
inline constexpr Field kCascadeUpdate{21, 1, "cascade update"};
inline constexpr Field kCascadeDelete{22, 1, "cascade delete"};
inline constexpr Field kKind{23, 1, "index kind"};
inline constexpr Field kUnknown24{24, 4, "unknown"};

inline constexpr std::uint8_t kKindOther = 0x00;
inline constexpr std::uint8_t kKindPrimaryKey = 0x01;
inline constexpr std::uint8_t kKindForeignKey = 0x02;
inline constexpr std::int32_t kNoRelatedIndex = -1;

inline constexpr std::array kFields{kMagic,        kNumber,       kRealIndex,     kRelatedTableType,
                                    kRelatedIndex, kRelatedTable, kCascadeUpdate, kCascadeDelete,
                                    kKind,         kUnknown24};
}  // namespace logical_index

// Per memo/OLE column, before the terminator.
namespace long_value_maps {
inline constexpr std::size_t kSize = 10;
inline constexpr Field kColumnNumber{0, 2, "column number"};
inline constexpr Field kOwnedPagesMap{2, 4, "owned pages map"};
inline constexpr Field kFreePagesMap{6, 4, "free pages map"};
}  // namespace long_value_maps
}  // namespace tdef

namespace usage_map {
inline constexpr Field kMapType{0, 1, "map type"};
inline constexpr std::uint8_t kTypeInline = 0x00;
inline constexpr std::uint8_t kTypeReference = 0x01;

// Inline map.
inline constexpr Field kStartPage{1, 4, "first page"};
inline constexpr std::size_t kInlineBitmap = 5;
inline constexpr std::size_t kAccessRowSize = 69;  // Access writes 64 bitmap bytes
inline constexpr std::size_t kAccessBitmapSize = kAccessRowSize - kInlineBitmap;

// Reference map: u32 map page numbers from offset 1.
inline constexpr std::size_t kMapPageList = 1;
inline constexpr std::size_t kMapPageNumberSize = 4;
inline constexpr std::size_t kMaxMapPages = 17;
}  // namespace usage_map

namespace map_page {
inline constexpr Field kUnknown2{2, 2, "unknown"};
inline constexpr std::size_t kBitmap = 4;
inline constexpr std::size_t kPagesCovered = (kPageSize - kBitmap) * 8;  // 32736

inline constexpr std::array kFields{kPageType, kPageMarkerField, kUnknown2};
}  // namespace map_page

namespace index_page {
inline constexpr Field kFreeSpace{2, 2, "free space"};
inline constexpr Field kOwner{4, 4, "owner"};
inline constexpr Field kUnknown8{8, 4, "unknown"};
inline constexpr Field kPreviousPage{12, 4, "previous page"};
inline constexpr Field kNextPage{16, 4, "next page"};
inline constexpr Field kTailPage{20, 4, "tail page"};
inline constexpr Field kPrefixLength{24, 2, "shared prefix length"};
inline constexpr Field kUnknown26{26, 1, "unknown"};
inline constexpr Field kEntryBitmap{27, 453, "entry-end bitmap"};
inline constexpr std::size_t kEntries = 0x1E0;
inline constexpr std::size_t kEntryAreaSize = kPageSize - kEntries;  // 3616

inline constexpr std::uint8_t kNodeMarkerAccess = 0x01;  // byte 26 on Access node pages
inline constexpr std::size_t kEntryPageSize = 3;         // big-endian data page
inline constexpr std::size_t kEntryRowSize = 1;
inline constexpr std::size_t kChildPageSize = 4;  // big-endian, node entries only
// What follows a key: the row pointer on leaves, and the child page too on nodes.
inline constexpr std::size_t kLeafPointerSize = kEntryPageSize + kEntryRowSize;
inline constexpr std::size_t kNodePointerSize = kLeafPointerSize + kChildPageSize;
inline constexpr std::size_t kBitmapBits = std::size_t{kEntryBitmap.size} * 8;

// Key segment flags.
inline constexpr std::uint8_t kKeyPresentAscending = 0x7F;
inline constexpr std::uint8_t kKeyNullAscending = 0x00;
inline constexpr std::uint8_t kKeyPresentDescending = 0x80;
inline constexpr std::uint8_t kKeyNullDescending = 0xFF;
inline constexpr std::uint8_t kTextKeyEnd = 0x01;

inline constexpr std::array kFields{kPageType,     kPageMarkerField, kFreeSpace,  kOwner,
                                    kUnknown8,     kPreviousPage,    kNextPage,   kTailPage,
                                    kPrefixLength, kUnknown26,       kEntryBitmap};
}  // namespace index_page

namespace long_value {
inline constexpr std::size_t kReferenceSize = 12;
inline constexpr Field kLengthAndKind{0, 4, "length and kind"};
inline constexpr Field kRowPointer{4, 4, "row pointer"};
inline constexpr Field kUnknown8{8, 4, "unknown"};
inline constexpr std::size_t kInlineData = 12;

inline constexpr std::uint32_t kLengthMask = 0x00FFFFFF;
inline constexpr unsigned kKindShift = 24;
inline constexpr std::uint8_t kKindInline = 0x80;
inline constexpr std::uint8_t kKindSingleRow = 0x40;
inline constexpr std::uint8_t kKindChain = 0x00;
inline constexpr std::size_t kMaxInlineLength = 64;  // what Jackcess writes inline at most

// A row of a chain.
inline constexpr Field kNextRow{0, 4, "next row"};
inline constexpr std::size_t kChainData = 4;
}  // namespace long_value

namespace catalog {
inline constexpr std::uint32_t kDefinitionPage = 2;  // MSysObjects' tdef
inline constexpr std::uint32_t kGlobalMapPage = 1;
inline constexpr std::uint32_t kIdPageMask = 0x00FFFFFF;
inline constexpr std::int16_t kTypeMask = 0x7F;
inline constexpr std::int16_t kTypeTable = 1;
inline constexpr std::uint32_t kFlagsEngineSystem = 0x80000000;
inline constexpr std::uint32_t kFlagsAccessSystem = 0x00000002;
}  // namespace catalog

}  // namespace norvessa::jet::layout
