#pragma once

// What is known of one flash ID: the sourced parts that answer to it with the geometry their
// tables give, the decode of its layout by each maker's published scheme where that is certain,
// and where the two (or the tables among themselves) disagree. The lookup database's records
// are added by norvessa-query, which owns the database.

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "flash/id_decoder.h"
#include "platform/json/json_writer.h"

namespace norvessa::drive {

// One part as one or more tables give it: rows with the same part and geometry are one entry.
struct SourcedPart {
    std::string part;
    std::string maker;
    std::string id;                 // as the table gives it, "XX" for a byte left open
    std::size_t comparedBytes = 0;  // bytes both IDs give
    // Zero where the tables give nothing.
    std::uint32_t pageBytes = 0;
    std::uint32_t spareBytes = 0;
    std::uint32_t blockBytes = 0;
    std::uint32_t chipMegabits = 0;
    int dies = 0;
    int chipEnables = 0;
    int bitsPerCell = 0;
    std::string ecc;
    std::string process;
    std::vector<std::string> sources;
};

struct IdAnswer {
    std::vector<std::uint8_t> id;
    std::vector<SourcedPart> parts;  // those that compare the most bytes first
    flash::IdDecode decoded;
    // "block: the ID layout gives 2 MiB; the tables give 1 MiB (TC58NVG5D2)"
    std::vector<std::string> disagreements;
};

// Throws std::invalid_argument for fewer than 2 or more than 8 bytes.
IdAnswer answerId(std::span<const std::uint8_t> id);

// The sourced parts and the decoded fields, for a terminal. `indent` starts every line.
void writeIdAnswerText(std::ostream& out, const IdAnswer& answer, std::string_view indent = "");

// Members "id", "parts", "decoded" (maker, cell, page_bytes, block_bytes, ...; null where
// unknown) and "disagreements" of the object the writer has open.
void writeIdAnswerJson(json::JsonWriter& json, const IdAnswer& answer);

// The short name of a source: a repository and file without the commit, or a datasheet's title.
std::string shortSource(std::string_view source);

}  // namespace norvessa::drive
