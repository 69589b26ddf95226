#pragma once

// Read access to a Jet 4.0 (Access 2000) database file: open, verify the password, find a
// table in the catalog, and scan its rows.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/read_findings.h"
#include "platform/jet/schema.h"
#include "platform/jet/value.h"

namespace norvessa::jet {

class DatabaseFile;  // the file's bytes and decoded header; defined by the reader
struct StoredTable;  // a table's schema and storage details; defined by the reader

// How a text value is compared with a literal. As Jet compares text, letter case is ignored
// and trailing blanks (of the value and of the literal) do not count.
enum class TextMatch {
    Equals,
    StartsWith,  // the value begins with the literal
};

// A text literal prepared once for Jet's text comparison: letter case is ignored and trailing
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
    // The same for a prefix: whether the text begins with the key.
    virtual bool textStartsWith(std::size_t position, const TextKey& prefix) const = 0;
    // Whether the text holds the key anywhere, letter case ignored.
    virtual bool textContains(std::size_t position, const TextKey& key) const = 0;

    bool textMatches(std::size_t position, const TextKey& key, TextMatch match) const {
        return match == TextMatch::Equals ? textEquals(position, key)
                                          : textStartsWith(position, key);
    }
};

enum class ScanControl { Continue, Stop };

// One entry of an index on a text column, met during Table::walkTextIndex.
class IndexedRow {
  public:
    virtual ~IndexedRow() = default;
    // The indexed text as the key holds it (upper case, without trailing blanks), when every
    // character of the value has a key code that reads back; none otherwise.
    virtual const std::optional<std::string>& keyText() const = 0;
    // Where the row is stored (page << 8 | row): ordering rows by it gives the order a scan
    // visits them in.
    virtual std::uint32_t rowPointer() const = 0;
    // Reads the row the entry points to and hands it to `use`.
    virtual void readRow(const std::function<void(const RowView&)>& use) const = 0;
};

// What a walk over an index does after an entry: go on to the next, leave out every following
// entry whose text starts with `prefix` (blanks at its end included), leave out every following
// entry with the same key as this one, or stop.
struct IndexWalkStep {
    enum class Kind { Next, SkipPast, SkipSameKey, Stop };
    Kind kind = Kind::Next;
    std::string prefix;
};

class Table {
  public:
    const TableDefinition& definition() const;
    // Visits every live row: pages in the order the table's usage map lists them, rows in slot
    // order; a moved row is visited where its overflow pointer stands. Errors raised while
    // scanning, by the visitor's RowView calls too, name the file. A scan that runs to the end
    // compares the rows with the recorded count (see WrittenBy).
    void scan(const std::function<ScanControl(const RowView&)>& visit) const;

    // Visits the rows whose text column at `position` matches `text`. When an index starts
    // with that column and the text has a key, the index is searched and rows come in index
    // order; otherwise the table is scanned. Either way exactly the matching rows are visited.
    void findText(std::size_t position, TextMatch match, std::string_view text,
                  const std::function<ScanControl(const RowView&)>& visit) const;
    // Whether findText would search an index for this column and text.
    bool seeksText(std::size_t position, std::string_view text) const;

    // Walks the entries of an index that starts with the text column at `position`, in key
    // order, from the first entry with a value. Returns false, visiting nothing, when there is
    // no such index. A prefix to skip that has no key is not skipped.
    bool walkTextIndex(std::size_t position,
                       const std::function<IndexWalkStep(const IndexedRow&)>& visit) const;

  private:
    friend class Database;
    Table(std::shared_ptr<const DatabaseFile> file, std::shared_ptr<const StoredTable> stored,
          std::shared_ptr<ReadFindings> findings);
    std::shared_ptr<const DatabaseFile> file_;
    std::shared_ptr<const StoredTable> stored_;
    std::shared_ptr<ReadFindings> findings_;
};

class Database {
  public:
    // Opens the file and checks the password (ignored when the file has none). `writer` says
    // whether a row count that differs from the rows found is damage. Throws JetError.
    static Database open(const std::filesystem::path& file, std::string_view password,
                         WrittenBy writer = WrittenBy::AnyProgram);
    // An image compiled into the program, read where it lies.
    static Database fromStaticImage(std::span<const std::uint8_t> image, std::string_view password,
                                    std::string displayName,
                                    WrittenBy writer = WrittenBy::AnyProgram);
    // The same for a database image held in memory (the program's embedded image, tests).
    static Database fromBytes(std::vector<std::uint8_t> image, std::string_view password,
                              std::string displayName = "database image",
                              WrittenBy writer = WrittenBy::AnyProgram);

    const DatabaseHeader& header() const;
    // What reads so far found worth telling without failing (a row count the file's writer
    // did not keep exact), each once, naming the file; for the caller to print.
    std::vector<std::string> warnings() const;
    std::vector<std::string> tableNames(bool includeSystemTables = false) const;
    // Letter case of the name does not matter. Throws JetError (kind NotFound) when absent.
    Table table(std::string_view name) const;

  private:
    Database(std::shared_ptr<const DatabaseFile> file, std::string_view password, WrittenBy writer);
    std::shared_ptr<const DatabaseFile> file_;
    std::shared_ptr<ReadFindings> findings_;
    DatabaseHeader header_;
};

}  // namespace norvessa::jet
