// The writer's encoders checked against the reader's decoders and against bytes Access writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/data_page.h"
#include "platform/jet/data_page_encode.h"
#include "platform/jet/errors.h"
#include "platform/jet/property_blob_encode.h"
#include "platform/jet/text_codec.h"
#include "platform/jet/usage_map_encode.h"

namespace norvessa::jet {
namespace {

using Bytes = std::vector<std::uint8_t>;

bool bit(std::span<const std::uint8_t> bitmap, std::size_t index) {
    return index / 8 < bitmap.size() && (bitmap[index / 8] >> (index % 8) & 1) != 0;
}

TEST(StoredForm, AsciiTextIsCompressedAndEveryOtherTextStaysPlainUcs2) {
    EXPECT_EQ(encodeStoredText(u"8GB", true), (Bytes{0xFF, 0xFE, '8', 'G', 'B'}));
    EXPECT_EQ(encodeStoredText(u"8GB", false), (Bytes{'8', 0, 'G', 0, 'B', 0}));
    EXPECT_EQ(encodeStoredText(u"ab", true), (Bytes{'a', 0, 'b', 0}));  // not shorter
    EXPECT_EQ(encodeStoredText(u"2.7-3.6V\r\n", true).size(), 12U);
    // Mixed text would be shorter in mixed runs, but stays plain for accessdb-parser.
    EXPECT_EQ(encodeStoredText(u"Samsung \u4E09\u661F", true), encodeUcs2(u"Samsung \u4E09\u661F"));
    EXPECT_EQ(encodeStoredText(u"caf\u00E9s", true), encodeUcs2(u"caf\u00E9s"));
    // A plain value starting with U+FEFF would look compressed: it is written in two-byte mode.
    EXPECT_EQ(encodeStoredText(u"\uFEFFab", true),
              (Bytes{0xFF, 0xFE, 0x00, 0xFF, 0xFE, 'a', 0, 'b', 0}));
    EXPECT_THROW(encodeStoredText(u"\uFEFF\u4E00", true), JetError);

    for (const std::u16string text : {u"", u"x", u"EC D3 14 A5", u"\u7B2C\u4E00\u4EE3\u82AF\u7247",
                                      u"\u0100\u0200 zero low bytes", u"\uFEFFtext", u"\r\n"}) {
        EXPECT_EQ(decodeText(encodeStoredText(text, true)), text);
    }
}

TEST(StoredForm, DataPagesPackRowsFromTheEndAndCountTheirFreeSpace) {
    DataPageBuilder builder(8);
    EXPECT_EQ(builder.freeSpace(), 4082U);
    std::vector<Bytes> rows;
    while (builder.fits(10)) {
        rows.push_back(Bytes(10, static_cast<std::uint8_t>(rows.size())));
        EXPECT_EQ(builder.add(rows.back()), rows.size() - 1);
    }
    EXPECT_EQ(rows.size(), 255U);  // the slot limit comes before the space runs out
    const Bytes page = builder.encode();
    const DataPage decoded(page, 30);
    EXPECT_EQ(decoded.header().owner, 8U);
    EXPECT_EQ(decoded.header().freeSpace, 4082 - 255 * 12);
    ASSERT_EQ(decoded.rowCount(), 255);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto bytes = decoded.rowBytes(i);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), rows[i]);
    }
}

TEST(StoredForm, PropertyBlobsAreLaidOutAsAccessWritesThem) {
    const std::vector<ColumnProperties> columns{{u"a", {{u"Required", false}}}};
    const Bytes expected{'M', 'R', '2', 0,
                         // names: length 24, type 0x80, "Required"
                         24, 0, 0, 0, 0x80, 0, 16, 0, 'R', 0, 'e', 0, 'q', 0, 'u', 0, 'i', 0, 'r',
                         0, 'e', 0, 'd', 0,
                         // column "a": length 23, type 1, block header, one boolean entry
                         23, 0, 0, 0, 1, 0, 8, 0, 0, 0, 2, 0, 'a', 0, 9, 0, 1, 1, 0, 0, 1, 0, 0};
    EXPECT_EQ(encodePropertyBlob(columns), expected);
}

