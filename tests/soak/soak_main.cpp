// The soak tests' main: before any thread starts, it gives the process a mount namespace of its
// own where it may have one, so that the small file systems the fault tests mount are private to
// this run and disappear with it even when a test is killed.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "soak_support.h"

namespace norvessa::soak {

MountPermission& mountPermission() {
    static MountPermission permission;
    return permission;
}

namespace {

MountPermission claimPrivateMounts() {
    if (::geteuid() != 0) {
        return {false, "mounting needs root"};
    }
    if (::unshare(CLONE_NEWNS) != 0) {
        return {false, std::string("no mount namespace of our own: ") + std::strerror(errno)};
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return {false, std::string("mounts cannot be made private: ") + std::strerror(errno)};
    }
    return {true, {}};
}

}  // namespace
}  // namespace norvessa::soak

int main(int argc, char* argv[]) {
    norvessa::soak::mountPermission() = norvessa::soak::claimPrivateMounts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
