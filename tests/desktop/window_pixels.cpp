// Reads a window of another program off the X server and prints where a colour stands in one
// rectangle of it: "first last count" (the leftmost and rightmost columns that hold it and how many
// of its pixels do), or "none". A colour written !RRGGBB stands for every other colour: the ink
// on a background. With "at", prints the colour of one pixel as RRGGBB.
// Usage: window_pixels WINDOW_ID [!]RRGGBB X Y WIDTH HEIGHT
//        window_pixels WINDOW_ID at X Y
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[])
{
    const bool at = argc == 5 && std::strcmp(argv[2], "at") == 0;
    if (argc != 7 && !at)
        return 2;
    QGuiApplication app(argc, argv);
    const WId window = std::strtoul(argv[1], nullptr, 0);
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
    if (image.isNull())
        return 1;
    if (at) {
        const QPoint point(std::atoi(argv[3]), std::atoi(argv[4]));
        if (!image.rect().contains(point))
            return 1;
        std::printf("%06X\n", image.pixel(point) & 0xFFFFFF);
        return 0;
    }
    const bool other = argv[2][0] == '!';
    const QRgb wanted = std::strtoul(argv[2] + (other ? 1 : 0), nullptr, 16) & 0xFFFFFF;
    const QRect area(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    int first = -1;
    int last = -1;
    long count = 0;
    for (int y = area.top(); y <= area.bottom() && y < image.height(); ++y) {
        for (int x = area.left(); x <= area.right() && x < image.width(); ++x) {
            if (((image.pixel(x, y) & 0xFFFFFF) == wanted) == other)
                continue;
            first = first < 0 ? x : std::min(first, x);
            last = std::max(last, x);
            ++count;
        }
    }
    if (first < 0)
        std::puts("none");
    else
        std::printf("%d %d %ld\n", first, last, count);
    return 0;
}
