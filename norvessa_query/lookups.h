#pragma once

// The lookups of norvessa-query over the lookup database: the table and its columns, the
// database the program carries, what a lookup hands to the output formats, and the four
// lookups (whole model, model prefix, ID bytes, controller) with their row predicates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "norvessa_query/command_line.h"
#include "platform/jet/database.h"
#include "platform/jet/schema.h"
#include "platform/jet/value.h"

namespace norvessa::query {

// What a lookup hands to the output formats: named columns and rows of cells, in the order the
// records were found.
struct Cell {
    enum class Kind { Text, Integer, Null };
    Kind kind = Kind::Text;
    std::string text;  // Integer: its decimal text; Null: empty

    static Cell fromText(std::string text) { return {Kind::Text, std::move(text)}; }
    static Cell fromInteger(long long number) { return {Kind::Integer, std::to_string(number)}; }
    // Integers stay numbers; every other value becomes its text as the lookup shows it.
    static Cell fromValue(const jet::Value& value);
    static Cell fromValue(jet::Value&& value);

    friend bool operator==(const Cell&, const Cell&) = default;
};

struct ResultTable {
    std::vector<std::string> columns;
    std::vector<std::vector<Cell>> rows;  // each as long as `columns`
};

// Heading of the one-based number of a record within the result, as the windows program's
// result list calls it.
inline constexpr const char* kSequenceColumn = "序号";
// Heading of the controller maker column (慧荣, 群联, ...) a --controller match was found in.
inline constexpr const char* kControllerMakerColumn = "主控厂商";

// The one table of the lookup database and the columns the lookups search by name. Only ID号
// has an index (ID号1), which --id walks; the other lookups scan the table.

inline constexpr std::string_view kLookupTable = "velthorn42";
inline constexpr std::string_view kModelColumn = "FLASH型号";
inline constexpr std::string_view kIdBytesColumn = "ID号";
// The ten controller makers, one column each, in table order.
inline constexpr std::array<std::string_view, 10> kControllerMakerColumns = {
    "慧荣", "群联", "联阳", "安国", "擎泰", "鑫创", "银灿", "芯邦", "迈科微", "我想"};

// Position of the named column in the table. Throws std::runtime_error naming the table and
// column when it has none, as for a database file that is not a Norvessa lookup database.
std::size_t columnPosition(const jet::TableDefinition& table, std::string_view column);

// Flash ID bytes as users type them and as the lookup table stores them.
//
// Typed: hexadecimal digits in pairs; blanks and letter case do not matter ("ec d514B6").
// Stored: pairs separated by blanks, upper case in most values, where one position may list
// alternatives joined by "/" ("EC F1 80 15/10" stands for EC F1 80 15 and EC F1 80 10).

// The one reader of typed ID bytes, for --id and --decode alike: blanks, colons and dashes
// between digits do not count ("EC:D7:94", "ec-d7"). Throws UsageError naming `option` and what
// is wrong: a character that is not a hexadecimal digit, an odd number of digits, or no digits
// at all. How many bytes a mode takes is the mode's to check.
std::vector<std::uint8_t> parseTypedIdBytes(std::string_view typed,
                                            std::string_view option = "--id");

// Whether one of the ID byte sequences a stored value stands for begins with `wanted`. A part
// of the stored value that is not hexadecimal pairs ends what it can match; it never throws.
bool storedIdBeginsWith(std::string_view stored, std::span<const std::uint8_t> wanted);

// The byte two hexadecimal digits stand for; none for anything else.
std::optional<std::uint8_t> hexPair(std::string_view text);

// Opens the lookup database a request names: the image the program carries, or a file.

// The password given with --password, else the program's own.
std::string databasePassword(const DatabaseChoice& choice);

// The lookup database image the program carries: built from the data set when the program is
// built and compiled in as plain bytes (resources/database_image_bytes.cpp), so that no resource
// system is needed to read it.
std::span<const std::uint8_t> embeddedLookupImage();

// Throws jet::JetError or platform::PlatformError with a message naming the image or file.
jet::Database openLookupDatabase(const DatabaseChoice& choice);

// The windows program's lookup: the same model key, the same statement, run by the same
// statement parser and record set snapshot as its database access component uses, so that both
// programs find exactly the same records.

// "select * from velthorn42 where FLASH型号 ='" + key + " '", an apostrophe in the key doubled
// so that it stays inside the literal.
std::string exactLookupStatement(std::string_view modelKey);

// Columns: 序号, then the table's columns in table order. Throws sql::SqlError, ado::AdoError
// or jet::JetError.
ResultTable lookUpExactModel(const jet::Database& database, std::string_view modelKey);

// Row predicates for the lookups that the windows program does not have. Each is prepared
// once from the table's definition and the normalised input (command_line.h, the ID bytes above),
// then asked for every row of a scan.

// Models that start with the prefix, letter case ignored as in the engine's text equality.
class ModelPrefixMatcher {
  public:
    ModelPrefixMatcher(const jet::TableDefinition& table, std::string_view prefix);
    bool matches(const jet::RowView& row) const;

