#include "tools/dataset/dataset_error.h"

namespace norvessa::dataset {

DatasetError errorAtLine(std::string_view source, std::size_t line, std::string_view detail) {
    std::string message(source);
    message += " line ";
    message += std::to_string(line);
    message += ": ";
    message += detail;
    return DatasetError(message);
}

}  // namespace norvessa::dataset
