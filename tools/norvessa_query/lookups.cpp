#include "tools/norvessa_query/lookups.h"

#include <stdexcept>

#include "tools/norvessa_query/exact_lookup.h"
#include "tools/norvessa_query/id_bytes.h"
#include "tools/norvessa_query/lookup_database.h"
#include "tools/norvessa_query/lookup_table.h"
#include "tools/norvessa_query/scan_lookups.h"
#include "tools/norvessa_query/typed_input.h"

namespace norvessa::query {

LookupInput prepareLookupInput(LookupMode mode, std::string_view typed) {
    switch (mode) {
        case LookupMode::ExactModel:
            return {mode, modelKey(typed), {}};
        case LookupMode::ModelPrefix:
            return {mode, std::string(requireNonBlank(typed, "--prefix")), {}};
        case LookupMode::IdBytes:
            return {mode, {}, parseTypedIdBytes(typed)};
        case LookupMode::Controller:
            return {mode, std::string(requireNonBlank(typed, "--controller")), {}};
    }
    throw std::logic_error("unknown lookup mode");
}

ResultTable runLookup(const jet::Database& database, const LookupInput& input) {
    switch (input.mode) {
        case LookupMode::ExactModel:
            return lookUpExactModel(database, input.text);
        case LookupMode::ModelPrefix:
            return lookUpByModelPrefix(database.table(kLookupTable), input.text);
        case LookupMode::IdBytes:
            return lookUpByIdBytes(database.table(kLookupTable), input.idBytes);
        case LookupMode::Controller:
            return lookUpByController(database.table(kLookupTable), input.text);
    }
    throw std::logic_error("unknown lookup mode");
}

ResultTable runLookup(const QueryRequest& request) {
    const LookupInput input = prepareLookupInput(request.mode, request.text);
    return runLookup(openLookupDatabase(request.database), input);
}

}  // namespace norvessa::query
