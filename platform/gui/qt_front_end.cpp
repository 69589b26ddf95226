#include "platform/gui/qt_front_end.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "platform/gui/application.h"
#include "platform/gui/auto_size_label.h"
#include "platform/gui/command_button.h"
#include "platform/gui/error_report.h"
#include "platform/gui/event_handler.h"
#include "platform/gui/fonts.h"
#include "platform/gui/frame.h"
#include "platform/gui/link_label.h"
#include "platform/gui/list_view.h"
#include "platform/gui/program_start.h"
#include "platform/gui/twips.h"
#include "resources/images/images.h"

namespace norvessa::platform {
namespace {

using controls::ControlDescription;
using controls::ControlKind;
using controls::WindowDescription;

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

QColor qColour(const controls::Rgb& colour) {
    return {colour.red, colour.green, colour.blue};
}

// The program's pictures and icons by their file names.
QString resourcePath(const std::string& fileName) {
    return QStringLiteral(":/images/") + qText(fileName);
}

QImage loadPicture(const std::string& fileName) {
    const QByteArray path = resourcePath(fileName).toLatin1();
    return resources::loadImage(QLatin1String(path));
}

QIcon loadWindowIcon(const std::string& fileName) {
    const QByteArray path = resourcePath(fileName).toLatin1();
    return resources::loadIcon(QLatin1String(path));
}

Qt::WindowFlags flagsOf(const WindowDescription& description) {
    const Qt::WindowFlags common =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (description.minimizeBox) {
        return common | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
    }
    return common | Qt::MSWindowsFixedSizeDialogHint;
}

// Centres the window's frame (caption and borders included) as its description says. Creating
// the native window first lets the platform tell the frame's size where it knows it before the
// window is shown; a window manager that decorates the window only once it is shown leaves the
// frame out of the reckoning.
void centre(QWidget& window, controls::Centring centring) {
    window.winId();
    const QScreen* screen = centring == controls::Centring::OnWorkArea
                                ? window.screen()
                                : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = centring == controls::Centring::OnWorkArea ? screen->availableGeometry()
                                                                  : screen->geometry();
    QRect placed(QPoint(0, 0), window.frameGeometry().size());
    placed.moveCenter(area.center());
    window.move(placed.topLeft());
}

void setCaptionColour(QWidget& control, const std::optional<controls::Rgb>& colour) {
    QPalette colours = control.palette();
    colours.setColor(QPalette::WindowText,
                     colour ? qColour(*colour) : colours.color(QPalette::ButtonText));
    control.setPalette(colours);
}

}  // namespace

// The top-level widget of a described window: paints its back colour and picture, sets its
// icon and passes close requests to the unload and closed handlers.
class DescribedWidget : public QWidget {
  public:
    explicit DescribedWidget(const WindowDescription& description)
        : QWidget(nullptr, flagsOf(description)), description_(description) {
        setObjectName(qText(description.name));
        setWindowTitle(qText(description.caption));
        setFixedSize(twipsToPixels(description.clientWidthTwips),
                     twipsToPixels(description.clientHeightTwips));
        setFont(songFont(description.fontPoints));
        if (!description.picture.empty()) {
            picture_ = loadPicture(description.picture);
        }
        if (!description.icon.empty() && !description.deferIcon) {
            setWindowIcon(loadWindowIcon(description.icon));
        }
    }

    std::function<void(std::int16_t&)> unload;
    std::function<void()> closed;
    // Set while a close request is being handled, when the window must not be deleted at once.
    bool closing = false;
    // Whether the window has been shown before.
    bool shown = false;

