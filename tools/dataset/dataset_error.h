#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace norvessa::dataset {

// Any fault in the data set file: it cannot be read, or its text breaks the CSV or column rules.
// The message names the file and, where there is one, the line ("flash_data.csv line 812: ...").
class DatasetError : public std::runtime_error {
  public:
    explicit DatasetError(const std::string& message) : std::runtime_error(message) {}
};

// "<source> line <line>: <detail>"
DatasetError errorAtLine(std::string_view source, std::size_t line, std::string_view detail);

}  // namespace norvessa::dataset
