#include "norvessa_query/command_line.h"

#include <exception>
#include <string_view>

#include "norvessa_query/drive_commands.h"
#include "norvessa_query/lookups.h"
#include "norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

// Options that take a value, written "--name VALUE" or "--name=VALUE".
enum class ValueOption {
    Prefix,
    Id,
    Controller,
    Decode,
    Probe,
    Format,
    Database,
    Password,
    SysfsRoot,
    UsbIds,
};

struct ValueOptionName {
    std::string_view name;
    ValueOption option;
};

constexpr ValueOptionName kValueOptions[] = {
    {"--prefix", ValueOption::Prefix},         {"--id", ValueOption::Id},
    {"--controller", ValueOption::Controller}, {"--format", ValueOption::Format},
    {"--database", ValueOption::Database},     {"--password", ValueOption::Password},
    {"--decode", ValueOption::Decode},         {"--probe", ValueOption::Probe},
    {"--sysfs-root", ValueOption::SysfsRoot},  {"--usb-ids", ValueOption::UsbIds},
};

std::filesystem::path pathOf(std::string_view value) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(value.data()), value.size()));
}

OutputFormat parseFormat(std::string_view value) {
    if (value == "table") {
        return OutputFormat::Table;
    }
    if (value == "csv") {
        return OutputFormat::Csv;
    }
    if (value == "json") {
        return OutputFormat::Json;
    }
    throw UsageError("--format \"" + std::string(value) + "\": choose table, csv or json");
}

class Parser {
  public:
    void lookup(LookupMode mode, std::string_view text, std::string_view spelledAs) {
        if (lookupGiven_) {
            throw UsageError("more than one lookup (" + std::string(spelledAs) +
                             " after another): give exactly one of MODEL, --prefix, --id, "
                             "--controller, --decode, --drives and --probe");
        }
        lookupGiven_ = true;
        request_.mode = mode;
        request_.text = std::string(text);
    }

    void option(ValueOption option, std::string_view name, std::string_view value) {
        switch (option) {
            case ValueOption::Prefix:
                lookup(LookupMode::ModelPrefix, value, name);
                return;
            case ValueOption::Id:
                lookup(LookupMode::IdBytes, value, name);
                return;
            case ValueOption::Controller:
                lookup(LookupMode::Controller, value, name);
                return;
            case ValueOption::Decode:
                lookup(LookupMode::DecodeId, value, name);
                return;
            case ValueOption::Probe:
                lookup(LookupMode::Probe, value, name);
                return;
            case ValueOption::SysfsRoot:
                request_.sysfsRoot = onePath(sysfsRootGiven_, name, value, "a folder");
                return;
            case ValueOption::UsbIds:
                request_.usbIds = onePath(usbIdsGiven_, name, value, "a file name");
                return;
            case ValueOption::Format:
                once(formatGiven_, name);
                request_.format = parseFormat(value);
                return;
            case ValueOption::Database:
                request_.database.file = onePath(databaseGiven_, name, value, "a file name");
                return;
            case ValueOption::Password:
                once(passwordGiven_, name);
                request_.database.password = std::string(value);
                return;
        }
    }

    QueryRequest finish() const {
        if (!lookupGiven_) {
            throw UsageError(
                "nothing to look up: give a MODEL, --prefix, --id, --controller, --decode, "
                "--drives or --probe");
        }
        if (usbIdsGiven_ && !readsDrives(request_.mode)) {
            throw UsageError("--usb-ids applies to --drives and --probe");
        }
        // The probe sends commands to a device of this machine: what it knows of that device
        // must come from this machine's sysfs, not from a recorded tree.
        if (sysfsRootGiven_ && request_.mode != LookupMode::Drives) {
            throw UsageError("--sysfs-root applies to --drives only");
        }
        if (isDriveCommand(request_.mode) && request_.format == OutputFormat::Csv) {
            throw UsageError("--decode, --drives and --probe print a table or json, not csv");
        }
        if (passwordGiven_ && !databaseGiven_) {
            throw UsageError("--password applies to a file given with --database");
        }
        return request_;
    }

