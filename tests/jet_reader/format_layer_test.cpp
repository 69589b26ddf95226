// Decoders of the format layer over byte buffers: cursor, header page, slots, rows, usage maps.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/data_page.h"
#include "platform/jet/database_file.h"
#include "platform/jet/header_page.h"
#include "platform/jet/rc4.h"
#include "platform/jet/row_layout.h"
#include "platform/jet/usage_map.h"

namespace norvessa::jet {
namespace {

using Bytes8 = std::vector<std::uint8_t>;

Bytes8 hex(std::string_view text) {
    Bytes8 bytes;
    for (std::size_t i = 0; i + 1 < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        bytes.push_back(
            static_cast<std::uint8_t>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
        i += 2;
    }
    return bytes;
}

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const JetError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(ByteCursor, ReadsLittleEndianAndKeepsTheFirstFailure) {
    const Bytes8 bytes = hex("01 02 03 04 05");
    ByteCursor cursor(bytes, Location{"data page", 17, std::nullopt});
    EXPECT_EQ(cursor.u16(), 0x0201);
    EXPECT_EQ(cursor.u16(), 0x0403);
    EXPECT_TRUE(cursor.ok());
    EXPECT_EQ(cursor.u32("row pointer"), 0U);  // 1 byte left
    EXPECT_EQ(cursor.u8(), 0);                 // stays failed, reads nothing
    EXPECT_FALSE(cursor.ok());
    EXPECT_EQ(messageOf([&] { cursor.check(); }),
              "data page 17: row pointer at offset 0x4 (4 bytes) runs past the end (5 bytes)");
}

TEST(ByteCursor, FieldReadsAndBigEndian) {
    const Bytes8 bytes = hex("00 00 40 00 80 00 00 01");
    ByteCursor cursor(bytes, Location{"index page", 3, std::nullopt});
    EXPECT_EQ(cursor.be24(), 0x40U);
    EXPECT_EQ(cursor.u8(), 0);
    EXPECT_EQ(cursor.be32(), 0x80000001U);
    EXPECT_EQ(cursor.u16(layout::Field{2, 2, "x"}), 0x0040);
    EXPECT_EQ(cursor.position(), 4U);
    cursor.check();
}

TEST(ByteWriter, GrowsToTheLimitAndRefusesBeyond) {
    Bytes8 page;
    ByteWriter out(page, Location{"data page", 4, std::nullopt}, 8);
    out.u16(layout::Field{2, 2, "free space"}, 0x1234);
    out.be32(0x01020304);
    EXPECT_EQ(page, hex("00 00 34 12 01 02 03 04"));
    out.u8(9);
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(page.size(), 8U);
    EXPECT_EQ(messageOf([&] { out.check(); }),
              "data page 4: writing 1 bytes at offset 0x8 exceeds the limit of 8 bytes");
    Bytes8 other;
    ByteWriter tooLong(other, Location{"header page", 0, std::nullopt});
    tooLong.bytes(layout::Field{0, 2, "code page"}, hex("01 02 03"));
    EXPECT_FALSE(tooLong.ok());
}

TEST(HeaderPage, Rc4KeystreamMatchesTheKnownVector) {
    std::array<std::uint8_t, 16> stream{};
    rc4Apply(layout::header::kMaskKey, stream);
    EXPECT_EQ(Bytes8(stream.begin(), stream.end()),
              hex("b5 6f 03 62 61 08 c2 55 eb a9 67 72 43 3f 00 9c"));
}

double dateFromBytes(std::string_view bytes) {
    double date = 0;
    const auto raw = hex(bytes);
    std::memcpy(&date, raw.data(), sizeof date);
    return date;
}

TEST(HeaderPage, EncodesThePasswordLikeAccessAndDecodesItBack) {
    HeaderPage header;
    header.password = u"12345678";
    header.creationDate = dateFromBytes("02 c9 3a 17 a4 1d e6 40");  // 2024-01-02 03:04:05
    const auto page = encodeHeaderPage(header);
    ASSERT_EQ(page.size(), layout::kPageSize);
    EXPECT_EQ(Bytes8(page.begin() + 0x42, page.begin() + 0x6A),
              hex("5a 4b de 37 83 f4 a8 fa 1e ee 1e e6 c9 06 b2 60 b9 24 7b 36 18 c2 df b1 9a 44 "
                  "13 43 22 1f b1 33 d9 d1 79 5b 7f 05 7c 2a"));
    EXPECT_EQ(Bytes8(page.begin() + 0x6E, page.begin() + 0x7A),
              hex("05 13 98 fd 10 86 70 83 c8 23 86 66"));
    EXPECT_EQ(Bytes8(page.begin(), page.begin() + 0x18),
              hex("00 01 00 00 53 74 61 6e 64 61 72 64 20 4a 65 74 20 44 42 00 01 00 00 00"));

    const HeaderPage back = decodeHeaderPage(page);
    EXPECT_EQ(back.password, u"12345678");
    EXPECT_EQ(back.sortOrder, 2052);
    EXPECT_EQ(back.codePage, 936);
    EXPECT_EQ(back.databaseKey, 0U);
    EXPECT_EQ(back.creationDate, header.creationDate);
}

TEST(HeaderPage, NoPasswordStoresTheDateMaskAndLongPasswordsAreRefused) {
    HeaderPage header;
    header.creationDate = 44568.68;
    auto page = encodeHeaderPage(header);
    toggleHeaderMask(page);
    for (std::size_t i = 0; i < 40; i += 4) {
        EXPECT_EQ(Bytes8(page.begin() + 0x42 + static_cast<std::ptrdiff_t>(i),
                         page.begin() + 0x46 + static_cast<std::ptrdiff_t>(i)),
                  hex("18 AE 00 00"));
    }
    toggleHeaderMask(page);
    EXPECT_TRUE(decodeHeaderPage(page).password.empty());

    header.password =
        u"中文密码中文密码中文密码中文密码中文密码";  // 20: the most there is room for
    EXPECT_EQ(decodeHeaderPage(encodeHeaderPage(header)).password, header.password);
    header.password += u"x";
    EXPECT_THROW(encodeHeaderPage(header), JetError);
}

TEST(HeaderPage, RefusesOtherFormatsByName) {
    auto page = encodeHeaderPage(HeaderPage{});
    const auto refusal = [](const Bytes8& bytes) {
        try {
            decodeHeaderPage(bytes);
        } catch (const JetError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::UnsupportedFormat);
            return std::string(error.what());
        }
        return std::string("(accepted)");
    };
    auto jet3 = page;
    jet3[0x14] = 0;
    EXPECT_NE(refusal(jet3).find("Jet 3 (Access 97)"), std::string::npos);
    auto ace = page;
    std::memcpy(ace.data() + 4, "Standard ACE DB", 15);
    ace[0x14] = 3;
    EXPECT_NE(refusal(ace).find("ACE"), std::string::npos);
    auto other = page;
    other[4] = 'X';
    EXPECT_NE(refusal(other).find("not a Jet database"), std::string::npos);
    EXPECT_NE(refusal(Bytes8(10, 0)).find("shorter than a database header"), std::string::npos);
}

// A data page with the given rows, packed from the end like Access does.
Bytes8 dataPage(const std::vector<Bytes8>& rows, const std::vector<std::uint16_t>& flags) {
    Bytes8 page(layout::kPageSize, 0);
    page[0] = layout::page_type::kData;
    page[1] = layout::kPageMarker;
    page[12] = static_cast<std::uint8_t>(rows.size());
    std::size_t end = layout::kPageSize;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t start = end - rows[i].size();
        std::copy(rows[i].begin(), rows[i].end(),
                  page.begin() + static_cast<std::ptrdiff_t>(start));
        const auto slot = static_cast<std::uint16_t>(start | flags[i]);
        page[14 + 2 * i] = static_cast<std::uint8_t>(slot);
        page[15 + 2 * i] = static_cast<std::uint8_t>(slot >> 8);
        end = start;
    }
    return page;
}

TEST(DataPage, SlotsGiveRowBoundsAndStates) {
    const auto bytes = dataPage({hex("aa bb"), hex("cc"), hex("dd ee ff")}, {0, 0xC000, 0x4000});
    const DataPage page(bytes, 9);
    ASSERT_EQ(page.rowCount(), 3);
    EXPECT_EQ(Bytes8(page.rowBytes(0).begin(), page.rowBytes(0).end()), hex("aa bb"));
    EXPECT_EQ(Bytes8(page.rowBytes(2).begin(), page.rowBytes(2).end()), hex("dd ee ff"));
    EXPECT_EQ(page.state(0), SlotState::Live);
    EXPECT_EQ(page.state(1), SlotState::Deleted);
    EXPECT_EQ(page.state(2), SlotState::OverflowPointer);
    EXPECT_EQ(slotState(0x8000), SlotState::OverflowTarget);
}

TEST(DataPage, BadSlotsAndTypesNameThePageAndRow) {
    auto bytes = dataPage({hex("aa")}, {0});
    bytes[14] = 0x40;
    bytes[15] = 0x1F;  // 0x1F40
    EXPECT_EQ(messageOf([&] { DataPage(bytes, 17).rowBytes(0); }),
              "data page 17: row 0 offset 0x1F40 beyond page end");
    bytes[0] = layout::page_type::kTableDefinition;
    EXPECT_EQ(messageOf([&] { DataPage(bytes, 17); }),
              "data page 17: expected page type 0x01, found 0x02");
    auto crowded = dataPage({}, {});
    crowded[12] = 0xFF;
    crowded[13] = 0xFF;
    EXPECT_NE(messageOf([&] { DataPage(crowded, 3); }).find("does not fit"), std::string::npos);
}

TEST(RowLayout, FindsFixedAndVariableColumnsAndTheNullMask) {
    // 3 columns: col 0 LONG fixed, cols 1 and 2 variable; col 2 null.
    const Bytes8 row =
        hex("03 00"        // column count
            "2a 00 00 00"  // fixed: 42
            "41 42"        // var 0: "AB"
            "08 00"        // EOD
            "08 00"        // off[1]
            "06 00"        // off[0]
            "02 00"        // var count
            "03");         // mask: cols 0, 1 present
    const RowLayout layout(row, Location{"data page", 1, 0}, true);
    EXPECT_EQ(layout.columnCount(), 3);
    EXPECT_TRUE(layout.present(0));
    EXPECT_TRUE(layout.present(1));
    EXPECT_FALSE(layout.present(2));
    EXPECT_FALSE(layout.present(40));
    EXPECT_EQ(Bytes8(layout.fixed(0, 4).begin(), layout.fixed(0, 4).end()), hex("2a 00 00 00"));
    EXPECT_EQ(Bytes8(layout.variable(0).begin(), layout.variable(0).end()), hex("41 42"));
    EXPECT_TRUE(layout.variable(1).empty());
    // A var index the row does not record, fixed bytes running into the variable data.
    EXPECT_THROW(layout.variable(7), JetError);
    EXPECT_THROW(layout.fixed(2, 4), JetError);
    EXPECT_THROW(layout.fixed(4, 4), JetError);
}

TEST(RowLayout, RefusesTrailersThatDoNotFit) {
    const Location where{"data page", 5, 2};
    EXPECT_THROW(RowLayout(hex("03"), where, true), JetError);
    EXPECT_THROW(RowLayout(hex("40 00 00"), where, false), JetError);       // 8-byte mask
    EXPECT_THROW(RowLayout(hex("01 00 50 00 01"), where, true), JetError);  // 80 var columns
    // The last column ends at an end of data beyond the data area.
    const Bytes8 badEnd = hex("01 00 aa ff 00 02 00 01 00 01");
    EXPECT_THROW(RowLayout(badEnd, where, true).variable(0), JetError);
    // Offsets running backwards.
    const Bytes8 backwardsRow = hex("02 00 aa bb 04 00 02 00 04 00 02 00 03");
    const RowLayout backwards(backwardsRow, where, true);
    EXPECT_THROW(backwards.variable(0), JetError);
}

// A database image of header page + `pages` further pages.
Bytes8 imageWith(std::vector<Bytes8> pages) {
    Bytes8 image = encodeHeaderPage(HeaderPage{});
    for (auto& page : pages) {
        page.resize(layout::kPageSize, 0);
        image.insert(image.end(), page.begin(), page.end());
    }
    return image;
}

TEST(UsageMap, InlineAndReferenceMaps) {
    Bytes8 mapPage(layout::kPageSize, 0);
    mapPage[0] = layout::page_type::kUsageMap;
    mapPage[1] = layout::kPageMarker;
    mapPage[4] = 0x05;  // pages 0 and 2 of the first window
    const auto file = DatabaseFile::fromBytes(imageWith({mapPage}), "maps");
    const Location where{"data page", 1, 0};

    const auto inlineMap = decodeUsageMap(hex("00 10 00 00 00 81 00 01"), *file, where);
    EXPECT_EQ(inlineMap, (std::vector<std::uint32_t>{16, 23, 32}));

    const auto reference = decodeUsageMap(hex("01 00 00 00 00 01 00 00 00"), *file, where);
    EXPECT_EQ(reference, (std::vector<std::uint32_t>{32736, 32738}));

    EXPECT_THROW(
        decodeUsageMap(hex("01 00 00 00 00 00 00 00 00 00 00 00 00 05 00 00 00"), *file, where),
        JetError);  // map page beyond the file
    EXPECT_THROW(decodeUsageMap(hex("07"), *file, where), JetError);
    EXPECT_THROW(decodeUsageMap(hex("00 01"), *file, where), JetError);
}

}  // namespace
}  // namespace norvessa::jet
