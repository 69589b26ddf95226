// libFuzzer entry for the database reader: any bytes, read as a database image, must either
// read completely or be refused with a JetError; never crash, hang or read out of bounds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/errors.h"

// The password of the seed databases (jet_reader_seeds); other inputs are refused early.
static constexpr const char* kSeedPassword = "12345678";

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvessa::jet;
    try {
        const Database database = Database::fromBytes(std::vector<std::uint8_t>(data, data + size),
                                                      kSeedPassword, "fuzz input");
        const TextKey key("K9HCG08U5M");
        for (const std::string& name : database.tableNames(true)) {
            const Table table = database.table(name);
            const std::size_t columns = table.definition().columns.size();
            table.scan([&](const RowView& row) {
                for (std::size_t i = 0; i < columns; ++i) {
                    toText(row.value(i));
                    row.textEquals(i, key);
                }
                return ScanControl::Continue;
            });
        }
    } catch (const JetError&) {
        // A refused input is a correct outcome.
    }
    return 0;
}
