// What each secondary window shows when it is loaded: frame, caption buttons, background, the
// pictures at one picture pixel to one screen pixel, and every label with its caption, place,
// font size and colour.

#include <gtest/gtest.h>

#include <QColor>
#include <QFontInfo>
#include <QLabel>
#include <QPalette>
#include <QWidget>
#include <memory>

#include "platform/gui/auto_size_label.h"
#include "platform/gui/qt_front_end.h"
#include "resources/images/images.h"
#include "secondary_windows/window_layouts.h"

namespace {

using namespace norvessa::secondary_windows;
using norvessa::platform::QtWindow;

void expectFixedWithCloseBoxOnly(const QWidget& window) {
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the user cannot resize it";
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

// What the window's client area shows, as the screen would.
QImage screenImage(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(PictureWindows, ShowTheirPictureFromTheTopLeftCornerClippedAtTheEdges) {
    struct Case {
        std::unique_ptr<QtWindow> described;
        QLatin1String picture;
    };
    Case cases[] = {
        {std::make_unique<QtWindow>(form2Description()), norvessa::resources::kForm2PicturePath},
        {std::make_unique<QtWindow>(form3Description()), norvessa::resources::kForm3PicturePath}};
    for (Case& c : cases) {
        QWidget* const window = &c.described->widget();
        SCOPED_TRACE(window->objectName().toStdString());
        expectFixedWithCloseBoxOnly(*window);
        EXPECT_TRUE(window->findChildren<QWidget*>().isEmpty()) << "no controls";
        const QImage picture =
            norvessa::resources::loadImage(c.picture).convertToFormat(QImage::Format_RGB32);
        const QImage shown = screenImage(*window);
        ASSERT_EQ(shown.width(), picture.width());
        ASSERT_EQ(shown.height(), picture.height() - (window->objectName() == "Form2" ? 8 : 1));
        EXPECT_EQ(shown, picture.copy(shown.rect()));
    }
}

TEST(PictureWindows, OnlyTheAnguoWindowHasAnIconOfItsOwn) {
    QtWindow form3(form3Description());
    const QList<QSize> sizes = form3.widget().windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
    EXPECT_TRUE(sizes.contains(QSize(128, 128)));
    QtWindow form2(form2Description());
    EXPECT_FALSE(form2.widget().windowIcon().availableSizes().contains(QSize(128, 128)));
}

struct ExpectedLabel {
    const QLabel* label;
    QString caption;
    QPoint topLeft;  // pixels
    int fontPixels;
    QColor colour;
};

QColor buttonText() {
    return QWidget().palette().color(QPalette::ButtonText);
}

void expectLabel(const ExpectedLabel& expected) {
    const QLabel& label = *expected.label;
    SCOPED_TRACE(label.objectName().toStdString());
    EXPECT_EQ(label.text(), expected.caption);
    EXPECT_EQ(label.pos(), expected.topLeft);
    EXPECT_EQ(label.font().pixelSize(), expected.fontPixels);
    EXPECT_EQ(label.font().weight(), QFont::Normal);
    EXPECT_FALSE(label.font().italic() || label.font().underline() || label.font().strikeOut());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), expected.colour);
    EXPECT_FALSE(label.autoFillBackground()) << "transparent";
    EXPECT_TRUE(label.alignment().testFlag(Qt::AlignLeft));
}

// An auto-size label is at least as large as its stored size and never cuts its caption.
void expectAutoSize(const norvessa::platform::AutoSizeLabel& label, QSize stored) {
    SCOPED_TRACE(label.objectName().toStdString());
    EXPECT_GE(label.width(), stored.width());
    EXPECT_GE(label.width(), label.captionWidth());
    EXPECT_GE(label.height(), stored.height());
    EXPECT_GE(label.height(), label.captionHeight()) << "room for the descenders";
}

TEST(FeedbackWindow, ShowsSixLabelsOnPink) {
    QtWindow form(form4Description());
    expectFixedWithCloseBoxOnly(form.widget());
    EXPECT_EQ(form.widget().size(), QSize(484, 196));
    EXPECT_EQ(screenImage(form.widget()).pixel(470, 185), qRgb(255, 192, 192));

    const QColor purple(192, 0, 192);
    const ExpectedLabel labels[] = {
        {&form.control<QLabel>("Label5"),
         QStringLiteral("非常感谢您对本软件的支持，如在使用中遇到任何问题，"),
         {8, 8},
         16,
         buttonText()},
        {&form.control<QLabel>("Label6"),
         QStringLiteral("可以通过以下方式联系我："),
         {8, 32},
         16,
         buttonText()},
        {&form.control<QLabel>("Label3"), QStringLiteral("作者：velthorn42"), {60, 56}, 21, purple},
        {&form.control<QLabel>("Label1"),
         QStringLiteral("QQ：058231947"),
         {80, 88},
         21,
         QColor(0, 0, 192)},
        {&form.control<QLabel>("Label2"),
         QStringLiteral("邮箱：velthorn42@example.com"),
         {60, 120},
         21,
         purple},
        {&form.control<QLabel>("Label4"),
         QStringLiteral("数码之家论坛空间：http://www.mydigit.cn/space/velthorn42"),
         {16, 152},
         16,
         QColor(0, 0, 255)},
    };
    for (const ExpectedLabel& label : labels) {
        expectLabel(label);
        EXPECT_TRUE(label.label->toolTip().isEmpty());
    }
    expectAutoSize(form.control<norvessa::platform::AutoSizeLabel>("Label5"), {400, 16});
    expectAutoSize(form.control<norvessa::platform::AutoSizeLabel>("Label3"), {173, 21});
    EXPECT_EQ(form.control<QLabel>("Label4").geometry(), QRect(16, 152, 465, 25)) << "a fixed box";
    EXPECT_TRUE(form.control<QLabel>("Label4").wordWrap());
    EXPECT_EQ(form.widget().findChildren<QLabel*>().size(), 6);
}

TEST(AboutWindow, ShowsSeventeenLabelsAndThePictureOnGreen) {
    QtWindow form(form5Description());
    expectFixedWithCloseBoxOnly(form.widget());
    EXPECT_EQ(form.widget().size(), QSize(665, 373));
    EXPECT_EQ(screenImage(form.widget()).pixel(660, 5), qRgb(192, 255, 192));

    const QColor red(255, 0, 0);
    const QColor darkRed(192, 0, 0);
    const QColor text = buttonText();
    const ExpectedLabel labels[] = {
        {&form.control<QLabel>("Label1"),
         QStringLiteral("很高兴您使用本软件，本软件专为DIY U盘爱好者而开发，"),
         {40, 16},
         16,
         QColor(192, 0, 192)},
        {&form.control<QLabel>("Label2"),
         QStringLiteral("方便各位DIY U盘爱好者，请勿用于非法用途。"),
         {16, 48},
         16,
         QColor(255, 0, 255)},
        {&form.control<QLabel>("Label3"),
         QStringLiteral("在此感谢提供资料以及帮助的朋友，特别感谢如下朋友："),
         {16, 80},
         16,
         QColor(128, 0, 128)},
        {&form.control<QLabel>("Label4"), QStringLiteral("frostmere"), {32, 120}, 16, text},
        {&form.control<QLabel>("Label5"), QStringLiteral("quillax"), {144, 120}, 16, text},
        {&form.control<QLabel>("Label8"), QStringLiteral("dunwyn"), {256, 120}, 16, text},
        {&form.control<QLabel>("Label16"), QStringLiteral("583920174"), {344, 120}, 16, text},
        {&form.control<QLabel>("Label9"), QStringLiteral("tarnbrook"), {32, 152}, 16, text},
        {&form.control<QLabel>("Label6"), QStringLiteral("ashgrove_lin"), {136, 152}, 16, text},
        {&form.control<QLabel>("Label7"), QStringLiteral("oxil"), {264, 152}, 16, text},
        {&form.control<QLabel>("Label17"), QStringLiteral("brev"), {344, 152}, 16, text},
        {&form.control<QLabel>("Label10"),
         QStringLiteral("最后非常感谢数码之家论坛以及量产吧论坛，"),
         {16, 200},
         16,
         darkRed},
        {&form.control<QLabel>("Label11"),
         QStringLiteral("在这两个论坛里，认识了很多朋友，也学到了很多，"),
         {16, 232},
         16,
         darkRed},
        {&form.control<QLabel>("Label12"),
         QStringLiteral("祝愿这两个论坛越办越好。"),
         {16, 264},
         16,
         darkRed},
        {&form.control<QLabel>("Label14"),
         QStringLiteral("数码之家论坛网址：http://www.mydigit.cn"),
         {16, 296},
         16,
         red},
        {&form.control<QLabel>("Label13"),
         QStringLiteral("量产吧论坛网址：http://www.example.org"),
         {16, 328},
         16,
         red},
        {&form.control<QLabel>("Label15"),
         QStringLiteral("软件版本：测试版V1.0（数据未完整）"),
         {416, 344},
         14,
         QColor(0, 0, 255)},
    };
    for (const ExpectedLabel& label : labels) {
        expectLabel(label);
        expectAutoSize(*static_cast<const norvessa::platform::AutoSizeLabel*>(label.label),
                       {1, label.fontPixels == 14 ? 14 : 16});
        const bool isLink = label.label == &form.control<QLabel>("Label14") ||
                            label.label == &form.control<QLabel>("Label13");
        EXPECT_EQ(label.label->toolTip().isEmpty(), !isLink) << label.caption.toStdString();
    }
    EXPECT_EQ(form.control<QLabel>("Label14").toolTip(), QStringLiteral("点击进入数码之家论坛"));
    EXPECT_EQ(form.control<QLabel>("Label13").toolTip(), QStringLiteral("点击进入量产吧论坛"));
    EXPECT_FALSE(form.control<QLabel>("Label14").font().underline());
    EXPECT_FALSE(form.control<QLabel>("Label14").testAttribute(Qt::WA_SetCursor))
        << "no special mouse pointer";

    // The nine-digit handle's label fits nine characters of 8 pixels, as stored.
    EXPECT_EQ(form.control<QLabel>("Label16").text().size(), 9);

    EXPECT_EQ(form.control<QLabel>("Image1").geometry(), QRect(464, 8, 190, 321));
    EXPECT_EQ(form.control<QLabel>("Image1").pixmap().size(), QSize(190, 321));
    EXPECT_FALSE(form.control<QLabel>("Image1").hasScaledContents());
    EXPECT_EQ(form.widget().findChildren<QLabel*>().size(), 18);
}

}  // namespace
