// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a window of another program off the X server and prints where a colour stands in one
// rectangle of it: "first last count" (the leftmost and rightmost columns that hold it and how many
// of its pixels do), or "none". A colour written !RRGGBB stands for every other colour: the ink
// on a background. With "at", prints the colour of one pixel as RRGGBB. With "text", looks for each
// line of a text ("|" between lines), drawn in black in the given font and pixel size, in the
// rectangle and prints per line "found X Y" or "missing"; a line cut off or drawn in another font is
// missing. With "same", prints whether the rectangle holds the same pixels in another window:
// "same" or "differs" (looked at again if the first window changed meanwhile, as a clock does).
// Usage: window_pixels WINDOW_ID [!]RRGGBB X Y WIDTH HEIGHT
//        window_pixels WINDOW_ID at X Y
//        window_pixels WINDOW_ID text X Y WIDTH HEIGHT FAMILY PIXELS TEXT
//        window_pixels WINDOW_ID same OTHER_WINDOW_ID X Y WIDTH HEIGHT
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

// A line of text as drawn on the background, cut to the rectangle its ink covers.
QImage drawnLine(const QString& line, const QFont& font, QRgb background)
{
    QImage canvas(line.size() * font.pixelSize() * 2 + 8, font.pixelSize() * 3, QImage::Format_RGB32);
    canvas.fill(background);
    {
        QPainter painter(&canvas);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(4, font.pixelSize() * 2, line);
    }
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if ((canvas.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return canvas.copy(ink);
}

bool alike(QRgb a, QRgb b)
{
    constexpr int kTolerance = 48;
    return std::abs(qRed(a) - qRed(b)) <= kTolerance && std::abs(qGreen(a) - qGreen(b)) <= kTolerance
        && std::abs(qBlue(a) - qBlue(b)) <= kTolerance;
}

// Where the line stands whole in the area, with at most one pixel in fifty amiss, if anywhere.
std::optional<QPoint> find(const QImage& image, const QRect& area, const QImage& line)
{
    const int allowed = line.width() * line.height() / 50;
    for (int top = area.top(); top + line.height() <= area.bottom() + 1; ++top) {
        for (int left = area.left(); left + line.width() <= area.right() + 1; ++left) {
            int amiss = 0;
            for (int y = 0; y < line.height() && amiss <= allowed; ++y) {
                for (int x = 0; x < line.width() && amiss <= allowed; ++x)
                    amiss += alike(image.pixel(left + x, top + y), line.pixel(x, y)) ? 0 : 1;
            }
            if (amiss <= allowed)
                return QPoint(left, top);
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool at = argc == 5 && std::strcmp(argv[2], "at") == 0;
    const bool text = argc == 10 && std::strcmp(argv[2], "text") == 0;
    const bool same = argc == 8 && std::strcmp(argv[2], "same") == 0;
    if (argc != 7 && !at && !text && !same)
        return 2;
    QGuiApplication app(argc, argv);
    const WId window = std::strtoul(argv[1], nullptr, 0);
    const QImage image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
    if (image.isNull())
        return 1;
    if (same) {
        const WId other = std::strtoul(argv[3], nullptr, 0);
        const QRect area(std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]));
        const auto look = [&area](WId id) {
            return QGuiApplication::primaryScreen()->grabWindow(id).toImage().copy(area);
        };
        QImage mine = image.copy(area);
        for (int tries = 0; tries < 5; ++tries) {
            const QImage theirs = look(other);
            const QImage again = look(window);
            if (again == mine) {
                std::puts(theirs == mine ? "same" : "differs");
                return 0;
            }
            mine = again;
        }
        return 1;
    }
    if (at) {
        const QPoint point(std::atoi(argv[3]), std::atoi(argv[4]));
        if (!image.rect().contains(point))
            return 1;
        std::printf("%06X\n", image.pixel(point) & 0xFFFFFF);
        return 0;
    }
    if (text) {
        const QRect area
            = QRect(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]))
                  .intersected(image.rect());
        QFont font(QString::fromLocal8Bit(argv[7]));
        font.setPixelSize(std::atoi(argv[8]));
        for (const QString& line : QString::fromLocal8Bit(argv[9]).split(u'|')) {
            const std::optional<QPoint> found
                = find(image, area, drawnLine(line, font, image.pixel(area.topLeft())));
            if (found)
                std::printf("found %d %d\n", found->x(), found->y());
            else
                std::puts("missing");
        }
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
