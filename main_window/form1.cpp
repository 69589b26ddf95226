#include "main_window/form1.h"

#include <QColor>
#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "main_window/database_provisioning.h"
#include "platform/gui/event_handler.h"
#include "platform/gui/fonts.h"
#include "platform/gui/twips.h"
#include "resources/images/images.h"
#include "secondary_windows/navigation.h"

namespace norvessa::main_window {
namespace {

using platform::AutoSizeLabel;
using platform::TwipsRect;

const QString kCaption =
    QStringLiteral("Norvessa测试版V1.0  made by velthorn42                      20140320");

constexpr int kClientWidthTwips = 12510;
constexpr int kClientHeightTwips = 8385;

constexpr double kWindowFontPoints = 12;

const QColor kBackColour(192, 192, 255);
const QColor kTitleColour(255, 0, 0);
const QColor kVersionColour(0, 0, 192);
const QColor kFrameCaptionColour(0, 0, 255);

struct ResultColumn {
    const char* text;  // UTF-8
    int widthTwips;
};

// The first column holds the row's own text and is too narrow to see; the others are filled
// with the row's sub-items 1 to 11.
constexpr std::array<ResultColumn, 12> kResultColumns = {{
    {"id", 10},
    {"序号", 600},
    {" 慧荣", 1400},
    {" 群联", 1400},
    {" 联阳", 1000},
    {" 安国", 1000},
    {" 擎泰", 1000},
    {" 鑫创", 1000},
    {" 银灿", 1000},
    {" 芯邦", 1300},
    {" 迈科微", 1200},
    {" 我想", 1000},
}};

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

void setTextColour(QWidget& control, const QColor& colour) {
    QPalette palette = control.palette();
    palette.setColor(QPalette::WindowText, colour);
    control.setPalette(palette);
}

// The accessible name of a box is its caption without the closing full-width colon.
QString withoutColon(QString caption) {
    if (caption.endsWith(QChar(0xFF1A))) {
        caption.chop(1);
    }
    return caption;
}

// A control's own font size in points; controls without one use the window's font.
using FontSize = std::optional<double>;

// Places the controls as the window stores them and chains the keyboard focus through those
// that take it, in the order of their tab positions.
class Layout {
  public:
    void place(QWidget& control, const char* name, TwipsRect bounds, int tabIndex,
               FontSize points = {}) {
        control.setObjectName(QString::fromLatin1(name));
        if (points) {
            control.setFont(platform::songFont(*points));
        }
        control.setGeometry(platform::twipsToPixels(bounds));
        tabStops_.emplace_back(tabIndex, &control);
    }

    void label(AutoSizeLabel& control, const char* name, const QString& caption, TwipsRect bounds,
               int tabIndex, FontSize points = {}) {
        control.setText(caption);
        place(control, name, bounds, tabIndex, points);
        control.fitToCaption();
    }

    // A box is named, for screen readers, by the caption label in front of it.
    void textBox(QLineEdit& control, const char* name, const QLabel& caption, TwipsRect bounds,
                 int tabIndex, FontSize points = {}) {
        control.setText(QString::fromLatin1(name));
        control.setMaxLength(std::numeric_limits<int>::max());
        control.setAccessibleName(withoutColon(caption.text()));
        place(control, name, bounds, tabIndex, points);
    }

    void button(QPushButton& control, const char* name, const QString& caption, TwipsRect bounds,
                int tabIndex, FontSize points = {}) {
        control.setText(caption);
        place(control, name, bounds, tabIndex, points);
    }

    void chainTabOrder() {
        std::ranges::sort(tabStops_, {}, &TabStop::first);
        QWidget* previous = nullptr;
        for (const auto& [tabIndex, control] : tabStops_) {
            if ((control->focusPolicy() & Qt::TabFocus) == 0) {
                continue;
            }
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, control);
            }
            previous = control;
        }
    }

