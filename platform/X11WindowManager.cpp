// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11WindowManager.h"

#include "SessionPlatform.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QHash>
#include <QList>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <xcb/xcb.h>

namespace vqdbd {

namespace {

constexpr std::uint32_t kNetWmStateRemove = 0;
constexpr std::uint32_t kNetWmStateAdd = 1;
constexpr std::uint32_t kSourceApplication = 1;
// A restack asked as a pager would ask it: the window manager carries it out without weighing it
// against focus stealing.
constexpr std::uint32_t kSourcePager = 2;
// How long after mapping a window the window manager may take to tell the frame it drew round it.
constexpr int kFrameTellingMs = 1000;

// Keeps what it has read of the active window, of the stacking order and of windows' states until
// the X server says that it changed (a PropertyNotify), so the once-a-second always-on-top check
// costs no round trip to the server while nothing changes.
class X11WindowManager final : public WindowManager, public QAbstractNativeEventFilter
{
public:
    X11WindowManager(xcb_connection_t* connection, xcb_window_t root)
        : connection_(connection)
        , root_(root)
        , netWmState_(atom("_NET_WM_STATE"))
        , skipTaskbar_(atom("_NET_WM_STATE_SKIP_TASKBAR"))
        , skipPager_(atom("_NET_WM_STATE_SKIP_PAGER"))
        , above_atom_(atom("_NET_WM_STATE_ABOVE"))
        , activeWindow_(atom("_NET_ACTIVE_WINDOW"))
        , frameExtents_(atom("_NET_FRAME_EXTENTS"))
        , requestFrameExtents_(atom("_NET_REQUEST_FRAME_EXTENTS"))
        , clientListStacking_(atom("_NET_CLIENT_LIST_STACKING"))
        , restackWindow_(atom("_NET_RESTACK_WINDOW"))
    {
        watchProperties(root_);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11WindowManager() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7F) {
        case XCB_MAP_NOTIFY:
            placeFramed(reinterpret_cast<const xcb_map_notify_event_t*>(event)->window);
            return false;
        case XCB_CONFIGURE_NOTIFY:
            placeFramed(reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window);
            return false;
        case XCB_UNMAP_NOTIFY:
            corners_.remove(reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window);
            return false;
        case XCB_PROPERTY_NOTIFY:
            break;
        default:
            return false;
        }
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->atom == frameExtents_)
            placeFramed(notify->window);
        if (notify->window == root_ && notify->atom == activeWindow_)
            active_.reset();
        else if (notify->window == root_ && notify->atom == clientListStacking_)
            stacking_.reset();
        else if (notify->atom == netWmState_)
            above_.remove(notify->window);
        return false;
    }

