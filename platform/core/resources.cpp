#include "platform/core/resources.h"

#include <QFile>
#include <QString>
#include <string>

#include "platform/core/platform_error.h"

namespace norvessa::platform {

// Resources live in the Qt resource system under ":/<type>/<id>", e.g. ":/CUSTOM/101".
std::vector<std::uint8_t> loadCustomResource(std::uint16_t id, std::string_view type) {
    const std::string description =
        "resource " + std::to_string(id) + " of type \"" + std::string(type) + "\"";
    QFile resource(QStringLiteral(":/%1/%2")
                       .arg(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())))
                       .arg(id));
    if (!resource.open(QIODevice::ReadOnly)) {
        throw PlatformError("cannot read " + description + ": the program does not carry it");
    }
    // Read straight into the result: the database image is read at every start.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(resource.size()));
    const qint64 read =
        resource.read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (read != resource.size()) {
        throw PlatformError("cannot read " + description + ": " +
                            resource.errorString().toStdString());
    }
    return bytes;
}

}  // namespace norvessa::platform
