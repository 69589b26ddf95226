#pragma once

// Sets an environment variable while it lives and puts the old value back after, on Linux
// and on Windows (whose variables are wide text: the value is given in UTF-8).

#include <cstdlib>
#include <optional>
#include <string>

#ifdef _WIN32
#include "platform/core/utf16.h"
#endif

namespace norvessa::testing {

class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str()); old != nullptr) {
            old_ = old;
        }
        set(name_, value);
    }
    ~ScopedEnvironment() {
        if (old_) {
            set(name_, *old_);
        } else {
            unset(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
#ifdef _WIN32
    static void set(const std::string& name, const std::string& value) {
        _wputenv_s(platform::wideFromUtf8(name).c_str(), platform::wideFromUtf8(value).c_str());
    }
    static void unset(const std::string& name) {
        _wputenv_s(platform::wideFromUtf8(name).c_str(), L"");
    }
#else
    static void set(const std::string& name, const std::string& value) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    static void unset(const std::string& name) {
        unsetenv(name.c_str());
    }
#endif

    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace norvessa::testing