  protected:
    void showEvent(QShowEvent* event) override {
        shown = true;
        QWidget::showEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        closing = true;
        std::int16_t cancel = 0;
        if (unload) {
            runEventHandler([&] { unload(cancel); });
        }
        if (cancel != 0) {
            closing = false;
            event->ignore();
            return;
        }
        event->accept();
        if (description_.endsProgramWhenClosed) {
            QCoreApplication::quit();
        }
        // The handler may destroy the window's owner, and with it this widget's QtWindow.
        const QPointer<DescribedWidget> self(this);
        if (const std::function<void()> handler = closed) {
            runEventHandler(handler);
        }
        if (self) {
            closing = false;
        }
    }

    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), description_.background
                                            ? qColour(*description_.background)
                                            : palette().color(QPalette::Button));
        if (!picture_.isNull()) {
            // Qt lays the window out in logical pixels; on a high-density screen the picture
            // keeps its size in device pixels and the back colour fills the rest.
            const qreal ratio = devicePixelRatioF();
            painter.drawImage(QRectF(0.0, 0.0, picture_.width() / ratio, picture_.height() / ratio),
                              picture_);
        }
        if (description_.deferIcon && !iconRequested_) {
            iconRequested_ = true;
            QTimer::singleShot(0, this, [this] { showDeferredIcon(); });
        }
    }

  private:
    void showDeferredIcon() {
        if (QFile::exists(resourcePath(description_.icon))) {
            setWindowIcon(loadWindowIcon(description_.icon));
        }
    }

    const WindowDescription& description_;
    QImage picture_;
    bool iconRequested_ = false;
};

namespace {

class QtTextBox : public controls::TextBox {
  public:
    explicit QtTextBox(QLineEdit& box) : box_(box) {}
    std::string text() const override { return utf8(box_.text()); }
    void setText(std::string_view text) override {
        box_.setText(qText(text));
        box_.setCursorPosition(0);
    }

  private:
    QLineEdit& box_;
};

class QtLabel : public controls::Label {
  public:
    QtLabel(QLabel& label, AutoSizeLabel* autoSize) : label_(label), autoSize_(autoSize) {}
    std::string caption() const override { return utf8(label_.text()); }
    void setCaption(std::string_view caption) override {
        if (autoSize_ != nullptr) {
            autoSize_->setCaption(qText(caption));
        } else {
            label_.setText(qText(caption));
        }
    }

  private:
    QLabel& label_;
    AutoSizeLabel* autoSize_;
};

class QtListItem : public controls::ListItem {
  public:
    explicit QtListItem(platform::ListItem item) : item_(std::move(item)) {}
    std::string text() const override { return utf8(item_.text()); }
    std::string subItem(std::int16_t index) const override { return utf8(item_.subItem(index)); }
    void setSubItem(std::int16_t index, std::string_view text) override {
        item_.setSubItem(index, qText(text));
    }

  private:
    platform::ListItem item_;
};

class QtListView : public controls::ListView {
  public:
    explicit QtListView(platform::ListView& view) : view_(view) {}
    void setView(controls::ListViewMode mode) override { view_.setView(mode); }
    void setOption(controls::ListViewOption option, bool on) override {
        view_.setOption(option, on);
    }
    void addColumnHeader(std::string_view text, std::int16_t widthTwips) override {
        view_.columnHeaders().add(qText(text), widthTwips);
    }
    void clearItems() override { view_.listItems().clear(); }
    std::int32_t itemCount() const override { return view_.listItems().count(); }
    std::unique_ptr<controls::ListItem> addItem(std::string_view text) override {
        return std::make_unique<QtListItem>(view_.listItems().add(qText(text)));
    }

  private:
    platform::ListView& view_;
};

}  // namespace

struct QtWindow::Control {
    const ControlDescription& description;
    QWidget* widget = nullptr;
    std::unique_ptr<controls::TextBox> textBox{};
    std::unique_ptr<controls::Label> label{};
    std::unique_ptr<controls::ListView> listView{};
    std::function<void()> clickHandler{};
};

QtWindow::QtWindow(const WindowDescription& description)
    : controls::Window(description), widget_(new DescribedWidget(description)) {
    try {
        build();
    } catch (...) {
        delete widget_;
        throw;
    }
}