  private:
    static void once(bool& given, std::string_view name) {
        if (given) {
            throw UsageError(std::string(name) + " given more than once");
        }
        given = true;
    }

    // The path an option names, given once and not empty.
    static std::filesystem::path onePath(bool& given, std::string_view name, std::string_view value,
                                         std::string_view what) {
        once(given, name);
        if (value.empty()) {
            throw UsageError(std::string(name) + " needs " + std::string(what));
        }
        return pathOf(value);
    }

    QueryRequest request_;
    bool lookupGiven_ = false;
    bool formatGiven_ = false;
    bool databaseGiven_ = false;
    bool passwordGiven_ = false;
    bool sysfsRootGiven_ = false;
    bool usbIdsGiven_ = false;
};

const ValueOptionName* findValueOption(std::string_view name) {
    for (const auto& candidate : kValueOptions) {
        if (candidate.name == name) {
            return &candidate;
        }
    }
    return nullptr;
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string> arguments) {
    Parser parser;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        const bool isOption = !optionsEnded && argument.size() > 1 && argument.front() == '-';
        if (!isOption) {
            parser.lookup(LookupMode::ExactModel, argument, "MODEL \"" + arguments[index] + "\"");
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            return {CommandKind::ShowHelp, {}};
        }
        if (argument == "--version") {
            return {CommandKind::ShowVersion, {}};
        }
        if (argument == "--drives") {
            parser.lookup(LookupMode::Drives, "", argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const ValueOptionName* option = findValueOption(name);
        if (option == nullptr) {
            throw UsageError("unknown option " + std::string(name));
        }
        if (equals != std::string_view::npos) {
            parser.option(option->option, name, argument.substr(equals + 1));
        } else if (index + 1 < arguments.size()) {
            parser.option(option->option, name, arguments[++index]);
        } else {
            throw UsageError(std::string(name) + " needs a value");
        }
    }
    return {CommandKind::Lookup, parser.finish()};
}

std::string usageText() {
    return R"(Usage: norvessa-query [OPTIONS] MODEL
  or:  norvessa-query [OPTIONS] --prefix TEXT
  or:  norvessa-query [OPTIONS] --id "EC D5 14 B6"
  or:  norvessa-query [OPTIONS] --controller NAME
  or:  norvessa-query [OPTIONS] --decode BYTES
  or:  norvessa-query [OPTIONS] --drives
  or:  norvessa-query [OPTIONS] --probe DEVICE

Looks up flash chips in Norvessa's lookup database and prints every matching record; reads
which controller and flash a plugged USB drive has, and what is known of a flash ID.

Lookups (give exactly one):
  MODEL                the flash model, as the windows program looks it up: blanks around
                       it removed, letter case ignored, the whole model must match
  --prefix TEXT        every model that starts with TEXT (letter case ignored)
  --id BYTES           every flash whose ID bytes begin with BYTES, hexadecimal pairs such as
                       "EC D5 14 B6" (blanks, colons, dashes and letter case ignored); a
                       stored value with alternatives such as "EC F1 80 15/10" matches either
                       of them
  --controller NAME    every flash that controller chip NAME drives, with the controller
                       maker it is listed under (letter case ignored)

From a drive or its flash ID:
  --decode BYTES       what is known of a flash ID such as "EC D7 94 7A 54 43" or ECD7947A5443
                       (2 to 8 bytes; blanks, colons, dashes and letter case ignored): the
                       sourced parts that answer to it with the geometry their tables give, the
                       decode of its layout (maker, cell type, page, block, spare, planes, dies,
                       density per chip enable, ECC, process; unknown where the layout cannot
                       say, with every disagreement shown), then the records whose ID bytes
                       begin so, or with the longest shorter prefix any record begins with (the
                       output says which), and the supporting controller chips per maker
  --drives             every USB mass-storage drive sysfs lists, with its nodes, VID:PID and
                       their usb.ids names, strings, USB version and link speed, INQUIRY
                       vendor/product/revision and vendor-specific bytes, capacity, whether it
                       is a card reader, and the controller maker as a hint with its reason
                       and whether that evidence establishes the maker; needs no privilege
  --probe DEVICE       reads the controller chip, firmware, run mode and the flash ID of each
                       chip enable of DEVICE (/dev/sdX or /dev/sgN, matched to sysfs by its
                       device number; give the whole drive, not a partition) with the
                       read-only vendor commands public sources document, sent only when the
                       drive's evidence establishes that controller maker (Phison, Silicon
                       Motion, Alcor), never to a card reader; decodes and looks up the ID and
                       compares the announced capacity with what the flash holds. Needs root
                       (which opens the node read-only) or write access to the /dev/sgN node
                       (group disk), which Linux needs to pass vendor commands from a user
  --sysfs-root DIR     with --drives: read the sysfs tree under DIR instead of /sys (a
                       recorded tree)
  --usb-ids FILE       with --drives or --probe: take vendor and product names from FILE, a
                       regular file of at most 16 MiB (default: /usr/share/misc/usb.ids or
                       /usr/share/hwdata/usb.ids)

Options:
  --format FORMAT      table (default; aligned columns), csv (RFC 4180) or json (an array of
                       objects keyed by column name); --decode, --drives and --probe print
                       text blocks (default) or json
  --database FILE      read this database file instead of the database the program carries
  --password TEXT      the database password of FILE (default: the program's own)
  -h, --help           show this help and exit
  --version            show the version and exit

Exit status:
  0 when records were found, 1 when none were, 2 on bad usage or a database error.
  --decode: 0 when a sourced part or a record answers to the ID; --drives: 0 when a drive
  was found; --probe: 0 when the drive answered with its controller or flash ID; else 1
  (also for a card reader, which gets no command). 2 on bad usage or an error (a device that
  cannot be opened, a transport error during the probe, output that cannot be written).
)";
}

