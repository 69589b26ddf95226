#pragma once

// The program names its files with fixed Windows paths ("C:\Program Files\..."). On Windows they
// are used as they are; elsewhere drive C is a folder of the user's own data directory, so no
// other user can replace a file the program writes and later reads.

#include <filesystem>
#include <string_view>

namespace norvessa::platform {

// Where drive C lives on this machine: on Windows "C:\"; elsewhere
// $XDG_DATA_HOME/norvessa/drive_c (default ~/.local/share/norvessa/drive_c).
std::filesystem::path driveCRoot();

// Maps an absolute path on drive C ("C:\Program Files\zuzivive.ss") to a path of this machine.
// On first use the mapped drive gets its standard "Program Files" folder, as an installed Windows
// has it. Throws PlatformError for a path that is not absolute on drive C or that climbs out of
// it with "..".
std::filesystem::path hostPath(std::string_view windowsPath);

}  // namespace norvessa::platform
