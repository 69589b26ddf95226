// The main window as laid out: its settings, controls, texts, geometry, fonts, colours and the
// keyboard focus.

#include "main_window/form1.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "platform/gui/fonts.h"
#include "resources/images/images.h"
#include "scoped_data_home.h"

namespace {

using norvessa::main_window::Form1;

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override { form.Form_Load(); }

    void showAndActivate() {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QWidget& control(const char* name) {
        auto* found = form.findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found != nullptr ? *found : form;
    }

    ScopedDataHome home;
    Form1 form;
};

TEST(Form1Design, ControlsCarryTheirStoredNamesTypesAndTexts) {
    const Form1 form;
    const QRegularExpression controlName(
        QStringLiteral("^(Label|Text|Command)\\d+$|^Frame1$|^ListView1$"));
    int named = 0;
    for (const QWidget* child : form.findChildren<QWidget*>()) {
        named += controlName.match(child->objectName()).hasMatch() ? 1 : 0;
    }
    EXPECT_EQ(named, 36);

    const std::vector<std::pair<const QLabel*, QString>> labels = {
        {form.Label1, QStringLiteral("Norvessa测试版")},
        {form.Label2, QStringLiteral("V1.0")},
        {form.Label3, QStringLiteral("请输入要查询FLASH型号：")},
        {form.Label4, QStringLiteral("型号：")},
        {form.Label5, QStringLiteral("品牌：")},
        {form.Label6, QStringLiteral("容量：")},
        {form.Label7, QStringLiteral("类型：")},
        {form.Label8, QStringLiteral("位宽：")},
        {form.Label9, QStringLiteral("片选：")},
        {form.Label10, QStringLiteral("ID号：")},
        {form.Label11, QStringLiteral("IC制程：")},
        {form.Label12, QStringLiteral("ECC纠错：")},
        {form.Label13, QStringLiteral("工作电压：")},
        {form.Label14, QStringLiteral("芯片版本：")},
        {form.Label15, QStringLiteral("备注：")},
        {form.Label16, QStringLiteral("共查到0个结果")},
    };
    for (const auto& [label, caption] : labels) {
        EXPECT_EQ(label->text(), caption) << label->objectName().toStdString();
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
    const std::vector<std::pair<const QPushButton*, QString>> buttons = {
        {form.Command1, QStringLiteral("点击查询")},
        {form.Command2, QStringLiteral("群联型号对照")},
        {form.Command3, QStringLiteral("安国型号对照")},
        {form.Command4, QStringLiteral("问题反馈")},
        {form.Command5, QStringLiteral("关于")},
    };
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
    EXPECT_EQ(form.Frame1->caption(), QStringLiteral("所查询FLASH支持主控型号如下："));
    EXPECT_EQ(form.ListView1->parentWidget(), form.Frame1);

    // Before the Load handler runs, each box holds its own name.
    int number = 1;
    for (const QLineEdit* box :
         {form.Text1, form.Text2, form.Text3, form.Text4, form.Text5, form.Text6, form.Text7,
          form.Text8, form.Text9, form.Text10, form.Text11, form.Text12, form.Text13}) {
        EXPECT_EQ(box->objectName(), QStringLiteral("Text%1").arg(number));
        EXPECT_EQ(box->text(), box->objectName());
        EXPECT_FALSE(box->isReadOnly());
        EXPECT_EQ(box->echoMode(), QLineEdit::Normal);
        ++number;
    }
}

TEST_F(Form1Test, EveryControlHasAnAccessibleName) {
    for (QWidget* child : form.findChildren<QWidget*>()) {
        if (child->objectName().isEmpty() ||
            child->objectName().startsWith(QStringLiteral("qt_"))) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(accessible, nullptr) << child->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << child->objectName().toStdString();
    }
    EXPECT_EQ(form.Text10->accessibleName(), QStringLiteral("ECC纠错"));
}

TEST_F(Form1Test, TheWindowHasItsCaptionAFixedClientAreaAndNoMaximiseButton) {
    EXPECT_EQ(
        form.windowTitle(),
        QStringLiteral("Norvessa测试版V1.0  made by velthorn42                      20140320"));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(form.minimumSize(), QSize(834, 559));
    EXPECT_EQ(form.maximumSize(), QSize(834, 559));
    if (QFile::exists(norvessa::resources::kProgramIconPath)) {
        // The icon is set once the window has first been painted.
        showAndActivate();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.windowIcon().isNull(); }));
        const QList<QSize> sizes = form.windowIcon().availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(256, 256)));
    }
}

