#include "platform/win32/native_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/controls/twips.h"
#include "platform/core/platform_error.h"
#include "platform/win32/pictures.h"
#include "platform/win32/scaling.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {

using controls::ControlDescription;
using controls::ControlKind;

namespace {

// Control identifiers start above the dialog manager's IDOK and IDCANCEL, which it sends for
// Enter and Esc outside a button.
constexpr int kFirstControlId = 1000;

// Posted at the first paint, to set an icon that the first appearance need not wait for.
constexpr UINT kSetDeferredIcon = WM_APP + 1;

COLORREF colourOf(const controls::Rgb& colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

std::string textOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return narrow(text);
}

void setTextOf(HWND control, std::string_view text, const std::string& name) {
    if (!SetWindowTextW(control, widen(text).c_str())) {
        throwLastError("SetWindowTextW for " + name);
    }
}

const wchar_t* classOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Picture:
            return L"STATIC";
        case ControlKind::TextBox:
            return L"EDIT";
        case ControlKind::Button:
        case ControlKind::Frame:
            return L"BUTTON";
        case ControlKind::ListView:
            return WC_LISTVIEWW;
    }
    throw std::invalid_argument("unknown control kind");
}

DWORD styleOf(const ControlDescription& description) {
    // Siblings clip each other, so that where two overlap the upper one shows.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (description.takesFocus) {
        style |= WS_TABSTOP;
    }
    switch (description.kind) {
        case ControlKind::Label:
            style |= SS_NOPREFIX |
                     (description.sizing == controls::LabelSizing::AutoSize ? SS_LEFTNOWORDWRAP
                                                                            : SS_LEFT);
            // A static control sees the pointer only when it reports clicks.
            if (description.reportsClicks || !description.toolTip.empty()) {
                style |= SS_NOTIFY;
            }
            return style;
        case ControlKind::Picture:
            return style | SS_BITMAP;
        case ControlKind::TextBox:
            return style | ES_LEFT | ES_AUTOHSCROLL;
        case ControlKind::Button:
            return style | BS_PUSHBUTTON;
        case ControlKind::Frame:
            return style | BS_GROUPBOX;
        case ControlKind::ListView:
            return style | LVS_SHOWSELALWAYS;
    }
    throw std::invalid_argument("unknown control kind");
}

DWORD extendedStyleOf(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::ListView ? WS_EX_CLIENTEDGE : 0;
}

DWORD windowStyleOf(const controls::WindowDescription& description) {
    // A fixed border: a caption with the system menu and close box, no sizing edges and no
    // maximise box.
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (description.minimizeBox ? WS_MINIMIZEBOX : 0);
}

class NativeTextBox : public controls::TextBox {
  public:
    NativeTextBox(HWND control, std::string name) : control_(control), name_(std::move(name)) {}

    std::string text() const override { return textOf(control_); }

    void setText(std::string_view text) override {
        setTextOf(control_, text, name_);
        // A text longer than the box shows its start.
        SendMessageW(control_, EM_SETSEL, 0, 0);
        SendMessageW(control_, EM_SCROLLCARET, 0, 0);
    }

  private:
    HWND control_;
    std::string name_;
};

}  // namespace

struct NativeWindow::Control {
    Control(const ControlDescription& describedAs, int controlId)
        : description(describedAs), id(controlId) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlDescription& description;
    int id;
    HWND handle = nullptr;
    // An auto-size label whose caption was replaced takes the caption's width exactly.
    bool widthFromCaption = false;
    std::unique_ptr<NativeListView> list;
    std::unique_ptr<controls::TextBox> textBox;
    std::unique_ptr<controls::Label> label;
    std::function<void()> clicked;
    OwnedBrush backBrush;
    OwnedBitmap picture;
};

namespace {

class NativeLabel : public controls::Label {
  public:
    NativeLabel(NativeWindow::Control& control, std::function<void()> fit)
        : control_(control), fit_(std::move(fit)) {}

    std::string caption() const override { return textOf(control_.handle); }

    void setCaption(std::string_view caption) override {
        setTextOf(control_.handle, caption, control_.description.name);
        control_.widthFromCaption = true;
        fit_();
    }

  private:
    NativeWindow::Control& control_;
    std::function<void()> fit_;
};

}  // namespace

