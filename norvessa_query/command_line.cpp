#include "norvessa_query/command_line.h"

#include <exception>
#include <string_view>

#include "norvessa_query/lookups.h"
#include "norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

// Options that take a value, written "--name VALUE" or "--name=VALUE".
enum class ValueOption { Prefix, Id, Controller, Format, Database, Password };

struct ValueOptionName {
    std::string_view name;
    ValueOption option;
};

constexpr ValueOptionName kValueOptions[] = {
    {"--prefix", ValueOption::Prefix},         {"--id", ValueOption::Id},
    {"--controller", ValueOption::Controller}, {"--format", ValueOption::Format},
    {"--database", ValueOption::Database},     {"--password", ValueOption::Password},
};

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
                             " after another): give exactly one of MODEL, --prefix, --id and "
                             "--controller");
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
            case ValueOption::Format:
                once(formatGiven_, name);
                request_.format = parseFormat(value);
                return;
            case ValueOption::Database:
                once(databaseGiven_, name);
                if (value.empty()) {
                    throw UsageError("--database needs a file name");
                }
                request_.database.file = std::filesystem::path(
                    std::u8string(reinterpret_cast<const char8_t*>(value.data()), value.size()));
                return;
            case ValueOption::Password:
                once(passwordGiven_, name);
                request_.database.password = std::string(value);
                return;
        }
    }

    QueryRequest finish() const {
        if (!lookupGiven_) {
            throw UsageError("nothing to look up: give a MODEL, --prefix, --id or --controller");
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

    QueryRequest request_;
    bool lookupGiven_ = false;
    bool formatGiven_ = false;
    bool databaseGiven_ = false;
    bool passwordGiven_ = false;
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

Looks up flash chips in Norvessa's lookup database and prints every matching record.

Lookups (give exactly one):
  MODEL                the flash model, as the windows program looks it up: blanks around
                       it removed, letter case ignored, the whole model must match
  --prefix TEXT        every model that starts with TEXT (letter case ignored)
  --id BYTES           every flash whose ID bytes begin with BYTES, hexadecimal pairs such as
                       "EC D5 14 B6" (blanks and letter case ignored); a stored value with
                       alternatives such as "EC F1 80 15/10" matches either of them
  --controller NAME    every flash that controller chip NAME drives, with the controller
                       maker it is listed under (letter case ignored)

Options:
  --format FORMAT      table (default; aligned columns), csv (RFC 4180) or json (an array of
                       objects keyed by column name)
  --database FILE      read this database file instead of the database the program carries
  --password TEXT      the database password of FILE (default: the program's own)
  -h, --help           show this help and exit
  --version            show the version and exit

Exit status:
  0 when records were found, 1 when none were, 2 on bad usage or a database error.
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
        out.flush();
        if (!out) {
            errors << kProgramName << ": cannot write the result to standard output\n";
            return kFailed;
        }
        return result.rows.empty() ? kNoRecordFound : kRecordsFound;
    } catch (const UsageError& error) {
        errors << kProgramName << ": " << error.what() << "\nTry '" << kProgramName
               << " --help' for more information.\n";
    } catch (const std::exception& error) {
        errors << kProgramName << ": " << error.what() << '\n';
    }
    return kFailed;
}

}  // namespace norvessa::query
