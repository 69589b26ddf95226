#include "platform/jet/system_tables.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/jet/layout.h"
#include "platform/jet/table_definition_encode.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace col = layout::tdef::column;
namespace ri = layout::tdef::real_index;

// Column flags as Access sets them on system tables: 0x10 (meaning unknown) on every column,
// 0x20 (meaning unknown) as well on the binary security-id columns.
constexpr std::uint8_t kSystemFixed =
    col::kFlagFixedLength | col::kFlagUpdatable | col::kFlagSystem;
constexpr std::uint8_t kSystemVariable = col::kFlagUpdatable | col::kFlagSystem;
constexpr std::uint8_t kSystemSecurityId = kSystemVariable | col::kFlagSecurityId;
constexpr std::uint8_t kAccessFixed = col::kFlagFixedLength | col::kFlagUpdatable;
constexpr std::uint8_t kAccessVariable = col::kFlagUpdatable;

constexpr std::uint16_t kLongTextLength = col::kMaxTextLength;  // TEXT(255), BINARY(510)

struct IndexSpec {
    std::u16string name;
    std::vector<std::uint16_t> columns;
    std::uint8_t flags = ri::kFlagAlwaysSet;
    bool primaryKey = false;
};

ColumnSpec column(std::u16string name, ColumnType type, std::uint16_t length, std::uint8_t flags) {
    return ColumnSpec{std::move(name), static_cast<std::uint8_t>(type), length, flags, 0};
}

TableContent makeTable(std::string name, std::uint8_t tableType, std::int32_t catalogFlags,
                       const std::vector<ColumnSpec>& columns,
                       const std::vector<IndexSpec>& indexes, std::uint16_t sortOrder) {
    TableContent table;
    table.name = std::move(name);
    table.catalogFlags = catalogFlags;
    table.definition.tableType = tableType;
    setColumns(table.definition, columns, sortOrder);
    for (const IndexSpec& index : indexes) {
        std::vector<IndexColumn> indexColumns;
        for (const std::uint16_t number : index.columns) {
            indexColumns.push_back({number, true});
        }
        addIndex(table.definition, index.name, std::move(indexColumns), index.flags,
                 index.primaryKey);
    }
    return table;
}

constexpr std::uint8_t kUnique = ri::kFlagAlwaysSet | ri::kFlagUnique;
constexpr std::uint8_t kPrimaryKey = ri::kFlagAlwaysSet | ri::kFlagUnique | ri::kFlagRequired;

// Catalog object ids and types.
constexpr std::int32_t kRootContainer = 0x0F000000;
constexpr std::int32_t kTablesContainer = 0x0F000001;
constexpr std::int32_t kDatabasesContainer = 0x0F000002;
constexpr std::int32_t kRelationshipsContainer = 0x0F000003;
constexpr std::int32_t kDatabaseObject = 0x10000000;
constexpr std::int32_t kFirstSyntheticId = std::numeric_limits<std::int32_t>::min();
constexpr std::int16_t kTypeTable = layout::catalog::kTypeTable;
constexpr std::int16_t kTypeDatabase = 2;
constexpr std::int16_t kTypeContainer = 3;
constexpr std::int16_t kTypePropertyDocument = -32757;
constexpr auto kEngineSystem = static_cast<std::int32_t>(layout::catalog::kFlagsEngineSystem);

// The owner of every object: what Jackcess writes when it finds no owner to copy, taken to be
// the default workgroup's Admin user. Access-made files store the ids masked with a per-file
// value we cannot reproduce.
const Bytes kOwner{0xA6, 0x33};

}  // namespace