NativeWindow::NativeWindow(const controls::WindowDescription& description,
                           controls::ErrorPresenter present)
    : controls::Window(description), present_(std::move(present)), dpi_(primaryMonitorDpi()) {
    if (description.background) {
        backBrush_.reset(checked(CreateSolidBrush(colourOf(*description.background)),
                                 "CreateSolidBrush for " + description.name));
    }
    if (!description.picture.empty()) {
        picture_.reset(loadPicture(description.picture));
    }

    // Created hidden, centred on the primary monitor.
    const DWORD style = windowStyleOf(description);
    const SIZE client{controls::twipsToPixels(description.clientWidthTwips, dpi_),
                      controls::twipsToPixels(description.clientHeightTwips, dpi_)};
    const SIZE outer = windowSizeForClient(client, style, 0, dpi_);
    const RECT area = primaryMonitorArea(description.centring == controls::Centring::OnWorkArea);
    const LONG left = area.left + (area.right - area.left - outer.cx) / 2;
    const LONG top = area.top + (area.bottom - area.top - outer.cy) / 2;
    create(description.name, widen(description.caption), style, 0,
           RECT{left, top, left + outer.cx, top + outer.cy});

    int id = kFirstControlId;
    for (const ControlDescription& control : description.controls) {
        createControl(control, id++);
    }
    arrangeTabOrder();
    nameControlsForScreenReaders();
    layOut();
    if (!description.icon.empty() && !description.deferIcon) {
        setIcon();
    }
}

NativeWindow::~NativeWindow() {
    // The controls go before the fonts, brushes and pictures they use.
    destroy();
}

void NativeWindow::createControl(const ControlDescription& description, int id) {
    auto control = std::make_unique<Control>(description, id);
    control->handle =
        checked(CreateWindowExW(extendedStyleOf(description.kind), classOf(description.kind),
                                widen(description.caption).c_str(), styleOf(description), 0, 0, 0,
                                0, handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr),
                "CreateWindowExW for " + description.name);
    Control& created = *control;
    controls_.push_back(std::move(control));

    switch (description.kind) {
        case ControlKind::TextBox:
            // No length limit beyond the control's own largest.
            SendMessageW(created.handle, EM_SETLIMITTEXT, 0, 0);
            created.textBox = std::make_unique<NativeTextBox>(created.handle, description.name);
            break;
        case ControlKind::Label:
            created.label =
                std::make_unique<NativeLabel>(created, [this, &created] { fitLabel(created); });
            if (!description.toolTip.empty()) {
                addToolTip(created);
            }
            break;
        case ControlKind::ListView:
            created.list = std::make_unique<NativeListView>(created.handle, dpi_);
            break;
        case ControlKind::Frame:
            if (description.background) {
                created.backBrush.reset(checked(CreateSolidBrush(colourOf(*description.background)),
                                                "CreateSolidBrush for " + description.name));
            }
            // The group box draws its caption in the button text colour whatever it is asked;
            // the frame draws itself in its own colours.
            SetWindowSubclass(created.handle, &NativeWindow::frameProcedure, 0,
                              reinterpret_cast<DWORD_PTR>(this));
            break;
        case ControlKind::Picture:
            created.picture.reset(loadPicture(description.picture));
            SendMessageW(created.handle, STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(created.picture.get()));
            break;
        case ControlKind::Button:
            break;
    }
}

void NativeWindow::addToolTip(const Control& control) {
    if (toolTips_ == nullptr) {
        toolTips_ = checked(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                            handle(), nullptr, GetModuleHandleW(nullptr), nullptr),
                            "CreateWindowExW for the tool tips of " + description().name);
    }
    std::wstring text = widen(control.description.toolTip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle();
    tool.uId = reinterpret_cast<UINT_PTR>(control.handle);
    tool.lpszText = text.data();
    if (!SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        throw PlatformError("the tool tip of " + control.description.name + " could not be added");
    }
}

