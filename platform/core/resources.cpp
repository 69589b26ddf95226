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
    const QByteArray bytes = resource.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace norvessa::platform
