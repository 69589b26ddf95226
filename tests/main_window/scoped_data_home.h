#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "resources/database_image.h"

// Points XDG_DATA_HOME, and with it the program's drive C, at a fresh folder while it lives.
class ScopedDataHome {
  public:
    ScopedDataHome() : previous_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", folder_.path().toUtf8());
    }
    ~ScopedDataHome() { qputenv("XDG_DATA_HOME", previous_); }
    ScopedDataHome(const ScopedDataHome&) = delete;
    ScopedDataHome& operator=(const ScopedDataHome&) = delete;

    std::filesystem::path programFiles() const {
        return std::filesystem::path(folder_.path().toStdString()) / "norvessa" / "drive_c" /
               "Program Files";
    }
    std::filesystem::path databaseFile() const { return programFiles() / "zuzivive.ss"; }

  private:
    QTemporaryDir folder_;
    QByteArray previous_;
};

// The file's bytes; empty when it cannot be read.
inline std::string readWholeFile(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

inline void writeWholeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream << bytes;
}

// The database image exactly as the program carries it.
inline std::string carriedDatabaseImage() {
    const std::span<const std::uint8_t> image = norvessa::resources::carriedDatabaseImage();
    return {image.begin(), image.end()};
}
