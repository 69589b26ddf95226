#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace norvessa::dataset {

struct CsvRecord {
    std::vector<std::string> fields;
    std::size_t line = 0;  // physical line (1-based) on which the record starts
};

// Splits RFC 4180 text into records. Fields may be quoted; a quoted field keeps commas, doubled
// quotes (as one quote), line breaks and blanks exactly. Records end with CR LF; a bare LF is
// accepted too, since editors sometimes save that way. A final line break is optional and does
// not start another record. Malformed text throws DatasetError naming `source` and the line:
// a quote that is never closed, text after a closing quote, a quote inside an unquoted field,
// and a carriage return outside quotes that no line feed follows.
std::vector<CsvRecord> parseCsv(std::string_view text, std::string_view source);

}  // namespace norvessa::dataset