std::vector<TableContent> systemTables(std::uint16_t sortOrder) {
    using T = ColumnType;
    const std::uint8_t system = layout::tdef::kTableTypeSystem;
    const std::uint8_t user = layout::tdef::kTableTypeUser;
    std::vector<TableContent> tables;
    tables.push_back(makeTable(
        std::string(kCatalogTableName), system, kEngineSystem,
        {column(u"Id", T::Long, 4, kSystemFixed), column(u"ParentId", T::Long, 4, kSystemFixed),
         column(u"Name", T::Text, kLongTextLength, kSystemVariable),
         column(u"Type", T::Integer, 2, kSystemFixed),
         column(u"DateCreate", T::DateTime, 8, kSystemFixed),
         column(u"DateUpdate", T::DateTime, 8, kSystemFixed),
         column(u"Owner", T::Binary, kLongTextLength, kSystemSecurityId),
         column(u"Flags", T::Long, 4, kSystemFixed),
         column(u"Database", T::Memo, 0, kSystemVariable),
         column(u"Connect", T::Memo, 0, kSystemVariable),
         column(u"ForeignName", T::Text, kLongTextLength, kSystemVariable),
         column(u"RmtInfoShort", T::Binary, kLongTextLength, kSystemVariable),
         column(u"RmtInfoLong", T::Ole, 0, kSystemVariable),
         column(u"Lv", T::Ole, 0, kSystemVariable), column(u"LvProp", T::Ole, 0, kSystemVariable),
         column(u"LvModule", T::Ole, 0, kSystemVariable),
         column(u"LvExtra", T::Ole, 0, kSystemVariable)},
        {{u"ParentIdName", {1, 2}, kUnique, false}, {u"Id", {0}, kUnique, true}}, sortOrder));
    tables.push_back(makeTable("MSysACEs", system, kEngineSystem,
                               {column(u"ObjectId", T::Long, 4, kSystemFixed),
                                column(u"SID", T::Binary, kLongTextLength, kSystemSecurityId),
                                column(u"ACM", T::Long, 4, kSystemFixed),
                                column(u"FInheritable", T::Boolean, 1, kSystemFixed)},
                               {{u"ObjectId", {0}, ri::kFlagAlwaysSet | ri::kFlagRequired, false}},
                               sortOrder));
    tables.push_back(makeTable("MSysQueries", system, kEngineSystem,
                               {column(u"ObjectId", T::Long, 4, kSystemFixed),
                                column(u"Attribute", T::Byte, 1, kSystemFixed),
                                column(u"Order", T::Binary, kLongTextLength, kSystemVariable),
                                column(u"Name1", T::Text, kLongTextLength, kSystemVariable),
                                column(u"Name2", T::Text, kLongTextLength, kSystemVariable),
                                column(u"Expression", T::Memo, 0, kSystemVariable),
                                column(u"Flag", T::Integer, 2, kSystemFixed),
                                column(u"LvExtra", T::Long, 4, kSystemFixed)},
                               {{u"ObjectIdAttribute", {0, 1, 2}, kUnique, true}}, sortOrder));
    const std::uint8_t ignoreNulls = ri::kFlagAlwaysSet | ri::kFlagIgnoreNulls;
    tables.push_back(makeTable(
        "MSysRelationships", system, kEngineSystem,
        {column(u"szRelationship", T::Text, kLongTextLength, kSystemVariable),
         column(u"grbit", T::Long, 4, kSystemFixed), column(u"ccolumn", T::Long, 4, kSystemFixed),
         column(u"icolumn", T::Long, 4, kSystemFixed),
         column(u"szObject", T::Text, kLongTextLength, kSystemVariable),
         column(u"szColumn", T::Text, kLongTextLength, kSystemVariable),
         column(u"szReferencedObject", T::Text, kLongTextLength, kSystemVariable),
         column(u"szReferencedColumn", T::Text, kLongTextLength, kSystemVariable)},
        {{u"szRelationship", {0}, ignoreNulls, false},
         {u"szObject", {4}, ignoreNulls, false},
         {u"szReferencedObject", {6}, ignoreNulls, false}},
        sortOrder));
    tables.push_back(makeTable("MSysAccessObjects", user,
                               static_cast<std::int32_t>(layout::catalog::kFlagsAccessSystem),
                               {ColumnSpec{u"Data", col::kTypeAccessObjectData,
                                           col::kAccessObjectDataLength, kAccessFixed, 0},
                                column(u"ID", T::Long, 4, kAccessVariable)},
                               {{u"AOIndex", {1}, kPrimaryKey, true}}, sortOrder));
    tables.push_back(makeTable("MSysAccessXML", user,
                               static_cast<std::int32_t>(layout::catalog::kFlagsAccessSystem),
                               {column(u"Id", T::Long, 4, kAccessVariable | col::kFlagAutoNumber),
                                column(u"ObjectGuid", T::Guid, 16, kAccessVariable),
                                column(u"ObjectName", T::Text, 130, kAccessVariable),
                                column(u"Property", T::Text, 130, kAccessVariable),
                                column(u"Value", T::Text, kLongTextLength, kAccessVariable),
                                column(u"LValue", T::Ole, 0, kAccessVariable)},
                               {{u"Id", {0}, kPrimaryKey, true},
                                {u"ObjectGuidProperty", {1, 3}, kUnique, false},
                                {u"ObjectNameProperty", {2, 3}, kUnique, false}},
                               sortOrder));
    return tables;
}

bool isSystemTableName(std::string_view name) {
    static constexpr std::array<std::string_view, 6> kNames{
        kCatalogTableName,   "MSysACEs",          "MSysQueries",
        "MSysRelationships", "MSysAccessObjects", "MSysAccessXML"};
    const std::u16string wanted = utf8ToUtf16(name);
    return std::any_of(kNames.begin(), kNames.end(), [&](std::string_view candidate) {
        return sameName(wanted, utf8ToUtf16(candidate));
    });
}

std::vector<std::vector<Value>> catalogRows(std::span<const CatalogTable> tables,
                                            double creationDate) {
    const DateTime created{creationDate};
    std::vector<std::vector<Value>> rows;
    auto add = [&](std::int32_t id, std::int32_t parent, std::string name, std::int16_t type,
                   std::int32_t flags, const std::vector<std::uint8_t>& properties) {
        std::vector<Value> row(17);
        row[0] = id;
        row[1] = parent;
        row[2] = std::move(name);
        row[3] = type;
        row[4] = created;
        row[5] = created;
        row[6] = kOwner;
        row[7] = flags;
        if (!properties.empty()) {
            row[14] = Bytes(properties);
        }
        rows.push_back(std::move(row));
    };
    const std::vector<std::uint8_t> none;
    add(kTablesContainer, kRootContainer, "Tables", kTypeContainer, kEngineSystem, none);
    add(kDatabasesContainer, kRootContainer, "Databases", kTypeContainer, kEngineSystem, none);
    add(kRelationshipsContainer, kRootContainer, "Relationships", kTypeContainer, kEngineSystem,
        none);
    add(kDatabaseObject, kDatabasesContainer, "MSysDb", kTypeDatabase, kEngineSystem, none);
    for (const CatalogTable& table : tables) {
        add(static_cast<std::int32_t>(table.definitionPage), kTablesContainer, table.name,
            kTypeTable, table.flags, table.properties);
    }
    // The containers and property documents Access adds to a new database, with ids counting
    // up from the smallest long.
    std::int32_t synthetic = kFirstSyntheticId;
    for (const char* name : {"SummaryInfo", "UserDefined"}) {
        add(synthetic++, kDatabasesContainer, name, kTypePropertyDocument, 0, none);
    }
    for (const char* name :
         {"Forms", "Reports", "Scripts", "Modules", "SysRel", "DataAccessPages"}) {
        add(synthetic++, kRootContainer, name, kTypeContainer, 0, none);
    }
    return rows;
}

}  // namespace norvessa::jet
