#include "secondary_windows/form5.h"

#include <QPixmap>
#include <exception>

#include "platform/gui/error_report.h"
#include "platform/gui/program_start.h"
#include "platform/gui/twips.h"
#include "resources/images/images.h"
#include "secondary_windows/label_setup.h"
#include "secondary_windows/maker_details.h"

namespace norvessa::secondary_windows {
namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QColor kRed(255, 0, 0);
const QColor kDarkRed(192, 0, 0);

// "explorer", a blank, an opening double quote and the address, with no closing quote: the
// explorer reads the rest of the line as one argument.
QString explorerCommandLine(std::string_view address) {
    return QStringLiteral("explorer \"") + qText(address);
}

// Starts the explorer on the forum's address; a failure tells the user which address could not
// be opened.
void openForum(std::string_view address) {
    try {
        platform::startProgram(explorerCommandLine(address), platform::WindowStyle::MinimizedFocus);
    } catch (...) {
        std::throw_with_nested(platform::ExplainedError(
            QStringLiteral("无法打开网址：") + qText(address) +
            QStringLiteral("\n请确认系统中装有浏览器，或把网址复制到浏览器中打开。")));
    }
}

}  // namespace

Form5::Form5()
    : SecondaryWindow({"Form5", QStringLiteral("关于   made by ") + qText(kMakerHandle), 9975, 5595,
                       QColor(192, 255, 192)}) {
    describeLabel(*Label1, {"Label1",
                            QStringLiteral("很高兴您使用本软件，本软件专为DIY U盘爱好者而开发，"),
                            {600, 240, 6120, 240},
                            12,
                            QColor(192, 0, 192)});
    describeLabel(*Label2, {"Label2",
                            QStringLiteral("方便各位DIY U盘爱好者，请勿用于非法用途。"),
                            {240, 720, 4920, 240},
                            12,
                            QColor(255, 0, 255)});
    describeLabel(*Label3, {"Label3",
                            QStringLiteral("在此感谢提供资料以及帮助的朋友，特别感谢如下朋友："),
                            {240, 1200, 6000, 240},
                            12,
                            QColor(128, 0, 128)});

    // The thanked handles, two rows of four under Label3.
    describeLabel(*Label4, {"Label4", qText(kThankedHandles[0]), {480, 1800, 1080, 240}, 12, {}});
    describeLabel(*Label5, {"Label5", qText(kThankedHandles[1]), {2160, 1800, 840, 240}, 12, {}});
    describeLabel(*Label8, {"Label8", qText(kThankedHandles[2]), {3840, 1800, 720, 240}, 12, {}});
    describeLabel(*Label16,
                  {"Label16", qText(kThankedHandles[3]), {5160, 1800, 1080, 240}, 12, {}});
    describeLabel(*Label9, {"Label9", qText(kThankedHandles[4]), {480, 2280, 1080, 240}, 12, {}});
    describeLabel(*Label6, {"Label6", qText(kThankedHandles[5]), {2040, 2280, 1440, 240}, 12, {}});
    describeLabel(*Label7, {"Label7", qText(kThankedHandles[6]), {3960, 2280, 480, 240}, 12, {}});
    describeLabel(*Label17, {"Label17", qText(kThankedHandles[7]), {5160, 2280, 480, 240}, 12, {}});

    describeLabel(*Label10, {"Label10",
                             QStringLiteral("最后非常感谢数码之家论坛以及量产吧论坛，"),
                             {240, 3000, 4800, 240},
                             12,
                             kDarkRed});
    describeLabel(*Label11, {"Label11",
                             QStringLiteral("在这两个论坛里，认识了很多朋友，也学到了很多，"),
                             {240, 3480, 5520, 240},
                             12,
                             kDarkRed});
    describeLabel(*Label12, {"Label12",
                             QStringLiteral("祝愿这两个论坛越办越好。"),
                             {240, 3960, 2880, 240},
                             12,
                             kDarkRed});

    describeLabel(*Label14, {"Label14",
                             QStringLiteral("数码之家论坛网址：") + qText(kMydigitForumAddress),
                             {240, 4440, 4680, 240},
                             12,
                             kRed});
    Label14->setToolTip(QStringLiteral("点击进入数码之家论坛"));
    Label14->setClickHandler([this] { Label14_Click(); });
    describeLabel(*Label13, {"Label13",
                             QStringLiteral("量产吧论坛网址：") + qText(kLiangchanbaForumAddress),
                             {240, 4920, 5040, 240},
                             12,
                             kRed});
    Label13->setToolTip(QStringLiteral("点击进入量产吧论坛"));
    Label13->setClickHandler([this] { Label13_Click(); });

    describeLabel(*Label15, {"Label15",
                             QStringLiteral("软件版本：测试版V1.0（数据未完整）"),
                             {6240, 5160, 3570, 210},
                             10.5,
                             QColor(0, 0, 255)});

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(platform::twipsToPixels(platform::TwipsRect{6960, 120, 2850, 4815}));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);
    Image1->setPixmap(QPixmap::fromImage(resources::loadImage(resources::kForm5Image1Path)));
}

void Form5::Label14_Click() {
    openForum(kMydigitForumAddress);
}

void Form5::Label13_Click() {
    openForum(kLiangchanbaForumAddress);
}

}  // namespace norvessa::secondary_windows
