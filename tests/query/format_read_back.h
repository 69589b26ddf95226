#pragma once

// Reads the CSV or JSON the program wrote with Python's csv and json modules (read_back.py)
// and gives back the lines that script prints, together with the lines a faithful writer of
// the same result would make them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>

#include "norvessa_query/lookups.h"
#include "process_run.h"

namespace norvessa::query::testing {

inline std::string hexOf(std::string_view text) {
    std::ostringstream hex;
    for (const char character : text) {
        hex << std::hex << std::setw(2) << std::setfill('0')
            << static_cast<int>(static_cast<unsigned char>(character));
    }
    return hex.str();
}

inline std::string expectedCsvLines(const ResultTable& result) {
    std::string lines;
    auto addLine = [&lines](const auto& fields, auto textOf) {
        std::string line;
        for (const auto& field : fields) {
            line += (line.empty() ? "s:" : " s:") + hexOf(textOf(field));
        }
        lines += line + "\n";
    };
    addLine(result.columns, [](const std::string& name) { return name; });
    for (const auto& row : result.rows) {
        addLine(row, [](const Cell& cell) { return cell.text; });
    }
    return lines;
}

inline std::string expectedJsonLines(const ResultTable& result) {
    std::string keys;
    for (const auto& name : result.columns) {
        keys += (keys.empty() ? "k:" : " k:") + hexOf(name);
    }
    std::string lines;
    for (const auto& row : result.rows) {
        std::string values;
        for (const auto& cell : row) {
            values += values.empty() ? "" : " ";
            switch (cell.kind) {
                case Cell::Kind::Integer:
                    values += "i:" + cell.text;
                    break;
                case Cell::Kind::Null:
                    values += "n:";
                    break;
                case Cell::Kind::Text:
                    values += "s:" + hexOf(cell.text);
                    break;
            }
        }
        lines += keys + "\n" + values + "\n";
    }
    return lines;
}

// Runs read_back.py over `written`; fails the test when Python refuses the text.
inline std::string readBackWithPython(std::string_view kind, const std::string& written,
                                      const std::filesystem::path& folder) {
    const auto file = folder / "written.txt";
    std::ofstream(file, std::ios::binary) << written;
    const ProcessResult run =
        runProcess("python3",
                   {std::string(NORVESSA_SOURCE_DIR) + "/tests/query/read_back.py",
                    std::string(kind), file.string()},
                   folder);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    return run.out;
}

}  // namespace norvessa::query::testing
