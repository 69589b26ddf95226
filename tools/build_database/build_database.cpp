#include "tools/build_database/build_database.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>

#include "platform/jet/writer.h"
#include "tools/build_database/lookup_image.h"
#include "tools/dataset/flash_dataset.h"

namespace norvessa::build_database {
namespace {

constexpr const char* kProgram = "norvessa-build-database";
constexpr const char* kUsage =
    "usage: norvessa-build-database --input <data set .csv> --output <database file> "
    "--password <text> --creation-date <OLE days>";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::map<std::string, std::string> parseOptions(const std::vector<std::string>& arguments) {
    static const char* const kOptions[] = {"--input", "--output", "--password", "--creation-date"};
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const std::string& option = arguments[i];
        if (std::find(std::begin(kOptions), std::end(kOptions), option) == std::end(kOptions)) {
            throw UsageError("unknown argument \"" + option + "\"");
        }
        if (i + 1 >= arguments.size()) {
            throw UsageError(option + " needs a value");
        }
        if (!options.emplace(option, arguments[i + 1]).second) {
            throw UsageError(option + " is given twice");
        }
    }
    for (const char* option : kOptions) {
        if (options.count(option) == 0) {
            throw UsageError(std::string(option) + " is missing");
        }
    }
    return options;
}

double parseCreationDate(const std::string& text) {
    double days = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, days);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(days)) {
        throw UsageError("--creation-date \"" + text + "\" is not a number of days");
    }
    return days;
}

// Writes beside the target and renames, so that a failed run leaves no half-written image.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + partial.string());
        }
    }
    std::filesystem::rename(partial, path);
}

}  // namespace

int runBuildDatabase(const std::vector<std::string>& arguments, std::ostream& errors) {
    try {
        const auto options = parseOptions(arguments);
        const double creationDate = parseCreationDate(options.at("--creation-date"));
        const auto records = dataset::readFlashDataset(options.at("--input"));
        const auto image =
            jet::writeDatabase(lookupDatabase(records, options.at("--password"), creationDate));
        writeFile(options.at("--output"), image);
        return 0;
    } catch (const UsageError& error) {
        errors << kProgram << ": " << error.what() << '\n' << kUsage << '\n';
        return 2;
    } catch (const std::exception& error) {
        // Data set faults, database refusals (which name table, column, row and character)
        // and file errors.
        errors << kProgram << ": " << error.what() << '\n';
        return 1;
    }
}

}  // namespace norvessa::build_database
