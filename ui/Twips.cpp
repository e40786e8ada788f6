#include "Twips.h"

#include <QWidget>

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

void placeWindow(QWidget& window, const TwipsRect& rect, const QMargins& frame)
{
    const QSize outer(toPixels(rect.width), toPixels(rect.height));
    const QSize client = outer.shrunkBy(frame).expandedTo(QSize(1, 1));
    window.setFixedSize(client);
    const QPoint frameTopLeft(toPixels(rect.left), toPixels(rect.top));
    // Qt places a window that already has its native handle by its client area.
    if (window.testAttribute(Qt::WA_WState_Created))
        window.move(frameTopLeft + QPoint(frame.left(), frame.top()));
    else
        window.move(frameTopLeft);
}

float windowLeft(const QWidget& window)
{
    return toTwips(window.frameGeometry().left());
}

float windowTop(const QWidget& window)
{
    return toTwips(window.frameGeometry().top());
}

} // namespace vqdbd::ui
