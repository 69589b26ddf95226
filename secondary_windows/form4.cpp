#include "secondary_windows/form4.h"

#include "secondary_windows/label_setup.h"
#include "secondary_windows/maker_details.h"

namespace norvessa::secondary_windows {
namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QColor kPurple(192, 0, 192);
const QColor kDarkBlue(0, 0, 192);
const QColor kBlue(0, 0, 255);

}  // namespace

Form4::Form4()
    : SecondaryWindow({"Form4", QStringLiteral("问题反馈"), 7260, 2940, QColor(255, 192, 192)}) {
    describeLabel(*Label5, {"Label5",
                            QStringLiteral("非常感谢您对本软件的支持，如在使用中遇到任何问题，"),
                            {120, 120, 6000, 240},
                            12,
                            std::nullopt});
    describeLabel(*Label6, {"Label6",
                            QStringLiteral("可以通过以下方式联系我："),
                            {120, 480, 2880, 240},
                            12,
                            std::nullopt});
    describeLabel(*Label3, {"Label3",
                            QStringLiteral("作者：") + qText(kMakerHandle),
                            {900, 840, 2595, 315},
                            15.75,
                            kPurple});
    describeLabel(*Label1, {"Label1",
                            QStringLiteral("QQ：") + qText(kMakerQqNumber),
                            {1200, 1320, 2130, 315},
                            15.75,
                            kDarkBlue});
    describeLabel(*Label2, {"Label2",
                            QStringLiteral("邮箱：") + qText(kMakerEmailAddress),
                            {900, 1800, 3585, 315},
                            15.75,
                            kPurple});
    describeFixedLabel(*Label4, {"Label4",
                                 QStringLiteral("数码之家论坛空间：") + qText(kMakerProfileAddress),
                                 {240, 2280, 6975, 375},
                                 12,
                                 kBlue});
}

}  // namespace norvessa::secondary_windows