QtWindow::~QtWindow() {
    // A window closed by the user is deleted once its close request has been handled.
    if (widget_->closing) {
        widget_->unload = nullptr;
        widget_->closed = nullptr;
        widget_->hide();
        widget_->deleteLater();
    } else {
        delete widget_;
    }
}

// Creates the control's widget in `parent`, with what only its kind needs.
void QtWindow::createWidget(Control& control, QWidget* parent) {
    const ControlDescription& described = control.description;
    // Clicks run whatever handler the window's procedures set last.
    const auto runClickHandler = [handler = &control.clickHandler] {
        if (*handler) {
            (*handler)();
        }
    };
    switch (described.kind) {
        case ControlKind::Label: {
            if (described.sizing == controls::LabelSizing::Fixed) {
                auto* label = new QLabel(parent);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setWordWrap(true);
                label->setAutoFillBackground(false);
                label->setFocusPolicy(Qt::NoFocus);
                control.label = std::make_unique<QtLabel>(*label, nullptr);
                control.widget = label;
            } else {
                AutoSizeLabel* label = nullptr;
                if (described.reportsClicks) {
                    auto* link = new LinkLabel(parent);
                    link->setClickHandler(runClickHandler);
                    label = link;
                } else {
                    label = new AutoSizeLabel(parent);
                }
                control.label = std::make_unique<QtLabel>(*label, label);
                control.widget = label;
            }
            auto* label = static_cast<QLabel*>(control.widget);
            label->setText(qText(described.caption));
            setCaptionColour(*label, described.foreground);
            break;
        }
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(parent);
            box->setText(qText(described.caption));
            box->setMaxLength(std::numeric_limits<int>::max());
            control.textBox = std::make_unique<QtTextBox>(*box);
            control.widget = box;
            break;
        }
        case ControlKind::Button: {
            auto* button = new CommandButton(parent);
            button->setText(qText(described.caption));
            onClicked(button, button, runClickHandler);
            control.widget = button;
            break;
        }
        case ControlKind::Frame: {
            auto* frame = new Frame(parent);
            frame->setCaption(qText(described.caption));
            frame->setCaptionColour(described.foreground
                                        ? qColour(*described.foreground)
                                        : frame->palette().color(QPalette::ButtonText));
            if (described.background) {
                frame->setBackColour(qColour(*described.background));
            }
            control.widget = frame;
            break;
        }
        case ControlKind::ListView: {
            auto* view = new ListView(parent);
            control.listView = std::make_unique<QtListView>(*view);
            control.widget = view;
            break;
        }
        case ControlKind::Picture: {
            auto* picture = new QLabel(parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            picture->setScaledContents(false);
            picture->setPixmap(QPixmap::fromImage(loadPicture(described.picture)));
            control.widget = picture;
            break;
        }
    }
}

void QtWindow::build() {
    for (const ControlDescription& described : description().controls) {
        QWidget* parent = widget_;
        if (!described.container.empty()) {
            parent = &controlWidget(described.container);
        }
        auto control = std::make_unique<Control>(Control{described});
        createWidget(*control, parent);
        QWidget& widget = *control->widget;
        widget.setObjectName(qText(described.name));
        if (described.fontPoints) {
            widget.setFont(songFont(*described.fontPoints));
        }
        widget.setGeometry(twipsToPixels(described.bounds));
        if (!described.accessibleName.empty()) {
            widget.setAccessibleName(qText(described.accessibleName));
        }
        if (!described.toolTip.empty()) {
            widget.setToolTip(qText(described.toolTip));
        }
        if (auto* label = dynamic_cast<AutoSizeLabel*>(&widget)) {
            label->fitToCaption();
        }
        controls_.push_back(std::move(control));
    }
    chainTabOrder();
}

