// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the clock's idle cost: the same time text rewritten on a 1 ms Qt timer.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <ctime>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("--:--:--"));
    label.setWindowTitle(QStringLiteral("busy reference"));
    QFont font = label.font();
    font.setPixelSize(35);
    font.setBold(true);
    label.setFont(font);
    label.resize(239, 82);
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, &label, [&label] {
        char text[64];
        const std::time_t now = std::time(nullptr);
        std::tm local {};
        localtime_r(&now, &local);
        std::strftime(text, sizeof text, "%X", &local);
        label.setText(QString::fromLocal8Bit(text));
    });
    timer.start();
    label.show();
    return QApplication::exec();
}
