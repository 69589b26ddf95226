#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/jet/errors.h"
#include "platform/jet/index_key.h"
#include "platform/jet/index_pages.h"
#include "tests/jet_writer/writer_test_support.h"

namespace norvessa::jet {
namespace {

constexpr std::uint32_t kTableDefinitionPage = 8;

std::vector<IndexEntry> longEntries(std::size_t count) {
    std::vector<IndexEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        IndexEntry entry;
        appendIntegerKeySegment(entry.key, ColumnType::Long, static_cast<std::int32_t>(i) - 500);
        entry.dataPage = 0x100 + static_cast<std::uint32_t>(i / 20);
        entry.dataRow = static_cast<std::uint8_t>(i % 20);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The tree's pages placed from `firstPage`, and a walk over them.
testing::IndexWalk walkEncoded(const IndexTree& tree, std::uint32_t firstPage) {
    const std::vector<PageBytes> pages = tree.encode(firstPage, kTableDefinitionPage);
    EXPECT_EQ(pages.size(), tree.pageCount());
    const testing::PageSource source = [&](std::uint32_t number) {
        return std::span<const std::uint8_t>(pages.at(number - firstPage));
    };
    return testing::walkIndex(source, firstPage, kTableDefinitionPage);
}

std::vector<IndexEntry> asEntries(const std::vector<DecodedIndexEntry>& decoded) {
    std::vector<IndexEntry> entries;
    for (const DecodedIndexEntry& entry : decoded) {
        entries.push_back({entry.key, entry.dataPage, entry.dataRow});
    }
    return entries;
}

TEST(IndexPages, AnEmptyIndexIsOneEmptyLeaf) {
    const IndexTree tree({});
    ASSERT_EQ(tree.pageCount(), 1U);
    const PageBytes page = tree.encode(50, kTableDefinitionPage).front();
    const DecodedIndexPage decoded = decodeIndexPage(page, 50);
    EXPECT_EQ(decoded.pageType, 0x04);
    EXPECT_EQ(decoded.freeSpace, 3616);
    EXPECT_EQ(decoded.tableDefinitionPage, kTableDefinitionPage);
    EXPECT_EQ(decoded.previousPage | decoded.nextPage | decoded.tailPage, 0U);
    EXPECT_TRUE(decoded.entries.empty());
    EXPECT_TRUE(std::all_of(page.begin() + 27, page.begin() + 480, [](auto b) { return b == 0; }));
}

TEST(IndexPages, ALeafMarksWhereEachEntryEnds) {
    std::vector<IndexEntry> entries = longEntries(3);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].key.clear();
        appendIntegerKeySegment(entries[i].key, ColumnType::Long, static_cast<std::int32_t>(i + 1));
        entries[i].dataPage = 0x40;
        entries[i].dataRow = static_cast<std::uint8_t>(i);
    }
    const PageBytes page = IndexTree(entries).encode(9, kTableDefinitionPage).front();
    // Three entries of 9 bytes end at bits 9, 18 and 27 of the bitmap.
    EXPECT_EQ(std::vector<std::uint8_t>(page.begin() + 27, page.begin() + 31),
              (std::vector<std::uint8_t>{0x00, 0x02, 0x04, 0x08}));
    EXPECT_EQ(std::vector<std::uint8_t>(page.begin() + 0x1E0, page.begin() + 0x1E9),
              (std::vector<std::uint8_t>{0x7F, 0x80, 0x00, 0x00, 0x01, 0x00, 0x00, 0x40, 0x00}));
    const DecodedIndexPage decoded = decodeIndexPage(page, 9);
    EXPECT_EQ(decoded.freeSpace, 4096 - 0x1E0 - 27);
    EXPECT_EQ(asEntries(decoded.entries), entries);
}

TEST(IndexPages, ManyEntriesSplitIntoChainedLeavesUnderNodePages) {
    // 401 nine-byte entries fill a leaf; 280 leaves need two node pages under a root, and the
    // split must not leave the second node with a lone tail child.
    const std::vector<IndexEntry> entries = longEntries(279 * 401 + 1);
    const IndexTree tree(entries);
    const testing::IndexWalk walk = walkEncoded(tree, 1000);
    EXPECT_EQ(walk.levels, 3U);
    EXPECT_EQ(walk.pages.size(), tree.pageCount());
    EXPECT_EQ(asEntries(walk.entries), entries);
}

TEST(IndexPages, AnEntryTooLongForAPageIsRefused) {
    IndexEntry entry;
    entry.key.assign(1805, 0x41);
    try {
        IndexTree tree({entry});
        FAIL() << "no exception";
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Unsupported);
    }
}

TEST(IndexPages, DamagedPagesAreReportedWithThePage) {
    const PageBytes good = IndexTree(longEntries(10)).encode(12, kTableDefinitionPage).front();
    const auto expectCorrupt = [](const PageBytes& page, const char* what) {
        try {
            decodeIndexPage(page, 12);
            ADD_FAILURE() << what << ": no exception";
        } catch (const JetError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Corrupt) << what;
            EXPECT_NE(std::string(error.what()).find("index page 12"), std::string::npos)
                << error.what();
        }
    };
    PageBytes wrongType = good;
    wrongType[0] = 0x01;
    expectCorrupt(wrongType, "wrong page type");
    expectCorrupt(PageBytes(good.begin(), good.begin() + 100), "truncated page");
    PageBytes pastEnd = good;
    pastEnd[27 + 452] |= 0x80;  // an entry ending beyond the page
    expectCorrupt(pastEnd, "entry past the page end");
    PageBytes shortEntry = good;
    std::fill(shortEntry.begin() + 27, shortEntry.begin() + 480, 0);
    shortEntry[27] = 0x04;  // a 2-byte entry cannot hold a row location
    expectCorrupt(shortEntry, "entry shorter than its pointer");
}

}  // namespace
}  // namespace norvessa::jet