TEST(StoredForm, UsageMapsAreInlineWithinAWindowAndOtherwiseUseMapPages) {
    const std::vector<std::uint32_t> near{10, 12, 521};
    ASSERT_TRUE(fitsInlineUsageMap(near));
    const Bytes inlineRow = encodeInlineUsageMap(near);
    ASSERT_EQ(inlineRow.size(), 69U);
    EXPECT_EQ(inlineRow[0], 0x00);
    EXPECT_EQ(inlineRow[1], 10);
    const Bytes bitmap(inlineRow.begin() + 5, inlineRow.end());
    EXPECT_TRUE(bit(bitmap, 0) && bit(bitmap, 2) && bit(bitmap, 511));
    std::size_t setBits = 0;
    for (std::size_t i = 0; i < bitmap.size() * 8; ++i) {
        setBits += bit(bitmap, i) ? 1U : 0U;
    }
    EXPECT_EQ(setBits, 3U);

    const std::vector<std::uint32_t> far{10, 522, 40000};
    EXPECT_FALSE(fitsInlineUsageMap(far));
    EXPECT_EQ(usageMapPageSlots(far), (std::vector<std::size_t>{0, 1}));
    const Bytes mapPage = encodeUsageMapPage(far, 1);
    EXPECT_EQ(mapPage[0], 0x05);
    EXPECT_TRUE(bit(std::span(mapPage).subspan(4), 40000 - 32736));
    const Bytes reference = encodeReferenceUsageMap(std::vector<std::uint32_t>{90, 91});
    EXPECT_EQ(reference.size(), 69U);
    EXPECT_EQ(reference[0], 0x01);
    EXPECT_EQ(reference[1], 90);
    EXPECT_EQ(reference[5], 91);
    EXPECT_THROW(usageMapPageSlots(std::vector<std::uint32_t>{17 * 32736}), JetError);
}

// Bits [from, to) of a bitmap set, all others clear.
::testing::AssertionResult setExactly(std::span<const std::uint8_t> bitmap, std::size_t from,
                                      std::size_t to) {
    for (std::size_t i = 0; i < bitmap.size() * 8; ++i) {
        if (bit(bitmap, i) != (i >= from && i < to)) {
            return ::testing::AssertionFailure() << "bit " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

TEST(StoredForm, TheGlobalMapMovesToMapPagesAppendedToTheFileWhenPageOneCannotHoldIt) {
    // Inline from page 0: pages in the file are in use (0), the rest of the window free (1).
    const GlobalUsageMap small = encodeGlobalUsageMap(233);
    EXPECT_TRUE(small.mapPages.empty());
    ASSERT_EQ(small.row.size(), 69U);
    EXPECT_EQ(small.row[0], 0x00);
    EXPECT_EQ(u32At(small.row, 1), 0U);
    EXPECT_TRUE(setExactly(std::span(small.row).subspan(5), 233, 512));
    EXPECT_EQ(encodeGlobalUsageMap(2000).row.size(), 5U + 250U);

    // The largest inline map leaves page 1 room for its header, two slots and the second row.
    const GlobalUsageMap largestInline = encodeGlobalUsageMap(32032);
    EXPECT_TRUE(largestInline.mapPages.empty());
    EXPECT_EQ(largestInline.row.size(), 4096U - 14U - 4U - 69U);

    // Beyond that, map pages numbered from the old end of the file, each counted as used.
    struct Case {
        std::size_t pageCount;
        std::size_t mapPages;
    };
    for (const Case c :
         {Case{32033, 1}, Case{32735, 1}, Case{32736, 2}, Case{60000, 2}, Case{17 * 32735, 17}}) {
        SCOPED_TRACE(c.pageCount);
        const GlobalUsageMap map = encodeGlobalUsageMap(c.pageCount);
        ASSERT_EQ(map.mapPages.size(), c.mapPages);
        ASSERT_EQ(map.row.size(), 69U);
        EXPECT_EQ(map.row[0], 0x01);
        const std::size_t end = c.pageCount + c.mapPages;
        for (std::size_t k = 0; k < 17; ++k) {
            EXPECT_EQ(u32At(map.row, 1 + 4 * k), k < c.mapPages ? c.pageCount + k : 0U);
        }
        for (std::size_t k = 0; k < c.mapPages; ++k) {
            const Bytes& page = map.mapPages[k];
            ASSERT_EQ(page.size(), 4096U);
            EXPECT_EQ(page[0], 0x05);
            EXPECT_EQ(page[1], 0x01);
            const std::size_t first = k * 32736;
            const std::size_t freeFrom = std::max(end, first) - first;
            EXPECT_TRUE(setExactly(std::span(page).subspan(4), freeFrom, 32736))
                << "map page " << k;
        }
    }
    // 17 map pages cover 556,512 pages, themselves included.
    EXPECT_THROW(encodeGlobalUsageMap(17 * 32735 + 1), JetError);
}

}  // namespace
}  // namespace norvessa::jet
