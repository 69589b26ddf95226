#pragma once

// Helpers for the writer's tests: tables to write, rows read back through our reader, and a walk
// over an index B-tree that checks its structure on the way.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/index_pages.h"
#include "platform/jet/writer.h"

namespace norvessa::jet::testing {

inline constexpr double kCreationDate = 45293.127835648;  // 2024-01-02 03:04:05

// A table shaped like the lookup table: `id` a long auto-number, then text(50) columns named
// t1, t2, ...; indexes PrimaryKey and id on id, "ix" on t1. Rows are added by the caller.
inline NewTable lookupShapedTable(const std::string& name, std::size_t textColumns) {
    NewTable table;
    table.name = name;
    table.columns.push_back({.name = "id", .type = ColumnType::Long, .autoNumber = true});
    for (std::size_t i = 1; i <= textColumns; ++i) {
        table.columns.push_back({.name = "t" + std::to_string(i), .type = ColumnType::Text});
    }
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true},
                     {.name = "id", .columns = {"id"}},
                     {.name = "ix", .columns = {"t1"}}};
    return table;
}

inline NewDatabase databaseWith(NewTable table, std::string password = "12345678") {
    NewDatabase database;
    database.password = std::move(password);
    database.creationDate = kCreationDate;
    database.tables.push_back(std::move(table));
    return database;
}

inline std::vector<std::vector<Value>> readRows(const Database& database, std::string_view name) {
    const Table table = database.table(name);
    std::vector<std::vector<Value>> rows;
    table.scan([&](const RowView& row) {
        std::vector<Value> values;
        for (std::size_t i = 0; i < table.definition().columns.size(); ++i) {
            values.push_back(row.value(i));
        }
        rows.push_back(std::move(values));
        return ScanControl::Continue;
    });
    return rows;
}

using PageSource = std::function<std::span<const std::uint8_t>(std::uint32_t)>;

// What a walk over an index found.
struct IndexWalk {
    std::vector<DecodedIndexEntry> entries;  // leaf entries, first to last
    std::vector<std::uint32_t> pages;        // every page of the tree, root first
    std::size_t levels = 0;
};

inline DecodedIndexEntry lastLeafEntry(const PageSource& page, std::uint32_t number) {
    const DecodedIndexPage decoded = decodeIndexPage(page(number), number);
    if (decoded.pageType == 0x03) {
        return lastLeafEntry(page, decoded.tailPage);
    }
    return decoded.entries.empty() ? DecodedIndexEntry{} : decoded.entries.back();
}

// Walks the tree from `root` level by level, checking that each level is a chain from its first
// to its last page of one page type, that node entries copy the last leaf entry below their
// child, that every page names the owning table and that the leaf entries ascend strictly.
inline IndexWalk walkIndex(const PageSource& page, std::uint32_t root,
                           std::uint32_t tableDefinitionPage) {
    IndexWalk walk;
    std::vector<std::uint32_t> level{root};
    while (!level.empty()) {
        ++walk.levels;
        std::vector<std::uint32_t> below;
        std::optional<std::uint8_t> levelType;
        for (std::size_t k = 0; k < level.size(); ++k) {
            const DecodedIndexPage decoded = decodeIndexPage(page(level[k]), level[k]);
            walk.pages.push_back(level[k]);
            EXPECT_EQ(decoded.tableDefinitionPage, tableDefinitionPage);
            EXPECT_EQ(decoded.previousPage, k > 0 ? level[k - 1] : 0U) << "page " << level[k];
            EXPECT_EQ(decoded.nextPage, k + 1 < level.size() ? level[k + 1] : 0U)
                << "page " << level[k];
            EXPECT_EQ(decoded.pageType, levelType.value_or(decoded.pageType))
                << "page " << level[k];
            levelType = decoded.pageType;
            if (decoded.pageType == 0x04) {
                EXPECT_EQ(decoded.tailPage, 0U);
                walk.entries.insert(walk.entries.end(), decoded.entries.begin(),
                                    decoded.entries.end());
                continue;
            }
            EXPECT_FALSE(decoded.entries.empty()) << "node page " << level[k];
            for (const DecodedIndexEntry& entry : decoded.entries) {
                const DecodedIndexEntry last = lastLeafEntry(page, *entry.childPage);
                EXPECT_EQ(entry.key, last.key) << "node page " << level[k];
                EXPECT_EQ(entry.dataPage, last.dataPage);
                EXPECT_EQ(entry.dataRow, last.dataRow);
                below.push_back(*entry.childPage);
            }
            below.push_back(decoded.tailPage);
        }
        level = std::move(below);
    }
    for (std::size_t i = 1; i < walk.entries.size(); ++i) {
        const IndexEntry previous{walk.entries[i - 1].key, walk.entries[i - 1].dataPage,
                                  walk.entries[i - 1].dataRow};
        const IndexEntry current{walk.entries[i].key, walk.entries[i].dataPage,
                                 walk.entries[i].dataRow};
        EXPECT_TRUE(indexEntryPrecedes(previous, current)) << "entries " << i - 1 << " and " << i;
    }
    return walk;
}

}  // namespace norvessa::jet::testing
