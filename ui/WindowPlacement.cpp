// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include "ScreenPlace.h"
#include "Twips.h"
#include "platform/WindowManager.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace vqdbd::ui {

namespace {

// Where a window was placed from the store, so that a window closed unmoved stores exactly the
// values it was placed from rather than their pixel rounding.
constexpr char kPlacedLeft[] = "vqdbdPlacedLeft";
constexpr char kPlacedTop[] = "vqdbdPlacedTop";
constexpr char kPlacedPixels[] = "vqdbdPlacedPixels";

} // namespace

QList<QRect> usableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

namespace {

constexpr char kScrollAreaName[] = "WINDOW_SCROLL_AREA";

// A window cut down to fit its screen keeps its designed layout inside a scroll area, so that every
// control can still be reached. The controls keep their order, and the focus stays where it was.
QScrollArea* existingScrollArea(const QWidget& window)
{
    return window.findChild<QScrollArea*>(QLatin1String(kScrollAreaName), Qt::FindDirectChildrenOnly);
}

QScrollArea* scrollingContents(QWidget& window)
{
    if (QScrollArea* area = existingScrollArea(window))
        return area;
    QWidget* focused = window.focusWidget();
    auto* area = new QScrollArea(&window);
    area->setObjectName(QLatin1String(kScrollAreaName));
    area->setFrameShape(QFrame::NoFrame);
    // Tab goes from control to control as designed; the area scrolls to the one it reaches.
    area->setFocusPolicy(Qt::NoFocus);
    auto* contents = new QWidget;
    area->setWidget(contents);
    const QObjectList children = window.children();
    for (QObject* child : children) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control == area || control->isWindow())
            continue;
        const bool hidden = control->testAttribute(Qt::WA_WState_ExplicitShowHide)
            && control->testAttribute(Qt::WA_WState_Hidden);
        const QRect place = control->geometry();
        control->setParent(contents);
        control->setGeometry(place);
        control->setVisible(!hidden);
    }
    if (focused)
        focused->setFocus();
    return area;
}

} // namespace

QSize designedClientSize(const TwipsRect& rect, const DesignedFrame& frame)
{
    return QSize(toPixels(rect.width - frame.width), toPixels(rect.height - frame.height))
        .expandedTo(QSize(1, 1));
}

QPoint placeWindow(QWidget& window, float left, float top, QSize client, const QMargins& frame)
{
    const QRect stored(QPoint(toPixels(left), toPixels(top)), client.grownBy(frame));
    // A window whose caption bar is off the screens (a monitor since unplugged, a hand-edited Top)
    // could be neither moved nor closed: it moves onto the nearest screen, and one larger than that
    // screen is cut down to it and scrolls.
    const QRect placed = reachablePlace(stored, frame.top(), usableScreenAreas());
    const QSize shown = placed.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    // The contents start scrolled to their top-left corner, with the title row; the focus stays where
    // it was, and Tab scrolls to the control it reaches. A window placed again keeps its scroll area,
    // which fills it whole once it fits.
    QScrollArea* area = shown != client ? scrollingContents(window) : existingScrollArea(window);
    if (area) {
        area->widget()->setFixedSize(client);
        area->setGeometry(QRect(QPoint(0, 0), shown));
    }
    window.setFixedSize(shown);
    const QPoint frameTopLeft = placed.topLeft();
    const float placedLeft = frameTopLeft.x() == stored.left() ? left : toTwips(frameTopLeft.x());
    const float placedTop = frameTopLeft.y() == stored.top() ? top : toTwips(frameTopLeft.y());
    // Qt places a window that already has its native handle by its client area and the part of the
    // frame it knows of (none until the window is shown).
    if (window.testAttribute(Qt::WA_WState_Created))
        window.move(frameTopLeft + QPoint(frame.left(), frame.top())
                    - (window.geometry().topLeft() - window.frameGeometry().topLeft()));
    else
        window.move(frameTopLeft);
    window.setProperty(kPlacedLeft, placedLeft);
    window.setProperty(kPlacedTop, placedTop);
    window.setProperty(kPlacedPixels, frameTopLeft);
    return frameTopLeft;
}

void keepWithinReach(QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    // The whole window as it was made: a window cut down to a screen has its contents' size.
    const QScrollArea* area = existingScrollArea(window);
    const QSize client = area ? area->widget()->size() : inner.size();
    if (reachablePlace(QRect(outer.topLeft(), client.grownBy(frame)), frame.top(), usableScreenAreas())
        == outer)
        return;
    placeWindow(window, toTwips(outer.left()), toTwips(outer.top()), client, frame);
}

void placeFromStore(QWidget& window, SettingsStore& store, const WindowKeys& keys, WindowManager& windows)
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->geometry());
    const QSize largest = largestScreenSize(screens);
    const TwipsRect rect = readGeometry(store, keys, toTwips(largest.width()), toTwips(largest.height()));
    const QSize client = designedClientSize(rect, keys.frame);
    // The window manager draws a resize handle round a window that can be resized, and counts it in
    // the frame it tells; the window is fixed-size before it is asked.
    window.setFixedSize(client);
    const QPoint corner = placeWindow(window, rect.left, rect.top, client, windows.frameExtents(window));
    // The frame told before the window is shown can differ from the one drawn round it (or be
    // unknown), which would shift the window by the difference. Framed with more than told, the
    // window is placed again by the same rule for the frame drawn: one that no longer fits its screen
    // is cut down to it.
    windows.keepFrameCorner(
        window, corner, [placed = QPointer<QWidget>(&window), rect, client, corner](const QMargins& drawn) {
            return placed ? placeWindow(*placed, rect.left, rect.top, client, drawn) : corner;
        });
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
