#include "tools/norvessa_query/result_table.h"

#include <cstdint>
#include <type_traits>
#include <variant>

namespace norvessa::query {

Cell Cell::fromValue(const jet::Value& value) {
    return std::visit(
        [&value](const auto& held) -> Cell {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return {Kind::Null, {}};
            } else if constexpr (std::is_same_v<Held, std::uint8_t> ||
                                 std::is_same_v<Held, std::int16_t> ||
                                 std::is_same_v<Held, std::int32_t>) {
                return fromInteger(held);
            } else {
                return fromText(jet::toText(value));
            }
        },
        value);
}

}  // namespace norvessa::query