TEST_F(Form1Test, ControlsSitWhereTheLayoutPutsThem) {
    EXPECT_EQ(control("Frame1").geometry(), QRect(0, 64, 833, 257));
    EXPECT_EQ(control("ListView1").geometry(), QRect(16, 24, 801, 225));
    EXPECT_EQ(form.ListView1->mapTo(&form, QPoint(0, 0)), QPoint(16, 88));
    EXPECT_EQ(control("Text1").geometry(), QRect(288, 332, 177, 33));
    EXPECT_EQ(control("Command1").geometry(), QRect(496, 328, 129, 41));
    EXPECT_EQ(control("Text2").geometry(), QRect(80, 380, 137, 25));
    EXPECT_EQ(control("Text10").geometry(), QRect(552, 380, 137, 25));
    EXPECT_EQ(control("Text13").geometry(), QRect(552, 516, 137, 25));
    EXPECT_EQ(control("Command5").geometry(), QRect(712, 512, 105, 33));
    // Labels take their stored corner and at least their stored size; a face may need more room
    // for the caption (its width, its descenders), never less.
    EXPECT_EQ(control("Label1").geometry().topLeft(), QPoint(208, 16));
    EXPECT_EQ(control("Label16").geometry().topLeft(), QPoint(672, 344));
    EXPECT_EQ(control("Label11").geometry().topLeft(), QPoint(240, 520));
    EXPECT_GE(control("Label4").size().height(), 16);
    EXPECT_GE(control("Label3").width(), 276);
    for (const auto* label : form.findChildren<norvessa::platform::AutoSizeLabel*>()) {
        EXPECT_GE(label->width(), label->captionWidth()) << label->objectName().toStdString();
        EXPECT_GE(label->height(), label->captionHeight()) << label->objectName().toStdString();
    }
    // Text1 is drawn over the end of Label3.
    EXPECT_EQ(form.childAt(290, 345), form.Text1);
}

TEST_F(Form1Test, FontsAreTheSongFaceInTheirSizes) {
    const std::vector<std::pair<const char*, int>> pixelSizes = {
        {"Label1", 35}, {"Label2", 21},   {"Frame1", 19},   {"ListView1", 14}, {"Label3", 24},
        {"Text1", 21},  {"Command1", 16}, {"Label16", 16},  {"Label4", 16},    {"Text2", 16},
        {"Text13", 16}, {"Command2", 14}, {"Command5", 14},
    };
    EXPECT_EQ(form.font().pixelSize(), 16);
    for (const auto& [name, pixels] : pixelSizes) {
        const QFont font = control(name).font();
        EXPECT_EQ(font.pixelSize(), pixels) << name;
        EXPECT_EQ(font.families(), norvessa::platform::songFaceFamilies()) << name;
        EXPECT_EQ(font.weight(), QFont::Normal) << name;
    }
}

// Counts pixels of the grabbed window inside the rectangle that the predicate accepts.
template <typename Predicate>
int countPixels(const QImage& image, const QRect& area, Predicate accepts) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += accepts(QColor(image.pixel(x, y))) ? 1 : 0;
        }
    }
    return count;
}

TEST_F(Form1Test, ColoursShowAsDesigned) {
    showAndActivate();
    const QImage image = form.grab().toImage().scaled(form.size());

    EXPECT_EQ(QColor(image.pixel(4, 4)), QColor(192, 192, 255));
    // Inside the frame, beside the list: the frame's back colour, the same light blue.
    EXPECT_EQ(QColor(image.pixel(8, 200)), QColor(192, 192, 255));
    // Labels have no background of their own.
    const QRect title = form.Label1->geometry();
    EXPECT_EQ(QColor(image.pixel(title.right() - 2, title.top() + 2)), QColor(192, 192, 255));

    EXPECT_GT(
        countPixels(image, form.Label1->geometry(),
                    [](QColor c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; }),
        50);
    EXPECT_GT(
        countPixels(image, form.Label2->geometry(),
                    [](QColor c) { return c.blue() > 120 && c.red() < 70 && c.green() < 70; }),
        20);
    const QRect frameCaption(0, 64, 400, 24);
    EXPECT_GT(
        countPixels(image, frameCaption,
                    [](QColor c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; }),
        50);
    // The list keeps the system's window colours and no blue of the frame's caption.
    const QRect listInside(form.ListView1->mapTo(&form, QPoint(40, 80)), QSize(600, 100));
    EXPECT_EQ(QColor(image.pixel(listInside.topLeft())),
              QApplication::palette(form.ListView1).color(QPalette::Base));
    EXPECT_EQ(form.ListView1->palette().color(QPalette::WindowText),
              QApplication::palette(form.ListView1).color(QPalette::WindowText));
}

