# The Windows build: resource scripts, and the Wine that runs cross-built programs and tests.
enable_language(RC)

if(CMAKE_CROSSCOMPILING)
    # A prefix of the build's own, set up by scripts/wine.sh (fonts included) on first use.
    set(NORVESSA_WINE_PREFIX "${PROJECT_BINARY_DIR}/wine-prefix")
    set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine.sh;${NORVESSA_WINE_PREFIX}")
endif()