    QMargins frameExtents(QWidget& window) override
    {
        const auto id = static_cast<xcb_window_t>(window.winId());
        if (auto known = readFrameExtents(id))
            return *known;
        // Some window managers (kwin, i3) tell the frame only once they have drawn it.
        if (!frameRequestSupported_)
            frameRequestSupported_ = readSupported().contains(requestFrameExtents_);
        if (!*frameRequestSupported_)
            return {};
        sendToRoot(id, requestFrameExtents_, {});
        // The window manager answers by setting the property; a manager that does not support the
        // request never does, and the window then keeps its size without a frame.
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (auto extents = readFrameExtents(id))
                return *extents;
            QThread::msleep(2);
        }
        return {};
    }

    void keepFrameCorner(QWidget& window, QPoint corner,
                         std::function<QPoint(const QMargins&)> reframed) override
    {
        const auto id = static_cast<xcb_window_t>(window.winId());
        corners_.insert(id, { corner, readFrameExtents(id).value_or(QMargins()), std::move(reframed) });
    }

    void keepOutOfTaskbar(QWidget& window) override
    {
        const auto id = static_cast<xcb_window_t>(window.winId());
        // A window not yet mapped carries its state in the property, which Qt keeps when it maps it;
        // a mapped one asks the window manager.
        const xcb_atom_t states[] = { skipTaskbar_, skipPager_ };
        xcb_change_property(connection_, XCB_PROP_MODE_APPEND, id, netWmState_, XCB_ATOM_ATOM, 32, 2, states);
        changeState(id, kNetWmStateAdd, skipTaskbar_, skipPager_);
    }

    std::optional<WindowId> activeWindow() override
    {
        if (!active_)
            active_ = readActiveWindow();
        return *active_;
    }

    bool isKeptAbove(WindowId window) override
    {
        const auto id = static_cast<xcb_window_t>(window);
        if (const auto known = above_.constFind(id); known != above_.cend())
            return *known;
        watchProperties(id);
        const bool above = readStates(id).contains(above_atom_);
        above_.insert(id, above);
        return above;
    }

    std::optional<WindowId> readActiveWindow()
    {
        const auto cookie = xcb_get_property(connection_, 0, root_, activeWindow_, XCB_ATOM_WINDOW, 0, 1);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        if (!reply || reply->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(reply.get()) < 4)
            return std::nullopt;
        const auto window = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
        if (window == XCB_WINDOW_NONE)
            return std::nullopt;
        return window;
    }

    void setKeepAbove(WindowId window, bool above) override
    {
        changeState(static_cast<xcb_window_t>(window), above ? kNetWmStateAdd : kNetWmStateRemove,
                    above_atom_, static_cast<xcb_atom_t>(XCB_ATOM_NONE));
        above_.remove(static_cast<xcb_window_t>(window));
    }

    bool hasKeptAboveWindowOver(WindowId window) override
    {
        if (!stacking_)
            stacking_ = readStacking();
        const qsizetype at = stacking_->indexOf(static_cast<xcb_window_t>(window));
        if (at < 0)
            return false;
        for (qsizetype over = at + 1; over < stacking_->size(); ++over) {
            if (isKeptAbove(stacking_->at(over)))
                return true;
        }
        return false;
    }

    void raise(WindowId window) override
    {
        const auto id = static_cast<xcb_window_t>(window);
        if (!restackSupported_)
            restackSupported_ = readSupported().contains(restackWindow_);
        if (*restackSupported_) {
            // Above no sibling in particular: the top of the window's own layer.
            sendToRoot(id, restackWindow_, { kSourcePager, XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE });
            return;
        }
        // A window manager without the hint sees the request to configure the window instead.
        const std::uint32_t mode = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection_, id, XCB_CONFIG_WINDOW_STACK_MODE, &mode);
        xcb_flush(connection_);
    }

    void stackOver(WindowId window, WindowId owner) override
    {
        // WM_TRANSIENT_FOR, which Qt sets for its own dialogs only and clears whenever it shows any
        // other window.
        const auto id = static_cast<xcb_window_t>(owner);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window),
                            XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &id);
        xcb_flush(connection_);
    }

    void activate(WindowId window) override
    {
        // Asked as a pager asks it, at no particular time, with no window of the program's active.
        sendToRoot(static_cast<xcb_window_t>(window), activeWindow_,
                   { kSourcePager, XCB_CURRENT_TIME, XCB_WINDOW_NONE });
    }

