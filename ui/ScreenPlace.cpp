// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenPlace.h"

#include <QRegion>
#include <algorithm>
#include <limits>

namespace vqdbd::ui {

namespace {

// How far apart two rectangles lie (0 when they touch or overlap), squared, in 64 bits so that
// far-away stored places cannot overflow.
qint64 gapBetween(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max<qint64>({ 0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right() });
    const qint64 dy = std::max<qint64>({ 0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom() });
    return dx * dx + dy * dy;
}

qint64 overlapArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// The screen most of the window lies on; when it lies on none, the screen nearest to it.
const QRect& nearestScreen(const QRect& frame, const QList<QRect>& screens)
{
    const QRect* best = &screens.first();
    qint64 bestOverlap = -1;
    qint64 bestGap = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        const qint64 overlap = overlapArea(frame, screen);
        const qint64 gap = gapBetween(frame, screen);
        if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap)) {
            best = &screen;
            bestOverlap = overlap;
            bestGap = gap;
        }
    }
    return *best;
}

// Moves one edge coordinate so that a stretch of `length` starting there lies in [low, low + room).
int clampInto(int start, int length, int low, int room)
{
    if (length >= room)
        return low;
    return std::clamp(start, low, low + room - length);
}

bool coveredByScreens(const QRect& area, const QList<QRect>& screens)
{
    QRegion uncovered(area);
    for (const QRect& screen : screens)
        uncovered -= QRegion(screen);
    return uncovered.isEmpty();
}

} // namespace

bool captionOnScreens(const QRect& frame, int captionHeight, const QList<QRect>& screens)
{
    return coveredByScreens(QRect(frame.left(), frame.top(), frame.width(), std::max(captionHeight, 1)),
                            screens);
}

QRect reachablePlace(const QRect& frame, int captionHeight, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return frame;
    const QRect& screen = nearestScreen(frame, screens);
    // A window larger than any one screen may still lie whole across several.
    const bool fits = (frame.width() <= screen.width() && frame.height() <= screen.height())
        || coveredByScreens(frame, screens);
    if (fits && captionOnScreens(frame, captionHeight, screens))
        return frame;
    const QSize size = frame.size().boundedTo(screen.size());
    return { clampInto(frame.left(), frame.width(), screen.left(), screen.width()),
             clampInto(frame.top(), frame.height(), screen.top(), screen.height()), size.width(),
             size.height() };
}

QSize largestScreenSize(const QList<QRect>& screens)
{
    QSize largest(0, 0);
    for (const QRect& screen : screens)
        largest = largest.expandedTo(screen.size());
    return largest;
}

} // namespace vqdbd::ui
