#include "main_window/form1_layout.h"

#include "platform/controls/description_helpers.h"
#include "secondary_windows/maker_details.h"

namespace norvessa::main_window {
namespace {

using controls::button;
using controls::ControlDescription;
using controls::ControlKind;
using controls::label;
using controls::Rgb;
using controls::textBox;
using controls::WindowDescription;

constexpr Rgb kBackColour{192, 192, 255};

WindowDescription describeForm1() {
    WindowDescription form{
        .name = "Form1",
        .caption = "Norvessa测试版V1.0  made by " + std::string(secondary_windows::kMakerHandle) +
                   "                      20140320",
        .clientWidthTwips = 12510,
        .clientHeightTwips = 8385,
        .fontPoints = 12,
        .background = kBackColour,
        .icon = "norvessa.ico",
        .deferIcon = true,
        .minimizeBox = true,
        .centring = controls::Centring::OnWorkArea,
        .endsProgramWhenClosed = true,
    };
    // In creation order: a later control is drawn over an earlier one where they overlap
    // (Text1 over the end of Label3).
    form.controls = {
        label("Label1", "Norvessa测试版", {3120, 240, 5280, 525}, 2, 26.25, Rgb{255, 0, 0}),
        label("Label2", "V1.0", {8640, 480, 660, 315}, 3, 15.75, Rgb{0, 0, 192}),
        ControlDescription{.kind = ControlKind::Frame,
                           .name = "Frame1",
                           .bounds = {0, 960, 12495, 3855},
                           .fontPoints = 14.25,
                           .caption = "所查询FLASH支持主控型号如下：",
                           .foreground = Rgb{0, 0, 255},
                           .background = kBackColour,
                           .tabIndex = 0},
        ControlDescription{.kind = ControlKind::ListView,
                           .name = "ListView1",
                           .container = "Frame1",
                           .bounds = {240, 360, 12015, 3375},
                           .fontPoints = 10.5,
                           .tabIndex = 1,
                           .takesFocus = true,
                           .accessibleName = "所查询FLASH支持主控型号如下"},
        label("Label3", "请输入要查询FLASH型号：", {240, 5047, 4140, 360}, 4, 18),
        textBox("Text1", "请输入要查询FLASH型号", {4320, 4980, 2655, 495}, 17, 15.75),
        button("Command1", "点击查询", {7440, 4920, 1935, 615}, 26),
        label("Label16", "共查到0个结果", {10080, 5160, 1560, 240}, 27),

        label("Label4", "型号：", {360, 5760, 720, 240}, 5),
        label("Label5", "品牌：", {360, 6440, 720, 240}, 6),
        label("Label6", "容量：", {360, 7120, 720, 240}, 7),
        label("Label7", "类型：", {360, 7800, 720, 240}, 8),
        label("Label8", "位宽：", {3840, 5760, 720, 240}, 9),
        label("Label9", "片选：", {3840, 6440, 720, 240}, 10),
        label("Label10", "ID号：", {3840, 7120, 720, 240}, 11),
        label("Label11", "IC制程：", {3600, 7800, 960, 240}, 12),
        label("Label12", "ECC纠错：", {7080, 5760, 1080, 240}, 13),
        label("Label13", "工作电压：", {6960, 6440, 1200, 240}, 14),
        label("Label14", "芯片版本：", {6960, 7120, 1200, 240}, 15),
        label("Label15", "备注：", {7440, 7800, 720, 240}, 16),

        textBox("Text2", "型号", {1200, 5693, 2055, 375}, 18),
        textBox("Text3", "品牌", {1200, 6373, 2055, 375}, 19),
        textBox("Text4", "容量", {1200, 7053, 2055, 375}, 20),
        textBox("Text5", "类型", {1200, 7733, 2055, 375}, 21),
        textBox("Text6", "位宽", {4740, 5693, 2055, 375}, 22),
        textBox("Text7", "片选", {4740, 6373, 2055, 375}, 23),
        textBox("Text8", "ID号", {4740, 7053, 2055, 375}, 24),
        textBox("Text9", "IC制程", {4740, 7733, 2055, 375}, 25),
        textBox("Text10", "ECC纠错", {8280, 5693, 2055, 375}, 31),
        textBox("Text11", "工作电压", {8280, 6373, 2055, 375}, 30),
        textBox("Text12", "芯片版本", {8280, 7053, 2055, 375}, 29),
        textBox("Text13", "备注", {8280, 7733, 2055, 375}, 28),

        button("Command2", "群联型号对照", {10680, 5633, 1575, 495}, 32, 10.5),
        button("Command3", "安国型号对照", {10680, 6313, 1575, 495}, 33, 10.5),
        button("Command4", "问题反馈", {10680, 6993, 1575, 495}, 34, 10.5),
        // Command5 also stores a light-cyan back colour (128, 255, 255), which the standard
        // button style does not draw; it is left out so the button looks like the other three.
        button("Command5", "关于", {10680, 7673, 1575, 495}, 35, 10.5),
    };
    return form;
}

}  // namespace

const WindowDescription& form1Description() {
    static const WindowDescription description = describeForm1();
    return description;
}

}  // namespace norvessa::main_window
