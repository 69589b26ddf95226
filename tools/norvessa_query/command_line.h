#pragma once

// The command line of norvessa-query, parsed into one request.

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace norvessa::query {

enum class LookupMode {
    ExactModel,   // MODEL: the windows program's lookup
    ModelPrefix,  // --prefix TEXT
    IdBytes,      // --id "EC D5 14 B6"
    Controller,   // --controller CBM2093
};

enum class OutputFormat { Table, Csv, Json };

// Where the records come from: the image the program carries, or a database file.
struct DatabaseChoice {
    std::optional<std::filesystem::path> file;  // none: the embedded image
    std::optional<std::string> password;        // none: the program's own password
};

struct QueryRequest {
    LookupMode mode = LookupMode::ExactModel;
    std::string text;  // as given on the command line; each mode normalises it
    OutputFormat format = OutputFormat::Table;
    DatabaseChoice database;
};

enum class CommandKind { Lookup, ShowHelp, ShowVersion };

struct CommandLine {
    CommandKind kind = CommandKind::Lookup;
    QueryRequest request;  // meaningful for Lookup only
};

// Parses the arguments after the program name. Throws UsageError for anything it cannot use:
// unknown options, a missing or repeated value, no lookup or more than one.
CommandLine parseCommandLine(std::span<const std::string> arguments);

// The --help text.
std::string usageText();

inline constexpr const char* kProgramName = "norvessa-query";
inline constexpr const char* kProgramVersion = "1.00";

}  // namespace norvessa::query
