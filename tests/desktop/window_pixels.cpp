// Reads a window of another program off the X server and prints where a colour stands in one
// rectangle of it: "first last" (the leftmost and rightmost columns that hold it), or "none".
// Usage: window_pixels WINDOW_ID RRGGBB X Y WIDTH HEIGHT
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 7)
        return 2;
    QGuiApplication app(argc, argv);
    const WId window = std::strtoul(argv[1], nullptr, 0);
    const QRgb wanted = std::strtoul(argv[2], nullptr, 16);
    const QRect area(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
    if (image.isNull())
        return 1;
    int first = -1;
    int last = -1;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (wanted & 0xFFFFFF))
                continue;
            first = first < 0 ? x : std::min(first, x);
            last = std::max(last, x);
        }
    }
    if (first < 0)
        std::puts("none");
    else
        std::printf("%d %d\n", first, last);
    return 0;
}