private:
    // Once the window manager has mapped a window and told the frame it drew round it, moves it by
    // whatever that frame differs from the one told before, so that the outer corner is where it was
    // put. Some window managers tell the frame only after mapping the window, and place it then. The
    // window keeps Qt's static gravity: the position asked for is the client area's.
    void placeFramed(xcb_window_t window)
    {
        if (!corners_.contains(window))
            return;
        const auto attributes = xcb_get_window_attributes(connection_, window);
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> mapped(
            xcb_get_window_attributes_reply(connection_, attributes, nullptr), &std::free);
        if (!mapped || mapped->map_state != XCB_MAP_STATE_VIEWABLE)
            return;
        // A window manager that tells no frame soon after mapping (i3 tells it only once the user
        // moves the window) leaves the window where it put it: a later move is the user's own.
        auto& waiting = corners_[window].frameDue;
        if (waiting.isForever())
            waiting.setRemainingTime(kFrameTellingMs);
        const std::optional<QMargins> frame = readFrameExtents(window);
        if (!frame && !waiting.hasExpired())
            return;
        const FramePlace place = corners_.take(window);
        if (!frame || place.frameDue.hasExpired())
            return;
        // A smaller frame than told leaves the window within its room; only a larger one can push it
        // off its screen (xfwm4 draws no border round a window the size of the screen).
        const bool larger = frame->left() > place.told.left() || frame->top() > place.told.top()
            || frame->right() > place.told.right() || frame->bottom() > place.told.bottom();
        const QPoint corner = larger && place.reframed ? place.reframed(*frame) : place.corner;
        const QPoint client = corner + QPoint(frame->left(), frame->top());
        const auto cookie = xcb_translate_coordinates(connection_, window, root_, 0, 0);
        std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
            xcb_translate_coordinates_reply(connection_, cookie, nullptr), &std::free);
        if (!reply || client == QPoint(reply->dst_x, reply->dst_y))
            return;
        const std::uint32_t values[]
            = { static_cast<std::uint32_t>(client.x()), static_cast<std::uint32_t>(client.y()) };
        xcb_configure_window(connection_, window, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
        xcb_flush(connection_);
    }

    xcb_atom_t atom(const char* name) const
    {
        const auto cookie = xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(strlen(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection_, cookie, nullptr), &std::free);
        return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

    // Asks for PropertyNotify events of a window, keeping whatever else this client already selected.
    void watchProperties(xcb_window_t window)
    {
        const auto cookie = xcb_get_window_attributes(connection_, window);
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> reply(
            xcb_get_window_attributes_reply(connection_, cookie, nullptr), &std::free);
        if (!reply || (reply->your_event_mask & XCB_EVENT_MASK_PROPERTY_CHANGE))
            return;
        const std::uint32_t mask = reply->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }

    QList<xcb_atom_t> readStates(xcb_window_t window)
    {
        const auto cookie = xcb_get_property(connection_, 0, window, netWmState_, XCB_ATOM_ATOM, 0, 64);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        QList<xcb_atom_t> states;
        if (!reply || reply->type != XCB_ATOM_ATOM)
            return states;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / static_cast<int>(sizeof(xcb_atom_t));
        for (int i = 0; i < count; ++i)
            states.append(atoms[i]);
        return states;
    }

    QList<xcb_window_t> readWindowList(xcb_window_t owner, xcb_atom_t property, xcb_atom_t type)
    {
        const auto cookie = xcb_get_property(connection_, 0, owner, property, type, 0, 4096);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        QList<std::uint32_t> values;
        if (!reply || reply->type != type)
            return values;
        const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        const int count
            = xcb_get_property_value_length(reply.get()) / static_cast<int>(sizeof(std::uint32_t));
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values.append(items[i]);
        return values;
    }

    // The managed windows from bottom to top. What is known of windows no longer listed is dropped.
    QList<xcb_window_t> readStacking()
    {
        const QList<xcb_window_t> windows = readWindowList(root_, clientListStacking_, XCB_ATOM_WINDOW);
        for (auto known = above_.begin(); known != above_.end();) {
            if (windows.contains(known.key()))
                ++known;
            else
                known = above_.erase(known);
        }
        return windows;
    }

    QList<xcb_atom_t> readSupported() { return readWindowList(root_, atom("_NET_SUPPORTED"), XCB_ATOM_ATOM); }

    std::optional<QMargins> readFrameExtents(xcb_window_t window)
    {
        const auto cookie = xcb_get_property(connection_, 0, window, frameExtents_, XCB_ATOM_CARDINAL, 0, 4);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_, cookie, nullptr), &std::free);
        if (!reply || reply->type != XCB_ATOM_CARDINAL || xcb_get_property_value_length(reply.get()) < 16)
            return std::nullopt;
        const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
        // left, right, top, bottom
        return QMargins(static_cast<int>(values[0]), static_cast<int>(values[2]), static_cast<int>(values[1]),
                        static_cast<int>(values[3]));
    }

    // A client message about `window` to the root window, where the window manager hears it.
    void sendToRoot(xcb_window_t window, xcb_atom_t type, std::initializer_list<std::uint32_t> data)
    {
        xcb_client_message_event_t event {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = type;
        std::copy(data.begin(), data.end(), std::begin(event.data.data32));
        xcb_send_event(connection_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(connection_);
    }

    // An EWMH _NET_WM_STATE request to the root window, which the window manager carries out.
    void changeState(xcb_window_t window, std::uint32_t action, xcb_atom_t first, xcb_atom_t second)
    {
        sendToRoot(window, netWmState_, { action, first, second, kSourceApplication });
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t netWmState_;
    xcb_atom_t skipTaskbar_;
    xcb_atom_t skipPager_;
    xcb_atom_t above_atom_;
    xcb_atom_t activeWindow_;
    xcb_atom_t frameExtents_;
    xcb_atom_t requestFrameExtents_;
    xcb_atom_t clientListStacking_;
    xcb_atom_t restackWindow_;
    std::optional<std::optional<WindowId>> active_; // empty until read, and after it changed
    QHash<xcb_window_t, bool> above_;
    std::optional<QList<xcb_window_t>> stacking_; // empty until read, and after it changed
    std::optional<bool> restackSupported_;
    std::optional<bool> frameRequestSupported_;
    struct FramePlace
    {
        QPoint corner;
        QMargins told;
        std::function<QPoint(const QMargins&)> reframed;
        QDeadlineTimer frameDue = QDeadlineTimer(QDeadlineTimer::Forever); // set once mapped
    };
    QHash<xcb_window_t, FramePlace> corners_; // windows to be put at their outer corner once mapped
};

// Without X11 nothing tells the active window; a window asked to stay above keeps Qt's own hint.
class PlainWindowManager final : public WindowManager
{
public:
    QMargins frameExtents(QWidget&) override { return {}; }
    // Qt knows the frame once the window is shown, and places it by it.
    void keepFrameCorner(QWidget&, QPoint, std::function<QPoint(const QMargins&)>) override { }
    void keepOutOfTaskbar(QWidget&) override { }
    std::optional<WindowId> activeWindow() override { return std::nullopt; }
    bool isKeptAbove(WindowId window) override
    {
        const QWidget* widget = QWidget::find(window);
        return widget && widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    }
    // Qt's hint puts the window into its band; it cannot be told apart from the others there.
    bool hasKeptAboveWindowOver(WindowId) override { return false; }
    void raise(WindowId window) override
    {
        if (QWidget* widget = QWidget::find(window))
            widget->raise();
    }
    // Nothing else stacks windows by their owner.
    void stackOver(WindowId, WindowId) override { }
    // As far as the platform lets a program bring itself forward.
    void activate(WindowId window) override
    {
        QWidget* widget = QWidget::find(window);
        if (!widget)
            return;
        if (widget->isMinimized())
            widget->showNormal();
        widget->raise();
        widget->activateWindow();
    }
    void setKeepAbove(WindowId window, bool above) override
    {
        QWidget* widget = QWidget::find(window);
        if (!widget || widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == above)
            return;
        const bool visible = widget->isVisible();
        widget->setWindowFlag(Qt::WindowStaysOnTopHint, above);
        if (visible)
            widget->show();
    }
};

std::unique_ptr<WindowManager> createWindowManager()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection()) {
        xcb_connection_t* connection = x11->connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (screen)
            return std::make_unique<X11WindowManager>(connection, screen->root);
    }
    return std::make_unique<PlainWindowManager>();
}

} // namespace

void prepareWindowSystem()
{
    // The clock repaints a small area once a second. Through shared memory every paint costs a round
    // trip to the X server (a wake-up of two threads); sending the pixels in the request costs none.
    qputenv("QT_XCB_NO_MITSHM", "1");
    // In a Wayland session the program runs through XWayland, so that it can stay above. A platform
    // the user names (QT_QPA_PLATFORM, or -platform, which Qt reads after this) still wins.
    const QByteArray platform = qtPlatformForSession(currentSessionEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

WindowManager& platformWindowManager()
{
    static const std::unique_ptr<WindowManager> instance = createWindowManager();
    return *instance;
}

} // namespace vqdbd
