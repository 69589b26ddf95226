// The main window as laid out: its settings, controls, texts, geometry, fonts, colours and the
// keyboard focus.

#include "support/qt_form1.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/gui/fonts.h"
#include "resources/images/images.h"
#include "scoped_data_home.h"

namespace {

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override { form.Form_Load(); }

    void showAndActivate() {
        form.widget().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form.widget()));
    }

    QWidget& control(const char* name) {
        auto* found = form.widget().findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found != nullptr ? *found : form.widget();
    }

    ScopedDataHome home;
    QtForm1 form;
};

TEST(Form1Design, ControlsCarryTheirStoredNamesTypesAndTexts) {
    QtForm1 form;
    const QRegularExpression controlName(
        QStringLiteral("^(Label|Text|Command)\\d+$|^Frame1$|^ListView1$"));
    int named = 0;
    for (const QWidget* child : form.widget().findChildren<QWidget*>()) {
        named += controlName.match(child->objectName()).hasMatch() ? 1 : 0;
    }
    EXPECT_EQ(named, 36);

    const std::vector<std::pair<const QLabel*, QString>> labels = {
        {form.label("Label1"), QStringLiteral("Norvessa测试版")},
        {form.label("Label2"), QStringLiteral("V1.0")},
        {form.label("Label3"), QStringLiteral("请输入要查询FLASH型号：")},
        {form.label("Label4"), QStringLiteral("型号：")},
        {form.label("Label5"), QStringLiteral("品牌：")},
        {form.label("Label6"), QStringLiteral("容量：")},
        {form.label("Label7"), QStringLiteral("类型：")},
        {form.label("Label8"), QStringLiteral("位宽：")},
        {form.label("Label9"), QStringLiteral("片选：")},
        {form.label("Label10"), QStringLiteral("ID号：")},
        {form.label("Label11"), QStringLiteral("IC制程：")},
        {form.label("Label12"), QStringLiteral("ECC纠错：")},
        {form.label("Label13"), QStringLiteral("工作电压：")},
        {form.label("Label14"), QStringLiteral("芯片版本：")},
        {form.label("Label15"), QStringLiteral("备注：")},
        {form.label("Label16"), QStringLiteral("共查到0个结果")},
    };
    for (const auto& [label, caption] : labels) {
        EXPECT_EQ(label->text(), caption) << label->objectName().toStdString();
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
    const std::vector<std::pair<const QPushButton*, QString>> buttons = {
        {form.button("Command1"), QStringLiteral("点击查询")},
        {form.button("Command2"), QStringLiteral("群联型号对照")},
        {form.button("Command3"), QStringLiteral("安国型号对照")},
        {form.button("Command4"), QStringLiteral("问题反馈")},
        {form.button("Command5"), QStringLiteral("关于")},
    };
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(button->text(), caption);
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
    EXPECT_EQ(form.frame("Frame1")->caption(), QStringLiteral("所查询FLASH支持主控型号如下："));
    EXPECT_EQ(form.listView("ListView1")->parentWidget(), form.frame("Frame1"));

    // Before the Load handler runs, each box holds its own name.
    int number = 1;
    for (const QLineEdit* box :
         {form.textBox("Text1"), form.textBox("Text2"), form.textBox("Text3"),
          form.textBox("Text4"), form.textBox("Text5"), form.textBox("Text6"),
          form.textBox("Text7"), form.textBox("Text8"), form.textBox("Text9"),
          form.textBox("Text10"), form.textBox("Text11"), form.textBox("Text12"),
          form.textBox("Text13")}) {
        EXPECT_EQ(box->objectName(), QStringLiteral("Text%1").arg(number));
        EXPECT_EQ(box->text(), box->objectName());
        EXPECT_FALSE(box->isReadOnly());
        EXPECT_EQ(box->echoMode(), QLineEdit::Normal);
        ++number;
    }
}

TEST_F(Form1Test, EveryControlHasAnAccessibleName) {
    for (QWidget* child : form.widget().findChildren<QWidget*>()) {
        if (child->objectName().isEmpty() ||
            child->objectName().startsWith(QStringLiteral("qt_"))) {
            continue;
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(accessible, nullptr) << child->objectName().toStdString();
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << child->objectName().toStdString();
    }
    EXPECT_EQ(form.textBox("Text10")->accessibleName(), QStringLiteral("ECC纠错"));
}

TEST_F(Form1Test, TheWindowHasItsCaptionAFixedClientAreaAndNoMaximiseButton) {
    EXPECT_EQ(
        form.widget().windowTitle(),
        QStringLiteral("Norvessa测试版V1.0  made by velthorn42                      20140320"));
    const Qt::WindowFlags flags = form.widget().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(form.widget().minimumSize(), QSize(834, 559));
    EXPECT_EQ(form.widget().maximumSize(), QSize(834, 559));
    if (QFile::exists(norvessa::resources::kProgramIconPath)) {
        // The icon is set once the window has first been painted.
        showAndActivate();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.widget().windowIcon().isNull(); }));
        const QList<QSize> sizes = form.widget().windowIcon().availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        EXPECT_TRUE(sizes.contains(QSize(256, 256)));
    }
}

