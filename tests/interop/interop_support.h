#pragma once

// Running the independent readers on files our writer wrote: temporary files, shell commands,
// the CSV that mdb-export prints and the JSON expectations the node scripts read.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/temporary_folder.h"

namespace norvessa::interop {

using norvessa::testing::TemporaryFolder;

template <class Bytes>
void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A shell word: the text in single quotes.
inline std::string shellWord(std::string_view text) {
    std::string word = "'";
    for (const char c : text) {
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return word + "'";
}

inline std::string shellPath(const std::filesystem::path& path) {
    return shellWord(path.string());
}

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and standard error
};

inline CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, count);
    }
    const int status = pclose(pipe);
#ifdef _WIN32
    // Windows' pclose gives the exit status itself. The readers are Linux programs, which a
    // Windows test finds missing and skips.
    result.status = status;
#else
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return result;
}

inline bool haveProgram(const std::string& name) {
    return run("command -v " + shellWord(name)).status == 0;
}

// One field of mdb-export's CSV: text is quoted, numbers and empty values are not.
struct CsvField {
    std::string text;
    bool quoted = false;
    friend bool operator==(const CsvField&, const CsvField&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const CsvField& field) {
    return out << (field.quoted ? "\"" + field.text + "\"" : field.text);
}

// Records of comma-separated fields, a doubled quote inside quotes standing for one; a record
// ends at a line feed outside quotes.
inline std::vector<std::vector<CsvField>> parseCsv(std::string_view text) {
    std::vector<std::vector<CsvField>> records;
    std::vector<CsvField> record;
    CsvField field;
    bool inQuotes = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.text += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field.text += c;
            }
        } else if (c == '"') {
            inQuotes = true;
            field.quoted = true;
        } else if (c == ',') {
            record.push_back(std::move(field));
            field = CsvField{};
        } else if (c == '\n') {
            record.push_back(std::move(field));
            field = CsvField{};
            records.push_back(std::move(record));
            record.clear();
        } else {
            field.text += c;
        }
    }
    if (!record.empty() || !field.text.empty()) {
        record.push_back(std::move(field));
        records.push_back(std::move(record));
    }
    return records;
}

// A JSON string literal.
inline std::string json(std::string_view text) {
    std::string literal = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            literal += '\\';
            literal += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            literal += escape;
        } else {
            literal += c;
        }
    }
    return literal + "\"";
}

inline std::string jsonArray(const std::vector<std::string>& items) {
    std::string array = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        array += (i > 0 ? "," : "") + items[i];
    }
    return array + "]";
}

}  // namespace norvessa::interop
