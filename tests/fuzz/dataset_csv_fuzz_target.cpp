// libFuzzer entry for the data set's CSV reader. Any bytes must parse or be refused with a
// DatasetError. Parsed records, written back with every field quoted, must parse to the same
// fields, and their line numbers must rise from 1.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/dataset/csv_reader.h"
#include "tools/dataset/dataset_error.h"

namespace {

std::string writtenBack(const std::vector<norvessa::dataset::CsvRecord>& records) {
    std::string text;
    for (const auto& record : records) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            text += i == 0 ? "\"" : ",\"";
            for (const char c : record.fields[i]) {
                text += c == '"' ? std::string("\"\"") : std::string(1, c);
            }
            text += '"';
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvessa::dataset;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<CsvRecord> records = parseCsv(text, "fuzz.csv");
        std::size_t previousLine = 0;
        for (const CsvRecord& record : records) {
            if (record.fields.empty() || record.line <= previousLine) {
                std::abort();
            }
            previousLine = record.line;
        }
        const std::vector<CsvRecord> again = parseCsv(writtenBack(records), "written back");
        if (again.size() != records.size()) {
            std::abort();
        }
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (again[i].fields != records[i].fields) {
                std::abort();
            }
        }
    } catch (const DatasetError&) {
        // A refused input is a correct outcome.
    }
    return 0;
}
