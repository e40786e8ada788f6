// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the installed icons from the window icon's own picture: OUTDIR/<size>x<size>/apps/NAME.png for
// each size. Run while building, on Qt's offscreen platform.
// Usage: vqdbd_make_icons OUTDIR NAME SIZE...
#include "clock/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: vqdbd_make_icons OUTDIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QDir out(arguments.at(1));
    const QString& name = arguments.at(2);
    for (qsizetype i = 3; i < arguments.size(); ++i) {
        bool ok = false;
        const int size = arguments.at(i).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "vqdbd_make_icons: not a size: %s\n", qPrintable(arguments.at(i)));
            return 2;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!out.mkpath(folder) || !vqdbd::iconPicture(size).toImage().save(file, "PNG")) {
            std::fprintf(stderr, "vqdbd_make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