  private:
    std::size_t modelPosition_;
    jet::TextKey prefix_;
};

// ID bytes that begin with the wanted bytes (see above for the stored notation).
class IdBytesMatcher {
  public:
    IdBytesMatcher(const jet::TableDefinition& table, std::span<const std::uint8_t> wanted);
    bool matches(const jet::RowView& row) const;

  private:
    std::size_t idPosition_;
    std::vector<std::uint8_t> wanted_;
};

// Every name one controller chip goes by, `name` first: the name the data set writes in its
// column and the others its maker's model tables and the support lists use (群联's UP303,
// PS2303 and PS2251-03 are one chip; so are 安国's AU6990 and AU6987). Letter case does not
// count; a name of no known chip gives itself alone.
std::vector<std::string> controllerNamesOf(std::string_view name);

// Controller chips named in the controller maker columns, by any name the chip goes by. Stored
// names may carry line breaks before or after them; those and letter case do not count.
class ControllerMatcher {
  public:
    ControllerMatcher(const jet::TableDefinition& table, std::string_view name);
    // Indexes into kControllerMakerColumns of the makers whose cell names the controller.
    std::vector<std::size_t> matchingMakers(const jet::RowView& row) const;

  private:
    std::vector<std::size_t> makerPositions_;
    std::vector<jet::TextKey> wanted_;
};

// The lookups by model prefix, ID bytes and controller: a scan of the lookup table with a row
// predicate (--id walks the index on ID号 instead), every match listed with its sequence number
// and all its fields in the order the table stores them. Inputs come normalised: a trimmed,
// non-blank text (command_line.h) or parsed ID bytes.

// Columns: 序号, then the table's columns in table order.
ResultTable lookUpByModelPrefix(const jet::Table& table, std::string_view prefix);
ResultTable lookUpByIdBytes(const jet::Table& table, std::span<const std::uint8_t> wanted);

// Columns: 序号, 主控厂商 (the controller maker column the name was found in), then the
// table's columns. A record that names the controller under two makers is listed once for each.
ResultTable lookUpByController(const jet::Table& table, std::string_view name);

// The four lookups behind one call: the typed text is checked and normalised first, so bad
// input is reported as such whatever state the database is in, then the lookup runs.
struct LookupInput {
    LookupMode mode = LookupMode::ExactModel;
    std::string text;                   // the model key, prefix or controller name
    std::vector<std::uint8_t> idBytes;  // IdBytes only
};

// Throws UsageError for input the mode cannot use (blank prefix or name, bad ID bytes).
LookupInput prepareLookupInput(LookupMode mode, std::string_view typed);

// Throws the database layers' errors (sql::SqlError, ado::AdoError, jet::JetError) or
// std::runtime_error for a database without the lookup table's columns.
ResultTable runLookup(const jet::Database& database, const LookupInput& input);

// Prepares the input, opens the database the request names and runs the lookup. What the
// engine found worth telling without failing (see jet::Database::warnings) goes to `warnings`.
ResultTable runLookup(const QueryRequest& request, std::vector<std::string>* warnings = nullptr);

}  // namespace norvessa::query
