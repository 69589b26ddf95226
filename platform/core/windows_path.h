#pragma once

// The program names its files with fixed Windows paths ("C:\Program Files\..."). Drive C of the
// program is a folder of the user's own: a standard user may not write to the system's
// C:\Program Files, and no other user can replace a file the program writes and later reads.

#include <filesystem>
#include <string_view>

namespace norvessa::platform {

// Where drive C lives for the program: on Windows %LOCALAPPDATA%\Norvessa (the local
// application data folder, C:\Users\NAME\AppData\Local as a rule); elsewhere
// $XDG_DATA_HOME/norvessa/drive_c (default ~/.local/share/norvessa/drive_c).
std::filesystem::path driveCRoot();

// Maps an absolute path on drive C ("C:\Program Files\zuzivive.ss") to a path of this machine,
// below driveCRoot(). On first use the mapped drive gets its "Program Files" folder, as an
// installed Windows has it. Throws PlatformError for a path that is not absolute on drive C or
// that climbs out of it with "..", or when the folder cannot be made.
std::filesystem::path hostPath(std::string_view windowsPath);

}  // namespace norvessa::platform
