#pragma once

// The three ways norvessa-query prints a result, and the terminal width of text that the
// table needs.

#include <cstddef>
#include <ostream>
#include <string_view>

#include "norvessa_query/command_line.h"
#include "norvessa_query/lookups.h"
#include "platform/json/json_writer.h"

namespace norvessa::query {

// How many terminal cells a UTF-8 text takes: East Asian Wide and Fullwidth characters (Chinese
// characters, full-width punctuation) take two, combining marks none, everything else one.

// A byte that does not start a valid UTF-8 sequence counts as one cell, as terminals show it
// as one replacement character.
std::size_t displayWidth(std::string_view utf8);

// The three ways norvessa-query prints a result. All write UTF-8 and take every value as
// stored: only the table, meant for reading, shows control characters as escapes.

// Aligned columns under a header and a rule; wide characters count as two cells, numbers are
// right-aligned, and a line break inside a value shows as \r\n so that every record keeps to
// one line.
void writeTable(std::ostream& out, const ResultTable& result);

// RFC 4180: a header record, CR LF after every record, a field in double quotes when it holds
// a comma, a double quote (doubled), CR or LF.
void writeCsv(std::ostream& out, const ResultTable& result);

// An array with one object per record, keyed by column name in column order; integers as
// numbers, text as strings with control characters escaped, Null as null.
void writeJson(std::ostream& out, const ResultTable& result);

void writeResult(std::ostream& out, const ResultTable& result, OutputFormat format);

// The same array as a value of a JSON document being written: under `key` inside an object,
// with an empty key inside an array or at the top.
void writeRecordsJson(json::JsonWriter& json, std::string_view key, const ResultTable& result);

}  // namespace norvessa::query