// Windows moves the focus through the controls in their stacking order, top first, and draws an
// upper control over a lower one. The controls that take the focus go on top in the order of
// their tab positions; the others below them, a later one above an earlier one.
void NativeWindow::arrangeTabOrder() {
    std::vector<const Control*> focusable;
    std::vector<const Control*> others;
    for (const auto& control : controls_) {
        (control->description.takesFocus ? focusable : others).push_back(control.get());
    }
    std::ranges::stable_sort(focusable, {}, [](const Control* control) {
        return control->description.tabIndex.value_or(0);
    });
    std::ranges::reverse(others);
    HWND above = HWND_TOP;
    for (const auto& group : {focusable, others}) {
        for (const Control* control : group) {
            SetWindowPos(control->handle, above, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            above = control->handle;
        }
    }
}

// A box is announced by the caption in front of it, a list by its frame's caption: names that
// Windows cannot guess from the stacking order, which here follows the tab order. Where the
// system has no accessibility service, screen readers go by their own guess.
void NativeWindow::nameControlsForScreenReaders() {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    for (const auto& control : controls_) {
        if (!control->description.accessibleName.empty()) {
            services->SetHwndPropStr(control->handle, static_cast<DWORD>(OBJID_CLIENT),
                                     CHILDID_SELF, PROPID_ACC_NAME,
                                     widen(control->description.accessibleName).c_str());
        }
    }
    services->Release();
}

HFONT NativeWindow::fontOf(const ControlDescription& description) {
    return fonts_.at(description.fontPoints.value_or(this->description().fontPoints), dpi_);
}

void NativeWindow::layOut() {
    for (const auto& control : controls_) {
        SendMessageW(control->handle, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fontOf(control->description)), FALSE);
        placeControl(*control);
        if (control->list) {
            control->list->applyDpi(dpi_);
        }
    }
}

void NativeWindow::placeControl(Control& control) {
    controls::TwipsRect bounds = control.description.bounds;
    if (!control.description.container.empty()) {
        const controls::TwipsRect& container =
            find(control.description.container, ControlKind::Frame).description.bounds;
        bounds.left += container.left;
        bounds.top += container.top;
    }
    const controls::PixelRect place = controls::twipsToPixelRect(bounds, dpi_);
    if (!SetWindowPos(control.handle, nullptr, place.left, place.top, place.width, place.height,
                      SWP_NOZORDER | SWP_NOACTIVATE)) {
        throwLastError("SetWindowPos for " + control.description.name);
    }
    if (control.description.kind == ControlKind::Label &&
        control.description.sizing == controls::LabelSizing::AutoSize) {
        fitLabel(control);
    }
}