TEST_F(Form1Test, ControlsSitWhereTheLayoutPutsThem) {
    EXPECT_EQ(control("Frame1").geometry(), QRect(0, 64, 833, 257));
    EXPECT_EQ(control("ListView1").geometry(), QRect(16, 24, 801, 225));
    EXPECT_EQ(form.listView("ListView1")->mapTo(&form.widget(), QPoint(0, 0)), QPoint(16, 88));
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
    for (const auto* label : form.widget().findChildren<norvessa::platform::AutoSizeLabel*>()) {
        EXPECT_GE(label->width(), label->captionWidth()) << label->objectName().toStdString();
        EXPECT_GE(label->height(), label->captionHeight()) << label->objectName().toStdString();
    }
    // Text1 is drawn over the end of Label3.
    EXPECT_EQ(form.widget().childAt(290, 345), form.textBox("Text1"));
}

TEST_F(Form1Test, FontsAreTheSongFaceInTheirSizes) {
    const std::vector<std::pair<const char*, int>> pixelSizes = {
        {"Label1", 35}, {"Label2", 21},   {"Frame1", 19},   {"ListView1", 14}, {"Label3", 24},
        {"Text1", 21},  {"Command1", 16}, {"Label16", 16},  {"Label4", 16},    {"Text2", 16},
        {"Text13", 16}, {"Command2", 14}, {"Command5", 14},
    };
    EXPECT_EQ(form.widget().font().pixelSize(), 16);
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
    const QImage image = form.widget().grab().toImage().scaled(form.widget().size());

    EXPECT_EQ(QColor(image.pixel(4, 4)), QColor(192, 192, 255));
    // Inside the frame, beside the list: the frame's back colour, the same light blue.
    EXPECT_EQ(QColor(image.pixel(8, 200)), QColor(192, 192, 255));
    // Labels have no background of their own.
    const QRect title = form.label("Label1")->geometry();
    EXPECT_EQ(QColor(image.pixel(title.right() - 2, title.top() + 2)), QColor(192, 192, 255));

    EXPECT_GT(
        countPixels(image, form.label("Label1")->geometry(),
                    [](QColor c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; }),
        50);
    EXPECT_GT(
        countPixels(image, form.label("Label2")->geometry(),
                    [](QColor c) { return c.blue() > 120 && c.red() < 70 && c.green() < 70; }),
        20);
    const QRect frameCaption(0, 64, 400, 24);
    EXPECT_GT(
        countPixels(image, frameCaption,
                    [](QColor c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; }),
        50);
    // The list keeps the system's window colours and no blue of the frame's caption.
    const QRect listInside(form.listView("ListView1")->mapTo(&form.widget(), QPoint(40, 80)),
                           QSize(600, 100));
    EXPECT_EQ(QColor(image.pixel(listInside.topLeft())),
              QApplication::palette(form.listView("ListView1")).color(QPalette::Base));
    EXPECT_EQ(form.listView("ListView1")->palette().color(QPalette::WindowText),
              QApplication::palette(form.listView("ListView1")).color(QPalette::WindowText));
}

