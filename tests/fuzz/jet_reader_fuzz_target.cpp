// libFuzzer entry for the database reader: any bytes, read as a database image, must either
// read completely or be refused with a JetError; never crash, hang or read out of bounds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/errors.h"

// The passwords of the corpus seeds: the writer's seed databases, the Access fixtures and the
// program's own image. A file without a password opens with any of them; other passwords are
// refused early, so a mutant of a protected seed still reaches the pages.
static constexpr std::array<const char*, 3> kSeedPasswords{"12345678", "password", "58203746"};

static void readEverything(const norvessa::jet::Database& database) {
    using namespace norvessa::jet;
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
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace norvessa::jet;
    for (const char* password : kSeedPasswords) {
        try {
            readEverything(Database::fromBytes(std::vector<std::uint8_t>(data, data + size),
                                               password, "fuzz input"));
            return 0;
        } catch (const JetError& error) {
            // A refused input is a correct outcome; only a wrong password is worth a retry.
            if (error.kind() != ErrorKind::WrongPassword) {
                return 0;
            }
        }
    }
    return 0;
}