// An auto-size label is at least as wide as its caption and as high as its font's line; a
// replaced caption sets the width exactly. The top-left corner stays.
void NativeWindow::fitLabel(Control& control) {
    HDC context = checked(GetDC(control.handle), "GetDC for " + control.description.name);
    const HGDIOBJ previous = SelectObject(context, fontOf(control.description));
    const std::wstring caption = widen(textOf(control.handle));
    SIZE extent{};
    GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    SelectObject(context, previous);
    ReleaseDC(control.handle, context);

    const controls::PixelRect stored = controls::twipsToPixelRect(control.description.bounds, dpi_);
    const int width = control.widthFromCaption
                          ? static_cast<int>(extent.cx)
                          : std::max(stored.width, static_cast<int>(extent.cx));
    const int height = std::max(stored.height, static_cast<int>(metrics.tmHeight));
    SetWindowPos(control.handle, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::applyDpi(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    layOut();
    if (suggested != nullptr) {
        SetWindowPos(handle(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (iconSet_) {
        setIcon();
    }
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void NativeWindow::setIcon() {
    const std::string& file = description().icon;
    // The caption's and the task bar's icon sizes, 16 and 32 pixels at 96 DPI.
    OwnedIcon big(loadIcon(file, 32 * dpi_ / controls::kStandardDotsPerInch));
    OwnedIcon small(loadIcon(file, 16 * dpi_ / controls::kStandardDotsPerInch));
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window shows the new icons now; the old ones may go.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
    iconSet_ = true;
}

// What lies behind a control: its own back colour, else the window's, else the button face.
HBRUSH NativeWindow::backBrushOf(const Control* control) const {
    if (control != nullptr && control->backBrush != nullptr) {
        return control->backBrush.get();
    }
    return backBrush_ != nullptr ? backBrush_.get() : GetSysColorBrush(COLOR_BTNFACE);
}

void NativeWindow::eraseBackground(HDC context) {
    RECT client{};
    GetClientRect(handle(), &client);
    FillRect(context, &client, backBrushOf(nullptr));
    if (picture_ == nullptr) {
        return;
    }
    // One picture pixel to one device pixel, at the top-left corner, clipped at the edges.
    BITMAP size{};
    GetObjectW(picture_.get(), sizeof(size), &size);
    HDC source = CreateCompatibleDC(context);
    const HGDIOBJ previous = SelectObject(source, picture_.get());
    BitBlt(context, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

LRESULT CALLBACK NativeWindow::frameProcedure(HWND frame, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR /*subclass*/,
                                              DWORD_PTR window) {
    switch (message) {
        case WM_PAINT:
            reinterpret_cast<NativeWindow*>(window)->paintFrame(frame);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCDESTROY:
            RemoveWindowSubclass(frame, &NativeWindow::frameProcedure, 0);
            break;
        default:
            break;
    }
    return DefSubclassProc(frame, message, wParam, lParam);
}

// An etched edge whose top line runs through the middle of the caption's line; the caption starts
// 120 twips in from the left edge, with a small gap of back colour around it.
void NativeWindow::paintFrame(HWND frame) {
    PAINTSTRUCT paint{};
    HDC context = BeginPaint(frame, &paint);
    const Control* control = find(frame);
    if (context == nullptr || control == nullptr) {
        EndPaint(frame, &paint);
        return;
    }
    const ControlDescription& description = control->description;
    HBRUSH back = backBrushOf(control);
    RECT box{};
    GetClientRect(frame, &box);
    FillRect(context, &box, back);

    const HGDIOBJ previous = SelectObject(context, fontOf(description));
    const int em =
        pointsToPixels(description.fontPoints.value_or(this->description().fontPoints), dpi_);
    RECT edge = box;
    edge.top = em / 2;
    DrawEdge(context, &edge, EDGE_ETCHED, BF_RECT);

    const std::wstring caption = widen(description.caption);
    if (!caption.empty()) {
        SIZE extent{};
        GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &extent);
        const int indent = controls::twipsToPixels(120, dpi_);
        const int gap = controls::twipsToPixels(30, dpi_);
        const RECT behind{indent - gap, 0, indent + extent.cx + gap, extent.cy};
        FillRect(context, &behind, back);
        SetBkMode(context, TRANSPARENT);
        SetTextColor(context, description.foreground ? colourOf(*description.foreground)
                                                     : GetSysColor(COLOR_BTNTEXT));
        TextOutW(context, indent, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(context, previous);
    EndPaint(frame, &paint);
}

LRESULT NativeWindow::colourStatic(HDC context, HWND control) {
    const Control* found = find(control);
    HBRUSH back = backBrushOf(found);
    if (found == nullptr) {
        return reinterpret_cast<LRESULT>(back);
    }
    const ControlDescription& description = found->description;
    SetTextColor(context, description.foreground ? colourOf(*description.foreground)
                                                 : GetSysColor(COLOR_BTNTEXT));
    // The caption is drawn over what lies behind the control.
    SetBkMode(context, TRANSPARENT);
    LOGBRUSH colour{};
    GetObjectW(back, sizeof(colour), &colour);
    SetBkColor(context, colour.lbColor);
    return reinterpret_cast<LRESULT>(back);
}

void NativeWindow::clicked(WORD id) {
    const auto found = std::ranges::find(controls_, static_cast<int>(id), &Control::id);
    if (found == controls_.end() || !(*found)->clicked) {
        return;
    }
    // Copies: the handler may close and destroy this window.
    const std::function<void()> handler = (*found)->clicked;
    const controls::ErrorPresenter present = present_;
    controls::runEventHandler(handler, present);
}

void NativeWindow::requestClose() {
    std::int16_t cancel = 0;
    const controls::ErrorPresenter present = present_;
    if (unloadHandler_) {
        const auto unload = unloadHandler_;
        controls::runEventHandler([&] { unload(cancel); }, present);
    }
    if (cancel != 0) {
        return;
    }
    const bool endsProgram = description().endsProgramWhenClosed;
    ShowWindow(handle(), SW_HIDE);
    // The closed handler may destroy this window: nothing of it is used afterwards.
    if (const std::function<void()> closed = closedHandler_) {
        controls::runEventHandler(closed, present);
    }
    if (endsProgram) {
        PostQuitMessage(0);
    }
}

LRESULT NativeWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CTLCOLORSTATIC:
            return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            // Buttons report BN_CLICKED, click-reporting labels STN_CLICKED; both are 0.
            if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
                clicked(LOWORD(wParam));
            }
            return 0;
        case WM_PAINT: {
            const LRESULT result = defaultHandling(message, wParam, lParam);
            if (!painted_) {
                painted_ = true;
                if (description().deferIcon) {
                    PostMessageW(handle(), kSetDeferredIcon, 0, 0);
                }
                if (firstPainted_) {
                    firstPainted_();
                }
            }
            return result;
        }
        case kSetDeferredIcon:
            if (!iconSet_) {
                try {
                    setIcon();
                } catch (const PlatformError&) {
                    // A deferred icon the program does not carry is left out.
                    iconSet_ = true;
                }
            }
            return 0;
        case WM_ACTIVATE:
            // The focus comes back to where it was when the window was last active.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(handle(), focus)) {
                    savedFocus_ = focus;
                }
                return 0;
            }
            if (savedFocus_ != nullptr && IsChild(handle(), savedFocus_)) {
                SetFocus(savedFocus_);
                return 0;
            }
            return defaultHandling(message, wParam, lParam);
        case WM_DPICHANGED:
            applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            requestClose();
            return 0;
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

void NativeWindow::windowDestroyed() {
    for (auto& control : controls_) {
        control->handle = nullptr;
    }
}

NativeWindow::Control& NativeWindow::find(std::string_view name, ControlKind kind) const {
    for (const auto& control : controls_) {
        if (control->description.name == name && control->description.kind == kind) {
            return *control;
        }
    }
    throw std::out_of_range(description().name + " has no such control: " + std::string(name));
}

NativeWindow::Control* NativeWindow::find(HWND control) const {
    for (const auto& candidate : controls_) {
        if (candidate->handle == control) {
            return candidate.get();
        }
    }
    return nullptr;
}

HWND NativeWindow::control(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->description.name == name) {
            return control->handle;
        }
    }
    throw std::out_of_range(description().name + " has no control " + std::string(name));
}

controls::TextBox& NativeWindow::textBox(std::string_view name) {
    return *find(name, ControlKind::TextBox).textBox;
}

controls::Label& NativeWindow::label(std::string_view name) {
    return *find(name, ControlKind::Label).label;
}

controls::ListView& NativeWindow::listView(std::string_view name) {
    return *find(name, ControlKind::ListView).list;
}

void NativeWindow::onClick(std::string_view controlName, std::function<void()> handler) {
    for (const auto& control : controls_) {
        const ControlDescription& description = control->description;
        const bool reports = description.kind == ControlKind::Button ||
                             (description.kind == ControlKind::Label && description.reportsClicks);
        if (description.name == controlName && reports) {
            control->clicked = std::move(handler);
            return;
        }
    }
    throw std::out_of_range(description().name + " has no clickable control " +
                            std::string(controlName));
}

void NativeWindow::onUnload(std::function<void(std::int16_t& cancel)> handler) {
    unloadHandler_ = std::move(handler);
}

void NativeWindow::onClosed(std::function<void()> handler) {
    closedHandler_ = std::move(handler);
}

void NativeWindow::show() {
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    if (!shownBefore_) {
        shownBefore_ = true;
        // The focus starts at the lowest tab position that takes it.
        const Control* first = nullptr;
        for (const auto& control : controls_) {
            if (control->description.takesFocus &&
                (first == nullptr || control->description.tabIndex.value_or(0) <
                                         first->description.tabIndex.value_or(0))) {
                first = control.get();
            }
        }
        if (first != nullptr) {
            SetFocus(first->handle);
        }
    }
}

void NativeWindow::hide() {
    ShowWindow(handle(), SW_HIDE);
}

bool NativeWindow::isVisible() const {
    return handle() != nullptr && IsWindowVisible(handle()) != FALSE;
}

void NativeWindow::close() {
    SendMessageW(handle(), WM_CLOSE, 0, 0);
}

}  // namespace norvessa::platform::win32