void QtWindow::chainTabOrder() {
    std::vector<const Control*> stops;
    for (const auto& control : controls_) {
        if (control->description.tabIndex && control->description.takesFocus) {
            stops.push_back(control.get());
        }
    }
    std::ranges::stable_sort(stops, {},
                             [](const Control* control) { return *control->description.tabIndex; });
    for (std::size_t index = 1; index < stops.size(); ++index) {
        QWidget::setTabOrder(stops[index - 1]->widget, stops[index]->widget);
    }
    if (!stops.empty()) {
        stops.front()->widget->setFocus();
    }
}

QtWindow::Control& QtWindow::find(std::string_view name) {
    for (const auto& control : controls_) {
        if (control->description.name == name) {
            return *control;
        }
    }
    throw std::out_of_range(description().name + " has no control named " + std::string(name));
}

QWidget& QtWindow::controlWidget(std::string_view name) {
    return *find(name).widget;
}

controls::TextBox& QtWindow::textBox(std::string_view name) {
    Control& control = find(name);
    if (!control.textBox) {
        throw std::out_of_range("the control " + std::string(name) + " is not a text box");
    }
    return *control.textBox;
}

controls::Label& QtWindow::label(std::string_view name) {
    Control& control = find(name);
    if (!control.label) {
        throw std::out_of_range("the control " + std::string(name) + " is not a label");
    }
    return *control.label;
}

controls::ListView& QtWindow::listView(std::string_view name) {
    Control& control = find(name);
    if (!control.listView) {
        throw std::out_of_range("the control " + std::string(name) + " is not a list view");
    }
    return *control.listView;
}

void QtWindow::onClick(std::string_view controlName, std::function<void()> handler) {
    Control& control = find(controlName);
    const ControlDescription& described = control.description;
    if (described.kind != ControlKind::Button &&
        !(described.kind == ControlKind::Label && described.reportsClicks)) {
        throw std::out_of_range("the control " + std::string(controlName) + " reports no clicks");
    }
    control.clickHandler = std::move(handler);
}

void QtWindow::onUnload(std::function<void(std::int16_t& cancel)> handler) {
    widget_->unload = std::move(handler);
}

void QtWindow::onClosed(std::function<void()> handler) {
    widget_->closed = std::move(handler);
}

void QtWindow::show() {
    // A window that shows for the first time comes to the front and becomes active by itself.
    if (!widget_->shown) {
        centre(*widget_, description().centring);
        widget_->show();
        return;
    }
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
}

void QtWindow::hide() {
    widget_->hide();
}

bool QtWindow::isVisible() const {
    return widget_->isVisible();
}

void QtWindow::close() {
    widget_->close();
}

QWidget& QtWindow::widget() {
    return *widget_;
}

QtWindow& qtWindowOf(controls::Window& window) {
    return dynamic_cast<QtWindow&>(window);
}

std::unique_ptr<controls::Window> QtFrontEnd::createWindow(const WindowDescription& description) {
    return std::make_unique<QtWindow>(description);
}

void QtFrontEnd::showErrorReport(const controls::ErrorReport& report) {
    reportError(report);
}

void QtFrontEnd::startProgram(std::string_view commandLine, controls::WindowStyle style) {
    platform::startProgram(qText(commandLine), style);
}

namespace {

// For start-up measurements (bench/startup): with NORVESSA_QUIT_AFTER_FIRST_SHOW set, the program
// ends as soon as one of its windows has first been painted.
class QuitAfterFirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && dynamic_cast<DescribedWidget*>(watched) != nullptr) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int QtFrontEnd::runEventLoop() {
    QuitAfterFirstPaint quitAfterFirstPaint;
    if (qEnvironmentVariableIsSet("NORVESSA_QUIT_AFTER_FIRST_SHOW")) {
        qApp->installEventFilter(&quitAfterFirstPaint);
    }
    return QApplication::exec();
}

std::string QtFrontEnd::upperCase(std::string_view text) const {
    return utf8(qText(text).toUpper());
}

}  // namespace norvessa::platform
