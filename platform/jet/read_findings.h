#pragma once

// What a read turns up that the caller should hear of without the read failing, and which
// program wrote the file, which decides whether such a fact means damage. The engine only
// gathers these; the program that reads prints them as it sees fit.

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace norvessa::jet {

enum class WrittenBy {
    // Our writer: it records exact row counts, so a count that differs from the rows found
    // means rows were lost (a live row flagged deleted) and the file is refused; so is any
    // column definition the column checks find fault with.
    ThisProgram,
    // Access and other tools do not keep the recorded counts exact: a difference is reported
    // as a warning and every row is read, as for a column definition field reading does not
    // use.
    AnyProgram,
};

// A column definition that Jet does not write (see checkColumns).
struct ColumnDefect {
    std::string column;  // the column's name, UTF-8
    std::string problem;
    // The field is one reading does not use (a flag, a constant), so every value still reads
    // as stored; otherwise the values cannot be trusted.
    bool rowsReadExactly = false;
};

class ReadFindings {
  public:
    ReadFindings(WrittenBy writer, std::string fileName)
        : writer_(writer), fileName_(std::move(fileName)) {}
    ReadFindings(const ReadFindings&) = delete;
    ReadFindings& operator=(const ReadFindings&) = delete;

    // After a full scan: the rows found against the count the table's definition records.
    // Throws JetError(Corrupt) when they differ in a file this program wrote.
    void compareRowCount(const std::string& table, std::uint32_t definitionPage,
                         std::uint32_t found, std::uint32_t recorded);

    // The defects of a table's column definitions. Throws JetError(Corrupt) naming the table
    // and the column for the first defect that spoils values, and for any defect in a file
    // this program wrote; the others become warnings.
    void reportColumnDefects(const std::string& table, std::uint32_t definitionPage,
                             const std::vector<ColumnDefect>& defects);

    WrittenBy writer() const { return writer_; }

    // Each warning once, in the order first met, naming the file.
    std::vector<std::string> warnings() const;

  private:
    void warn(std::string warning);

    WrittenBy writer_;
    std::string fileName_;
    mutable std::mutex mutex_;
    std::vector<std::string> warnings_;
};

}  // namespace norvessa::jet
