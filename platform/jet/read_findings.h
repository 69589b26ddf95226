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
    // means rows were lost (a live row flagged deleted) and the file is refused.
    ThisProgram,
    // Access and other tools do not keep the recorded counts exact: a difference is reported
    // as a warning and every row is read.
    AnyProgram,
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

    // Each warning once, in the order first met, naming the file.
    std::vector<std::string> warnings() const;

  private:
    WrittenBy writer_;
    std::string fileName_;
    mutable std::mutex mutex_;
    std::vector<std::string> warnings_;
};

}  // namespace norvessa::jet
