#pragma once

// Runs a program through the shell (cmd.exe on Windows) with its output captured in files, for
// tests of the real executable and of the Python read-back script.

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace norvessa::query::testing {

struct ProcessResult {
    int exitStatus = -1;  // -1 when the program did not exit normally
    std::string out;
    std::string errors;
};

#ifdef _WIN32
// cmd.exe and the program's argument parser: the word in double quotes. The tests' arguments
// hold no double quote and end in no backslash, the two cases this does not escape.
inline std::string shellQuoted(const std::string& argument) {
    return "\"" + argument + "\"";
}
#else
inline std::string shellQuoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char character : argument) {
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    }
    return quoted + "'";
}
#endif

inline std::string readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// `folder` receives the captured output as stdout.txt and stderr.txt.
inline ProcessResult runProcess(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const std::filesystem::path& folder) {
    const auto outFile = folder / "stdout.txt";
    const auto errorFile = folder / "stderr.txt";
    std::string command = shellQuoted(program);
    for (const auto& argument : arguments) {
        command += " " + shellQuoted(argument);
    }
    command += " >" + shellQuoted(outFile.string()) + " 2>" + shellQuoted(errorFile.string());
    ProcessResult result;
#ifdef _WIN32
    // cmd /c takes the line without its outer quotes, leaving each word's own.
    result.exitStatus = std::system(("\"" + command + "\"").c_str());
#else
    const int status = std::system(command.c_str());
    result.exitStatus = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    result.out = readWholeFile(outFile);
    result.errors = readWholeFile(errorFile);
    return result;
}

}  // namespace norvessa::query::testing
