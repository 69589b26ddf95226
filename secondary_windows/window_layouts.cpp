#include "secondary_windows/window_layouts.h"

#include <string>

#include "platform/controls/description_helpers.h"
#include "secondary_windows/maker_details.h"

namespace norvessa::secondary_windows {
namespace {

using controls::Centring;
using controls::ControlDescription;
using controls::ControlKind;
using controls::Rgb;
using controls::WindowDescription;

// The secondary windows have a close box only and appear in the middle of the primary screen.
WindowDescription secondaryWindow(std::string name, std::string caption, int widthTwips,
                                  int heightTwips) {
    return {.name = std::move(name),
            .caption = std::move(caption),
            .clientWidthTwips = widthTwips,
            .clientHeightTwips = heightTwips,
            .fontPoints = 12,
            .centring = Centring::OnWholeScreen};
}

// The labels of the feedback and About windows, which have no place in the tab order.
ControlDescription label(std::string name, std::string caption, controls::TwipsRect bounds,
                         double points, std::optional<Rgb> colour = {}) {
    return controls::label(std::move(name), std::move(caption), bounds, std::nullopt, points,
                           colour);
}

std::string text(std::string_view value) {
    return std::string(value);
}

WindowDescription describeForm2() {
    WindowDescription form = secondaryWindow("Form2", "群联型号对应表", 4455, 5715);
    form.picture = "form2_table.bmp";
    return form;
}

WindowDescription describeForm3() {
    WindowDescription form = secondaryWindow("Form3", "安国型号对照表", 6165, 4350);
    form.picture = "form3_table.bmp";
    form.icon = "form3.ico";
    return form;
}

WindowDescription describeForm4() {
    constexpr Rgb kPurple{192, 0, 192};
    WindowDescription form = secondaryWindow("Form4", "问题反馈", 7260, 2940);
    form.background = Rgb{255, 192, 192};
    ControlDescription profile = label("Label4", "数码之家论坛空间：" + text(kMakerProfileAddress),
                                       {240, 2280, 6975, 375}, 12, Rgb{0, 0, 255});
    // The one label with a fixed box; the profile address in it is plain text, not a link.
    profile.sizing = controls::LabelSizing::Fixed;
    form.controls = {
        label("Label5", "非常感谢您对本软件的支持，如在使用中遇到任何问题，", {120, 120, 6000, 240},
              12),
        label("Label6", "可以通过以下方式联系我：", {120, 480, 2880, 240}, 12),
        label("Label3", "作者：" + text(kMakerHandle), {900, 840, 2595, 315}, 15.75, kPurple),
        label("Label1", "QQ：" + text(kMakerQqNumber), {1200, 1320, 2130, 315}, 15.75,
              Rgb{0, 0, 192}),
        label("Label2", "邮箱：" + text(kMakerEmailAddress), {900, 1800, 3585, 315}, 15.75,
              kPurple),
        profile,
    };
    return form;
}

// A forum's address as a label that reports its clicks, with a tooltip saying where it leads.
ControlDescription forumLink(std::string name, std::string_view forum, std::string_view address,
                             controls::TwipsRect bounds) {
    ControlDescription link =
        label(std::move(name), std::string(forum) + "论坛网址：" + text(address), bounds, 12,
              Rgb{255, 0, 0});
    link.toolTip = "点击进入" + std::string(forum) + "论坛";
    link.reportsClicks = true;
    return link;
}

WindowDescription describeForm5() {
    constexpr Rgb kDarkRed{192, 0, 0};
    WindowDescription form =
        secondaryWindow("Form5", "关于   made by " + text(kMakerHandle), 9975, 5595);
    form.background = Rgb{192, 255, 192};
    form.controls = {
        label("Label1", "很高兴您使用本软件，本软件专为DIY U盘爱好者而开发，",
              {600, 240, 6120, 240}, 12, Rgb{192, 0, 192}),
        label("Label2", "方便各位DIY U盘爱好者，请勿用于非法用途。", {240, 720, 4920, 240}, 12,
              Rgb{255, 0, 255}),
        label("Label3", "在此感谢提供资料以及帮助的朋友，特别感谢如下朋友：",
              {240, 1200, 6000, 240}, 12, Rgb{128, 0, 128}),
        // The thanked handles, two rows of four under Label3.
        label("Label4", text(kThankedHandles[0]), {480, 1800, 1080, 240}, 12),
        label("Label5", text(kThankedHandles[1]), {2160, 1800, 840, 240}, 12),
        label("Label8", text(kThankedHandles[2]), {3840, 1800, 720, 240}, 12),
        label("Label16", text(kThankedHandles[3]), {5160, 1800, 1080, 240}, 12),
        label("Label9", text(kThankedHandles[4]), {480, 2280, 1080, 240}, 12),
        label("Label6", text(kThankedHandles[5]), {2040, 2280, 1440, 240}, 12),
        label("Label7", text(kThankedHandles[6]), {3960, 2280, 480, 240}, 12),
        label("Label17", text(kThankedHandles[7]), {5160, 2280, 480, 240}, 12),
        label("Label10", "最后非常感谢数码之家论坛以及量产吧论坛，", {240, 3000, 4800, 240}, 12,
              kDarkRed),
        label("Label11", "在这两个论坛里，认识了很多朋友，也学到了很多，", {240, 3480, 5520, 240},
              12, kDarkRed),
        label("Label12", "祝愿这两个论坛越办越好。", {240, 3960, 2880, 240}, 12, kDarkRed),
        forumLink("Label14", "数码之家", kMydigitForumAddress, {240, 4440, 4680, 240}),
        forumLink("Label13", "量产吧", kLiangchanbaForumAddress, {240, 4920, 5040, 240}),
        label("Label15", "软件版本：测试版V1.0（数据未完整）", {6240, 5160, 3570, 210}, 10.5,
              Rgb{0, 0, 255}),
        // The picture at its own size, not stretched, without a border; it reacts to nothing.
        ControlDescription{.kind = ControlKind::Picture,
                           .name = "Image1",
                           .bounds = {6960, 120, 2850, 4815},
                           .picture = "form5_image1.jpg"},
    };
    return form;
}

}  // namespace

const WindowDescription& form2Description() {
    static const WindowDescription description = describeForm2();
    return description;
}

const WindowDescription& form3Description() {
    static const WindowDescription description = describeForm3();
    return description;
}

const WindowDescription& form4Description() {
    static const WindowDescription description = describeForm4();
    return description;
}

const WindowDescription& form5Description() {
    static const WindowDescription description = describeForm5();
    return description;
}

}  // namespace norvessa::secondary_windows