std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view requireNonBlank(std::string_view typed, std::string_view option) {
    const std::string_view trimmed = trimBlanks(typed);
    if (trimmed.empty()) {
        throw UsageError(std::string(option) + " needs a text that is not blank");
    }
    return trimmed;
}

std::string modelKey(std::string_view typed) {
    // Models are ASCII. Other letters are left as typed: the engine compares text without
    // regard to letter case, so they find the same records either way.
    std::string key(trimBlanks(typed));
    for (char& character : key) {
        if (character >= 'a' && character <= 'z') {
            character = static_cast<char>(character - 'a' + 'A');
        }
    }
    return key;
}

ExitStatus runQueryTool(std::span<const std::string> arguments, std::ostream& out,
                        std::ostream& errors) {
    try {
        const CommandLine commandLine = parseCommandLine(arguments);
        if (commandLine.kind == CommandKind::ShowHelp) {
            out << usageText();
            return kRecordsFound;
        }
        if (commandLine.kind == CommandKind::ShowVersion) {
            out << kProgramName << ' ' << kProgramVersion << '\n';
            return kRecordsFound;
        }
        const QueryRequest& request = commandLine.request;
        ExitStatus status = kRecordsFound;
        if (isDriveCommand(request.mode)) {
            status = runDriveCommand(request, out, errors);
        } else {
            std::vector<std::string> warnings;
            const ResultTable result = runLookup(request, &warnings);
            for (const std::string& warning : warnings) {
                errors << kProgramName << ": warning: " << warning << '\n';
            }
            if (result.rows.empty() && request.format == OutputFormat::Table) {
                errors << kProgramName << ": no record found\n";
                return kNoRecordFound;
            }
            writeResult(out, result, request.format);
            status = result.rows.empty() ? kNoRecordFound : kRecordsFound;
        }
        // Lookups and drive commands alike: a result that did not reach its reader is a failure.
        out.flush();
        if (!out) {
            errors << kProgramName << ": cannot write the result to standard output\n";
            return kFailed;
        }
        return status;
    } catch (const UsageError& error) {
        errors << kProgramName << ": " << error.what() << "\nTry '" << kProgramName
               << " --help' for more information.\n";
    } catch (const std::exception& error) {
        errors << kProgramName << ": " << error.what() << '\n';
    }
    return kFailed;
}

}  // namespace norvessa::query
