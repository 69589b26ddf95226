#include "platform/jet/catalog.h"

#include "platform/jet/byte_cursor.h"
#include "platform/jet/stored_table.h"

namespace norvessa::jet {
namespace {

std::size_t findColumn(const TableDefinition& definition, std::string_view name, ColumnType type) {
    for (std::size_t i = 0; i < definition.columns.size(); ++i) {
        if (definition.columns[i].name == name) {
            if (definition.columns[i].type != type) {
                throwCorrupt(Location{"table definition", definition.definitionPage, std::nullopt},
                             "MSysObjects column " + std::string(name) + " has an unexpected type");
            }
            return i;
        }
    }
    throwCorrupt(Location{"table definition", definition.definitionPage, std::nullopt},
                 "MSysObjects has no column " + std::string(name));
}

template <class T>
T valueOr(const Value& value, T fallback) {
    const T* held = std::get_if<T>(&value);
    return held != nullptr ? *held : fallback;
}

// MSysObjects and where its four columns are.
struct Objects {
    StoredTable table;
    std::size_t id, name, type, flags;
};

Objects loadObjects(const DatabaseFile& file, ReadFindings& findings) {
    return withFileName(file, [&] {
        StoredTable table =
            loadStoredTable(file, layout::catalog::kDefinitionPage, "MSysObjects", findings);
        const auto& definition = table.definition;
        const std::size_t id = findColumn(definition, "Id", ColumnType::Long);
        const std::size_t name = findColumn(definition, "Name", ColumnType::Text);
        const std::size_t type = findColumn(definition, "Type", ColumnType::Integer);
        const std::size_t flags = findColumn(definition, "Flags", ColumnType::Long);
        return Objects{std::move(table), id, name, type, flags};
    });
}

CatalogEntry entryOf(const RowView& row, const Objects& objects) {
    CatalogEntry entry;
    entry.id = static_cast<std::uint32_t>(valueOr<std::int32_t>(row.value(objects.id), 0));
    entry.name = valueOr<std::string>(row.value(objects.name), {});
    entry.type = valueOr<std::int16_t>(row.value(objects.type), 0);
    entry.flags = static_cast<std::uint32_t>(valueOr<std::int32_t>(row.value(objects.flags), 0));
    return entry;
}

}  // namespace

std::vector<CatalogEntry> readCatalog(const DatabaseFile& file, ReadFindings& findings) {
    const Objects objects = loadObjects(file, findings);
    std::vector<CatalogEntry> entries;
    scanStoredTable(file, objects.table, findings, [&](const RowView& row) {
        entries.push_back(entryOf(row, objects));
        return ScanControl::Continue;
    });
    return entries;
}

std::optional<CatalogEntry> findTable(const DatabaseFile& file, std::string_view name,
                                      ReadFindings& findings) {
    const Objects objects = loadObjects(file, findings);
    const TextKey key(name);
    std::optional<CatalogEntry> found;
    scanStoredTable(file, objects.table, findings, [&](const RowView& row) {
        if (!row.textEquals(objects.name, key)) {
            return ScanControl::Continue;
        }
        CatalogEntry entry = entryOf(row, objects);
        if (!entry.isTable()) {
            return ScanControl::Continue;
        }
        found = std::move(entry);
        return ScanControl::Stop;
    });
    return found;
}

}  // namespace norvessa::jet
