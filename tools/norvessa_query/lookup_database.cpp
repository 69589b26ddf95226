#include "tools/norvessa_query/lookup_database.h"

#include "resources/database_image.h"

namespace norvessa::query {

std::string databasePassword(const DatabaseChoice& choice) {
    return choice.password.value_or(std::to_string(resources::kDatabasePassword));
}

jet::Database openLookupDatabase(const DatabaseChoice& choice) {
    if (choice.file) {
        return jet::Database::open(*choice.file, databasePassword(choice));
    }
    return jet::Database::fromBytes(resources::loadDatabaseImage(), databasePassword(choice),
                                    "the embedded lookup database");
}

}  // namespace norvessa::query
