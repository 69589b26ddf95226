#pragma once

// Read access to a Jet 4.0 (Access 2000) database file: open, verify the password, find a
// table in the catalog, and scan its rows.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/schema.h"
#include "platform/jet/value.h"

namespace norvessa::jet {

class DatabaseFile;  // the file's bytes and decoded header; defined by the reader
struct StoredTable;  // a table's schema and storage details; defined by the reader

// A text literal prepared once for Jet's text equality: letter case is ignored and trailing
// blanks on either side do not count.
class TextKey {
  public:
    explicit TextKey(std::string_view utf8);
    const std::u16string& folded() const { return folded_; }

  private:
    std::u16string folded_;
};

// One row during a scan. It is valid only inside the visitor call that received it.
class RowView {
  public:
    virtual ~RowView() = default;
    // position: index into TableDefinition::columns (table order).
    virtual Value value(std::size_t position) const = 0;
    // Jet's text equality against a prepared key, without building the whole value when the
    // stored bytes already decide it. A Null or non-text cell never equals.
    virtual bool textEquals(std::size_t position, const TextKey& key) const = 0;
};

enum class ScanControl { Continue, Stop };

class Table {
  public:
    const TableDefinition& definition() const;
    // Visits every live row: pages in the order the table's usage map lists them, rows in slot
    // order; a moved row is visited where its overflow pointer stands. Errors raised while
    // scanning, by the visitor's RowView calls too, name the file.
    void scan(const std::function<ScanControl(const RowView&)>& visit) const;

  private:
    friend class Database;
    Table(std::shared_ptr<const DatabaseFile> file, std::shared_ptr<const StoredTable> stored);
    std::shared_ptr<const DatabaseFile> file_;
    std::shared_ptr<const StoredTable> stored_;
};

class Database {
  public:
    // Opens the file and checks the password (ignored when the file has none). Throws JetError.
    static Database open(const std::filesystem::path& file, std::string_view password);
    // The same for a database image held in memory (the program's embedded image, tests).
    static Database fromBytes(std::vector<std::uint8_t> image, std::string_view password,
                              std::string displayName = "database image");

    const DatabaseHeader& header() const;
    std::vector<std::string> tableNames(bool includeSystemTables = false) const;
    // Letter case of the name does not matter. Throws JetError (kind NotFound) when absent.
    Table table(std::string_view name) const;

  private:
    explicit Database(std::shared_ptr<const DatabaseFile> file, std::string_view password);
    std::shared_ptr<const DatabaseFile> file_;
    DatabaseHeader header_;
};

}  // namespace norvessa::jet
