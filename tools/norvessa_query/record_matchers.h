#pragma once

// Row predicates for the lookups that the windows program does not have. Each is prepared
// once from the table's definition and the normalised input (typed_input.h, id_bytes.h), then
// asked for every row of a scan.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/schema.h"

namespace norvessa::query {

// Models that start with the prefix, letter case ignored as in the engine's text equality.
class ModelPrefixMatcher {
  public:
    ModelPrefixMatcher(const jet::TableDefinition& table, std::string_view prefix);
    bool matches(const jet::RowView& row) const;

  private:
    std::size_t modelPosition_;
    std::u16string foldedPrefix_;
};

// ID bytes that begin with the wanted bytes (see id_bytes.h for the stored notation).
class IdBytesMatcher {
  public:
    IdBytesMatcher(const jet::TableDefinition& table, std::span<const std::uint8_t> wanted);
    bool matches(const jet::RowView& row) const;

  private:
    std::size_t idPosition_;
    std::vector<std::uint8_t> wanted_;
};

// Controller chips named in the controller maker columns. Stored names may carry line breaks
// before or after them; those and letter case do not count.
class ControllerMatcher {
  public:
    ControllerMatcher(const jet::TableDefinition& table, std::string_view name);
    // Indexes into kControllerMakerColumns of the makers whose cell names the controller.
    std::vector<std::size_t> matchingMakers(const jet::RowView& row) const;

  private:
    std::vector<std::size_t> makerPositions_;
    jet::TextKey wanted_;
    jet::TextKey empty_{""};
};

}  // namespace norvessa::query
