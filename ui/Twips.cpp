#include "Twips.h"

#include "platform/WindowManager.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vqdbd::ui {

int toPixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

float toTwips(int pixels)
{
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

QRect toPixels(int left, int top, int width, int height)
{
    return { toPixels(static_cast<float>(left)), toPixels(static_cast<float>(top)),
             toPixels(static_cast<float>(width)), toPixels(static_cast<float>(height)) };
}

namespace {

// Where a window was placed from the store, so that a window closed unmoved stores exactly the
// values it was placed from rather than their pixel rounding.
constexpr char kPlacedLeft[] = "vqdbdPlacedLeft";
constexpr char kPlacedTop[] = "vqdbdPlacedTop";
constexpr char kPlacedPixels[] = "vqdbdPlacedPixels";

} // namespace

bool liesOnSomeScreen(const QRect& frame)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen* screen) { return screen->geometry().intersects(frame); });
}

void placeWindow(QWidget& window, const TwipsRect& rect, const QMargins& frame)
{
    const QSize outer(toPixels(rect.width), toPixels(rect.height));
    const QSize client = outer.shrunkBy(frame).expandedTo(QSize(1, 1));
    window.setFixedSize(client);
    QPoint frameTopLeft(toPixels(rect.left), toPixels(rect.top));
    // A window stored where no screen is now (a monitor since unplugged) would be out of reach: it
    // opens at the default place on the primary screen instead. Partly visible is left as stored.
    const QScreen* primary = QGuiApplication::primaryScreen();
    float placedLeft = rect.left;
    float placedTop = rect.top;
    if (primary && !liesOnSomeScreen(QRect(frameTopLeft, outer.expandedTo(QSize(1, 1))))) {
        frameTopLeft
            = primary->geometry().topLeft() + QPoint(toPixels(kDefaultPlace), toPixels(kDefaultPlace));
        placedLeft = toTwips(frameTopLeft.x());
        placedTop = toTwips(frameTopLeft.y());
    }
    // Qt places a window that already has its native handle by its client area.
    if (window.testAttribute(Qt::WA_WState_Created))
        window.move(frameTopLeft + QPoint(frame.left(), frame.top()));
    else
        window.move(frameTopLeft);
    window.setProperty(kPlacedLeft, placedLeft);
    window.setProperty(kPlacedTop, placedTop);
    window.setProperty(kPlacedPixels, frameTopLeft);
}

void placeFromStore(QWidget& window, SettingsStore& store, const WindowKeys& keys, WindowManager& windows)
{
    const TwipsRect rect = readGeometry(store, keys);
    // The window manager draws a resize handle round a window that can be resized, and counts it in
    // the frame it tells; the window is fixed-size before it is asked.
    window.setFixedSize(QSize(toPixels(rect.width), toPixels(rect.height)).expandedTo(QSize(1, 1)));
    placeWindow(window, rect, windows.frameExtents(window));
}

void savePlace(const QWidget& window, SettingsStore& store, const WindowKeys& keys)
{
    savePosition(store, keys, windowLeft(window), windowTop(window));
}

float windowLeft(const QWidget& window)
{
    const int left = window.frameGeometry().left();
    const QVariant placed = window.property(kPlacedPixels);
    if (placed.isValid() && placed.toPoint().x() == left)
        return window.property(kPlacedLeft).toFloat();
    return toTwips(left);
}

float windowTop(const QWidget& window)
{
    const int top = window.frameGeometry().top();
    const QVariant placed = window.property(kPlacedPixels);
    if (placed.isValid() && placed.toPoint().y() == top)
        return window.property(kPlacedTop).toFloat();
    return toTwips(top);
}

} // namespace vqdbd::ui