TEST_F(Form1Test, TabMovesThroughTheControlsInTheirOrder) {
    showAndActivate();
    ASSERT_EQ(QApplication::focusWidget(), form.ListView1);
    const QStringList cycle = {
        QStringLiteral("Text1"),    QStringLiteral("Text2"),    QStringLiteral("Text3"),
        QStringLiteral("Text4"),    QStringLiteral("Text5"),    QStringLiteral("Text6"),
        QStringLiteral("Text7"),    QStringLiteral("Text8"),    QStringLiteral("Text9"),
        QStringLiteral("Command1"), QStringLiteral("Text13"),   QStringLiteral("Text12"),
        QStringLiteral("Text11"),   QStringLiteral("Text10"),   QStringLiteral("Command2"),
        QStringLiteral("Command3"), QStringLiteral("Command4"), QStringLiteral("Command5"),
        QStringLiteral("ListView1")};
    for (const QString& expected : cycle) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), expected);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), form.Command5);
}

TEST_F(Form1Test, EnterInTheQueryBoxClicksNothingAndEveryBoxTakesTyping) {
    showAndActivate();
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (QPushButton* button :
         {form.Command1, form.Command2, form.Command3, form.Command4, form.Command5}) {
        clicks.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    }
    form.Text1->setFocus();
    QTest::keyClicks(form.Text1, QStringLiteral(" k9hcg08u5m "));
    QTest::keyClick(form.Text1, Qt::Key_Return);
    QTest::keyClick(form.Text1, Qt::Key_Enter);
    for (const auto& spy : clicks) {
        EXPECT_EQ(spy->count(), 0);
    }
    EXPECT_EQ(form.Text1->text(), QStringLiteral(" k9hcg08u5m "));
    EXPECT_EQ(QApplication::focusWidget(), form.Text1);

    for (QLineEdit* box : {form.Text2, form.Text7, form.Text13}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("TSOP48"));
        EXPECT_EQ(box->text(), QStringLiteral("TSOP48"));
    }
}

TEST_F(Form1Test, EnterOrSpacePressesTheFocusedButtonOnly) {
    showAndActivate();
    QSignalSpy query(form.Command1, &QPushButton::clicked);
    QSignalSpy about(form.Command5, &QPushButton::clicked);
    form.Command1->setFocus();
    QTest::keyClick(form.Command1, Qt::Key_Return);
    QTest::keyClick(form.Command1, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(form.Command1, Qt::Key_Space);
    QTest::keyClick(form.Command1, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(query.count(), 3);
    EXPECT_EQ(about.count(), 0);
    EXPECT_FALSE(form.Command1->isDefault());
}

TEST_F(Form1Test, Label3sColonClearsText1) {
    // The colon's ink ends left of the box that is drawn over the end of Label3.
    const QString prompt = form.Label3->text();
    const QFontMetrics metrics(form.Label3->font());
    const int colonStart = form.Label3->x() + metrics.horizontalAdvance(prompt.chopped(1));
    const int colonInkRight = colonStart + metrics.boundingRect(prompt.back()).right();
    EXPECT_LT(colonInkRight, form.Text1->x());
}

TEST_F(Form1Test, TheCountLabelGrowsToTheRightInsideTheWindow) {
    form.Label16->setCaption(QStringLiteral("共查到123个结果！"));
    EXPECT_EQ(form.Label16->x(), 672);
    EXPECT_GT(form.Label16->width(), 104);
    EXPECT_LE(form.Label16->geometry().right(), form.width());
}

}  // namespace
