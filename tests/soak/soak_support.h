#pragma once

// Running copies of the program (the soak driver) as separate processes against a data folder of
// their own, with the limits and mounts the fault tests put them under.

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace norvessa::soak {

// Set by the test main when this process has a mount namespace of its own, so that mounts made
// here vanish with it; otherwise the reason why not.
struct MountPermission {
    bool allowed = false;
    std::string reason;
};
MountPermission& mountPermission();

inline std::string readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void writeWholeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// A fresh folder below the system's temporary folder, removed with everything in it.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "norvessa-soak-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TemporaryFolder() {
        if (!path_.empty()) {
            std::error_code ignored;
            std::filesystem::permissions(programFiles(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool valid() const { return !path_.empty(); }
    // Used as XDG_DATA_HOME and HOME of the copies, so drive C lies below it.
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path programFiles() const {
        return path_ / "norvessa" / "drive_c" / "Program Files";
    }
    std::filesystem::path databaseFile() const { return programFiles() / "zuzivive.ss"; }

  private:
    std::filesystem::path path_;
};

// A mount that is undone when it goes out of scope.
class ScopedMount {
  public:
    ScopedMount(const std::filesystem::path& target, const char* source, const char* type,
                unsigned long flags, const char* options)
        : target_(target) {
        mounted_ = ::mount(source, target.c_str(), type, flags, options) == 0;
        error_ = mounted_ ? 0 : errno;
    }
    ~ScopedMount() {
        if (mounted_) {
            ::umount2(target_.c_str(), MNT_DETACH);
        }
    }
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;

    bool mounted() const { return mounted_; }
    std::string error() const { return std::strerror(error_); }

  private:
    std::filesystem::path target_;
    bool mounted_ = false;
    int error_ = 0;
};

struct ChildOptions {
    std::vector<std::string> arguments;
    std::vector<std::pair<std::string, std::string>> environment;  // added to this process's
    std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE, with SIGXFSZ ignored
    std::optional<std::pair<uid_t, gid_t>> runAs;
};

struct ChildResult {
    bool exited = false;  // false when it was ended by a signal or did not finish in time
    int exitStatus = -1;
    int signal = 0;
    bool timedOut = false;
    std::string out;
    std::string errors;

    std::string describe() const {
        std::string text = timedOut ? "did not finish in time"
                           : exited ? "exited with status " + std::to_string(exitStatus)
                                    : "ended by signal " + std::to_string(signal);
        return text + "\nstdout:\n" + out + "stderr:\n" + errors;
    }
};

// One copy of a program running in the background; its output goes to files in `folder`.
class Child {
  public:
    Child(const std::string& program, const ChildOptions& options,
          const std::filesystem::path& folder, const std::string& name)
        : outFile_(folder / (name + ".out")), errorFile_(folder / (name + ".err")) {
        std::vector<std::string> argumentTexts = {program};
        argumentTexts.insert(argumentTexts.end(), options.arguments.begin(),
                             options.arguments.end());
        std::map<std::string, std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            const auto equals = text.find('=');
            if (equals != std::string::npos) {
                environment[text.substr(0, equals)] = text.substr(equals + 1);
            }
        }
        for (const auto& [name_, value] : options.environment) {
            environment[name_] = value;
        }
        std::vector<std::string> environmentTexts;
        for (const auto& [name_, value] : environment) {
            environmentTexts.push_back(name_ + "=" + value);
        }
        // Everything the child needs is prepared here: between fork and exec it may only make
        // plain system calls. The output files are opened here, so a child that gives up its
        // rights can still write them.
        std::vector<char*> argv = pointers(argumentTexts);
        std::vector<char*> envp = pointers(environmentTexts);
        const int out = ::open(outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int errors =
            ::open(errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(errors, STDERR_FILENO);
            if (options.fileSizeLimit) {
                ::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{};
                ::getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = *options.fileSizeLimit;
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            if (options.runAs &&
                (::setgroups(0, nullptr) != 0 || ::setgid(options.runAs->second) != 0 ||
                 ::setuid(options.runAs->first) != 0)) {
                ::_exit(kCannotStart);
            }
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(kCannotStart);
        }
        ::close(out);
        ::close(errors);
    }
    ~Child() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    static constexpr int kCannotStart = 127;

    bool started() const { return pid_ > 0; }

    // Waits until the child ends, or kills it at the deadline.
    ChildResult wait(std::chrono::steady_clock::time_point deadline) {
        ChildResult result;
        int status = 0;
        while (pid_ > 0 && !reaped_) {
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                reaped_ = true;
            } else if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                reaped_ = true;
                result.timedOut = true;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
        result.exited = !result.timedOut && WIFEXITED(status);
        result.exitStatus = result.exited ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        result.out = readWholeFile(outFile_);
        result.errors = readWholeFile(errorFile_);
        return result;
    }

  private:
    static std::vector<char*> pointers(std::vector<std::string>& texts) {
        std::vector<char*> result;
        for (std::string& text : texts) {
            result.push_back(text.data());
        }
        result.push_back(nullptr);
        return result;
    }

    std::filesystem::path outFile_;
    std::filesystem::path errorFile_;
    pid_t pid_ = -1;
    bool reaped_ = false;
};

// The counts a counting mode of the driver prints last: "rounds=… right=… wrong=… reports=…".
inline std::map<std::string, long> parseTally(const std::string& out) {
    std::map<std::string, long> tally;
    const auto lineStart = out.rfind("rounds=");
    if (lineStart == std::string::npos) {
        return tally;
    }
    std::istringstream line(out.substr(lineStart));
    std::string field;
    while (line >> field) {
        const auto equals = field.find('=');
        if (equals != std::string::npos) {
            tally[field.substr(0, equals)] = std::strtol(field.c_str() + equals + 1, nullptr, 10);
        }
    }
    return tally;
}

}  // namespace norvessa::soak
