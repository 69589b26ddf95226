#pragma once

#include <string>
#include <vector>

#include "tools/dataset/flash_dataset.h"

namespace norvessa::dataset::test {

inline const std::string kShippedDatasetPath =
    std::string(NORVESSA_SOURCE_DIR) + "/resources/flash_data.csv";

// The shipped data set, read once per test program.
inline const std::vector<FlashRecord>& shippedRecords() {
    static const std::vector<FlashRecord> records = readFlashDataset(kShippedDatasetPath);
    return records;
}

}  // namespace norvessa::dataset::test
