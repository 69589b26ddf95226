// jet_inspect: a look inside a Jet 4 database file.
//
//   jet_inspect [-p PASSWORD] FILE header        the header, unmasked
//   jet_inspect [-p PASSWORD] FILE tables        tables, system tables included
//   jet_inspect [-p PASSWORD] FILE schema TABLE  columns and indexes
//   jet_inspect [-p PASSWORD] FILE rows TABLE [LIMIT]
//   jet_inspect FILE page N                       one page, field by field

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "page_dump.h"
#include "platform/jet/database.h"
#include "platform/jet/database_file.h"
#include "platform/jet/errors.h"

namespace {

using namespace norvessa::jet;

constexpr const char* kUsage =
    "usage: jet_inspect [-p PASSWORD] FILE header|tables|schema TABLE|rows TABLE [LIMIT]|page N\n";

const char* typeName(ColumnType type) {
    switch (type) {
        case ColumnType::Boolean:
            return "boolean";
        case ColumnType::Byte:
            return "byte";
        case ColumnType::Integer:
            return "integer";
        case ColumnType::Long:
            return "long";
        case ColumnType::Currency:
            return "currency";
        case ColumnType::Single:
            return "single";
        case ColumnType::Double:
            return "double";
        case ColumnType::DateTime:
            return "date/time";
        case ColumnType::Binary:
            return "binary";
        case ColumnType::Text:
            return "text";
        case ColumnType::Ole:
            return "OLE";
        case ColumnType::Memo:
            return "memo";
        case ColumnType::Guid:
            return "GUID";
        case ColumnType::Numeric:
            return "numeric";
    }
    return "other";
}

void printHeader(const Database& database) {
    const DatabaseHeader& header = database.header();
    std::cout << "format:        Jet 4.0 (version " << header.jetVersion << ")\n"
              << "code page:     " << header.codePage << "\n"
              << "sort order:    " << header.sortOrder << "\n"
              << "created:       " << toText(DateTime{header.creationDate}) << " ("
              << header.creationDate << ")\n"
              << "password:      " << (header.password ? "\"" + *header.password + "\"" : "none")
              << "\n";
}

void printSchema(const Table& table) {
    const TableDefinition& definition = table.definition();
    std::cout << "table " << definition.name << " (definition page " << definition.definitionPage
              << ", " << definition.rowCount << " rows recorded, last auto-number "
              << definition.autoNumberLast << ")\n";
    for (const Column& column : definition.columns) {
        std::cout << "  " << column.number << "  " << column.name << "  " << typeName(column.type)
                  << " length " << column.length << (column.fixedLength ? " fixed" : "")
                  << (column.autoNumber ? " auto-number" : "")
                  << (column.compressedUnicode ? " compressed" : "") << " sort " << column.sortOrder
                  << "\n";
    }
    for (const Index& index : definition.indexes) {
        std::cout << "  index " << index.name << (index.primaryKey ? " primary key" : "")
                  << (index.unique ? " unique" : "") << " on";
        for (const IndexColumn& column : index.columns) {
            std::cout << " " << column.columnNumber << (column.ascending ? "" : " desc");
        }
        std::cout << "\n";
    }
}

void printRows(const Table& table, std::size_t limit) {
    const auto& columns = table.definition().columns;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        std::cout << (i == 0 ? "" : "\t") << columns[i].name;
    }
    std::cout << "\n";
    std::size_t shown = 0;
    table.scan([&](const RowView& row) {
        if (shown == limit) {
            return ScanControl::Stop;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Value value = row.value(i);
            std::cout << (i == 0 ? "" : "\t") << (isNull(value) ? "NULL" : toText(value));
        }
        std::cout << "\n";
        ++shown;
        return ScanControl::Continue;
    });
}

int run(const std::vector<std::string>& args) {
    std::string password;
    std::size_t next = 0;
    if (args.size() >= 2 && args[0] == "-p") {
        password = args[1];
        next = 2;
    }
    if (args.size() < next + 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string& file = args[next];
    const std::string& command = args[next + 1];
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(next + 2),
                                        args.end());
    if (command == "page" && rest.size() == 1) {
        const auto opened = DatabaseFile::open(file);
        try {
            norvessa::jet::inspect::dumpPage(
                *opened, static_cast<std::uint32_t>(std::stoul(rest[0])), std::cout);
        } catch (const JetError& error) {
            throw JetError(error.kind(), opened->displayName() + ": " + error.what());
        }
        return 0;
    }
    const Database database = Database::open(file, password);
    if (command == "header" && rest.empty()) {
        printHeader(database);
    } else if (command == "tables" && rest.empty()) {
        for (const std::string& name : database.tableNames(true)) {
            std::cout << name << "\n";
        }
    } else if (command == "schema" && rest.size() == 1) {
        printSchema(database.table(rest[0]));
    } else if (command == "rows" && (rest.size() == 1 || rest.size() == 2)) {
        printRows(database.table(rest[0]), rest.size() == 2 ? std::stoul(rest[1]) : SIZE_MAX);
    } else {
        std::cerr << kUsage;
        return 2;
    }
    for (const std::string& warning : database.warnings()) {
        std::cerr << "jet_inspect: warning: " << warning << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const JetError& error) {
        std::cerr << "jet_inspect: " << error.what() << "\n";
    } catch (const std::logic_error& error) {  // a page number or limit that is not a number
        std::cerr << "jet_inspect: not a number (" << error.what() << ")\n" << kUsage;
    }
    return 1;
}
