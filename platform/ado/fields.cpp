#include "platform/ado/fields.h"

#include "platform/ado/recordset.h"

namespace norvessa::ado {

Field Fields::Item(std::int16_t ordinal) const {
    return Field(recordset_->currentValue(ordinal));
}

}  // namespace norvessa::ado