TEST_F(Form1Test, TabMovesThroughTheControlsInTheirOrder) {
    showAndActivate();
    ASSERT_EQ(QApplication::focusWidget(), form.listView("ListView1"));
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
    EXPECT_EQ(QApplication::focusWidget(), form.button("Command5"));
}

TEST_F(Form1Test, EnterInTheQueryBoxClicksNothingAndEveryBoxTakesTyping) {
    showAndActivate();
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (QPushButton* button :
         {form.button("Command1"), form.button("Command2"), form.button("Command3"),
          form.button("Command4"), form.button("Command5")}) {
        clicks.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    }
    form.textBox("Text1")->setFocus();
    QTest::keyClicks(form.textBox("Text1"), QStringLiteral(" k9hcg08u5m "));
    QTest::keyClick(form.textBox("Text1"), Qt::Key_Return);
    QTest::keyClick(form.textBox("Text1"), Qt::Key_Enter);
    for (const auto& spy : clicks) {
        EXPECT_EQ(spy->count(), 0);
    }
    EXPECT_EQ(form.textBox("Text1")->text(), QStringLiteral(" k9hcg08u5m "));
    EXPECT_EQ(QApplication::focusWidget(), form.textBox("Text1"));

    for (QLineEdit* box : {form.textBox("Text2"), form.textBox("Text7"), form.textBox("Text13")}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("TSOP48"));
        EXPECT_EQ(box->text(), QStringLiteral("TSOP48"));
    }
}

TEST_F(Form1Test, EnterOrSpacePressesTheFocusedButtonOnly) {
    showAndActivate();
    QSignalSpy query(form.button("Command1"), &QPushButton::clicked);
    QSignalSpy about(form.button("Command5"), &QPushButton::clicked);
    form.button("Command1")->setFocus();
    QTest::keyClick(form.button("Command1"), Qt::Key_Return);
    QTest::keyClick(form.button("Command1"), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(form.button("Command1"), Qt::Key_Space);
    QTest::keyClick(form.button("Command1"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(query.count(), 3);
    EXPECT_EQ(about.count(), 0);
    EXPECT_FALSE(form.button("Command1")->isDefault());
}

TEST_F(Form1Test, Label3sColonClearsText1) {
    // The colon's ink ends left of the box that is drawn over the end of Label3.
    const QString prompt = form.label("Label3")->text();
    const QFontMetrics metrics(form.label("Label3")->font());
    const int colonStart = form.label("Label3")->x() + metrics.horizontalAdvance(prompt.chopped(1));
    const int colonInkRight = colonStart + metrics.boundingRect(prompt.back()).right();
    EXPECT_LT(colonInkRight, form.textBox("Text1")->x());
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram) {
    // Whether or not another window is still on screen.
    QApplication::setQuitOnLastWindowClosed(false);
    form.window().show();
    QTimer::singleShot(0, [&] { form.window().close(); });
    QTimer::singleShot(5000, [] { QApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    QApplication::setQuitOnLastWindowClosed(true);
}

TEST_F(Form1Test, TheCountLabelGrowsToTheRightInsideTheWindow) {
    form.label("Label16")->setCaption(QStringLiteral("共查到123个结果！"));
    EXPECT_EQ(form.label("Label16")->x(), 672);
    EXPECT_GT(form.label("Label16")->width(), 104);
    EXPECT_LE(form.label("Label16")->geometry().right(), form.widget().width());
}

}  // namespace
