#pragma once

// The command line of norvessa-query: its options parsed into one request, the typed text
// made ready for a lookup, and the program as a function that main() and the tests call.

#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace norvessa::query {

// A command line or query text the program cannot act on; the message says what is wrong with
// it in the words of the command line ("--id \"ZZ\": 'Z' is not a hexadecimal digit").
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// The command line of norvessa-query, parsed into one request.

enum class LookupMode {
    ExactModel,   // MODEL: the windows program's lookup
    ModelPrefix,  // --prefix TEXT
    IdBytes,      // --id "EC D5 14 B6"
    Controller,   // --controller CBM2093
    DecodeId,     // --decode "EC D7 94 7A 54 43": what is known of a flash ID
    Drives,       // --drives: the USB drives sysfs lists
    Probe,        // --probe /dev/sg1: a drive's controller and flash, read by vendor commands
};

// The one place that says which modes are drive commands (run by drive_commands.h, printing
// a report, never CSV) rather than lookups of the database.
constexpr bool isDriveCommand(LookupMode mode) {
    return mode == LookupMode::DecodeId || mode == LookupMode::Drives || mode == LookupMode::Probe;
}

// The drive commands that read a USB drive through sysfs.
constexpr bool readsDrives(LookupMode mode) {
    return mode == LookupMode::Drives || mode == LookupMode::Probe;
}

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
    // --drives and --probe: where sysfs is (a recorded tree for tests and sent dumps) and the
    // usb.ids file that names vendors and products (none: the system's, when installed).
    std::filesystem::path sysfsRoot = "/sys";
    std::optional<std::filesystem::path> usbIds = std::nullopt;
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

// What the user typed, made ready for a lookup before any database is opened, so that bad input
// is reported as such whatever state the database is in.

// The text without the blanks, tabs and line breaks at either end.
std::string_view trimBlanks(std::string_view text);

// The trimmed text. Throws UsageError naming `option` when nothing is left.
std::string_view requireNonBlank(std::string_view typed, std::string_view option);

// The windows program's model key: the typed model trimmed and in upper case.
std::string modelKey(std::string_view typed);

// norvessa-query as a function: what main() does, callable in-process.

enum ExitStatus : int {
    kRecordsFound = 0,
    kNoRecordFound = 1,
    kFailed = 2,  // bad usage or a database error
};

// Parses the arguments (after the program name), runs the lookup and prints the result to
// `out`; messages go to `errors`. Never throws.
ExitStatus runQueryTool(std::span<const std::string> arguments, std::ostream& out,
                        std::ostream& errors);

}  // namespace norvessa::query