  private:
    using TabStop = std::pair<int, QWidget*>;
    std::vector<TabStop> tabStops_;
};

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent, kWindowFlags) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    setFixedSize(platform::twipsToPixels(kClientWidthTwips),
                 platform::twipsToPixels(kClientHeightTwips));
    setFont(platform::songFont(kWindowFontPoints));

    Layout layout;

    layout.label(*Label1, "Label1", QStringLiteral("Norvessa测试版"), {3120, 240, 5280, 525}, 2,
                 26.25);
    setTextColour(*Label1, kTitleColour);
    layout.label(*Label2, "Label2", QStringLiteral("V1.0"), {8640, 480, 660, 315}, 3, 15.75);
    setTextColour(*Label2, kVersionColour);

    Frame1->setCaption(QStringLiteral("所查询FLASH支持主控型号如下："));
    Frame1->setCaptionColour(kFrameCaptionColour);
    Frame1->setBackColour(kBackColour);
    layout.place(*Frame1, "Frame1", {0, 960, 12495, 3855}, 0, 14.25);
    layout.place(*ListView1, "ListView1", {240, 360, 12015, 3375}, 1, 10.5);
    ListView1->setAccessibleName(withoutColon(Frame1->caption()));

    layout.label(*Label3, "Label3", QStringLiteral("请输入要查询FLASH型号："),
                 {240, 5047, 4140, 360}, 4, 18);
    layout.textBox(*Text1, "Text1", *Label3, {4320, 4980, 2655, 495}, 17, 15.75);
    layout.button(*Command1, "Command1", QStringLiteral("点击查询"), {7440, 4920, 1935, 615}, 26);
    layout.label(*Label16, "Label16", QStringLiteral("共查到0个结果"), {10080, 5160, 1560, 240},
                 27);

    layout.label(*Label4, "Label4", QStringLiteral("型号："), {360, 5760, 720, 240}, 5);
    layout.label(*Label5, "Label5", QStringLiteral("品牌："), {360, 6440, 720, 240}, 6);
    layout.label(*Label6, "Label6", QStringLiteral("容量："), {360, 7120, 720, 240}, 7);
    layout.label(*Label7, "Label7", QStringLiteral("类型："), {360, 7800, 720, 240}, 8);
    layout.label(*Label8, "Label8", QStringLiteral("位宽："), {3840, 5760, 720, 240}, 9);
    layout.label(*Label9, "Label9", QStringLiteral("片选："), {3840, 6440, 720, 240}, 10);
    layout.label(*Label10, "Label10", QStringLiteral("ID号："), {3840, 7120, 720, 240}, 11);
    layout.label(*Label11, "Label11", QStringLiteral("IC制程："), {3600, 7800, 960, 240}, 12);
    layout.label(*Label12, "Label12", QStringLiteral("ECC纠错："), {7080, 5760, 1080, 240}, 13);
    layout.label(*Label13, "Label13", QStringLiteral("工作电压："), {6960, 6440, 1200, 240}, 14);
    layout.label(*Label14, "Label14", QStringLiteral("芯片版本："), {6960, 7120, 1200, 240}, 15);
    layout.label(*Label15, "Label15", QStringLiteral("备注："), {7440, 7800, 720, 240}, 16);

    layout.textBox(*Text2, "Text2", *Label4, {1200, 5693, 2055, 375}, 18);
    layout.textBox(*Text3, "Text3", *Label5, {1200, 6373, 2055, 375}, 19);
    layout.textBox(*Text4, "Text4", *Label6, {1200, 7053, 2055, 375}, 20);
    layout.textBox(*Text5, "Text5", *Label7, {1200, 7733, 2055, 375}, 21);
    layout.textBox(*Text6, "Text6", *Label8, {4740, 5693, 2055, 375}, 22);
    layout.textBox(*Text7, "Text7", *Label9, {4740, 6373, 2055, 375}, 23);
    layout.textBox(*Text8, "Text8", *Label10, {4740, 7053, 2055, 375}, 24);
    layout.textBox(*Text9, "Text9", *Label11, {4740, 7733, 2055, 375}, 25);
    layout.textBox(*Text10, "Text10", *Label12, {8280, 5693, 2055, 375}, 31);
    layout.textBox(*Text11, "Text11", *Label13, {8280, 6373, 2055, 375}, 30);
    layout.textBox(*Text12, "Text12", *Label14, {8280, 7053, 2055, 375}, 29);
    layout.textBox(*Text13, "Text13", *Label15, {8280, 7733, 2055, 375}, 28);

    layout.button(*Command2, "Command2", QStringLiteral("群联型号对照"), {10680, 5633, 1575, 495},
                  32, 10.5);
    layout.button(*Command3, "Command3", QStringLiteral("安国型号对照"), {10680, 6313, 1575, 495},
                  33, 10.5);
    layout.button(*Command4, "Command4", QStringLiteral("问题反馈"), {10680, 6993, 1575, 495}, 34,
                  10.5);
    // Command5 also stores a light-cyan back colour (128, 255, 255), which the standard button
    // style does not draw; it is left out so the button looks like the other three.
    layout.button(*Command5, "Command5", QStringLiteral("关于"), {10680, 7673, 1575, 495}, 35,
                  10.5);

    layout.chainTabOrder();
    // The lowest tab position that takes the focus has it when the window first shows.
    ListView1->setFocus();

    secondary_windows::registerMainWindow(*this);
    platform::onClicked(Command1, this, [this] { Command1_Click(); });
    platform::onClicked(Command2, this, [this] { Command2_Click(); });
    platform::onClicked(Command3, this, [this] { Command3_Click(); });
    platform::onClicked(Command4, this, [this] { Command4_Click(); });
    platform::onClicked(Command5, this, [this] { Command5_Click(); });
}

void Form1::Command2_Click() {
    secondary_windows::openForm2();
}

void Form1::Command3_Click() {
    secondary_windows::openForm3();
}

void Form1::Command4_Click() {
    secondary_windows::openForm4();
}

void Form1::Command5_Click() {
    secondary_windows::openForm5();
}

void Form1::Form_Load() {
    finishDatabaseProvisioning();
    csl_Txt();
    SetupResultColumns();
}

void Form1::csl_Txt() {
    for (QLineEdit* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
                           Text11, Text12, Text13}) {
        box->setText(QString());
    }
}

void Form1::SetupResultColumns() {
    ListView1->listItems().clear();
    ListView1->setView(platform::ListViewMode::Report);
    ListView1->setOption(platform::ListViewOption::FullRowSelect, true);
    ListView1->setOption(platform::ListViewOption::GridLines, true);
    for (const ResultColumn& column : kResultColumns) {
        ListView1->columnHeaders().add(QString::fromUtf8(column.text), column.widthTwips);
    }
}

// The window's back colour is painted here rather than set in its palette, so that it does not
// tint the buttons, boxes and list, which keep the system's colours.
void Form1::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), kBackColour);
    // The icon waits for the first paint: reading it loads an image plugin, which the window's
    // first appearance need not wait for.
    if (!iconRequested_) {
        iconRequested_ = true;
        QTimer::singleShot(0, this, &Form1::showProgramIcon);
    }
}

void Form1::showProgramIcon() {
    // The icon generator's output joins the resources separately; until it has, the window
    // goes without.
    if (QFile::exists(resources::kProgramIconPath)) {
        setWindowIcon(resources::loadIcon(resources::kProgramIconPath));
    }
}

}  // namespace norvessa::main_window
