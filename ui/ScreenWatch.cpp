// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenWatch.h"

#include "WindowPlacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace vqdbd::ui {

namespace {

// One change of the screens comes as several signals (a size, then the panels' new usable area), and
// the window manager answers it too; the windows are looked at once these have settled.
constexpr int kSettleMilliseconds = 200;

} // namespace

ScreenWatch::ScreenWatch(QObject* parent)
    : QObject(parent)
    , settle_(new QTimer(this))
{
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMilliseconds);
    connect(settle_, &QTimer::timeout, this, &ScreenWatch::bringWindowsBack);
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        onScreensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenWatch::onScreensChanged);
}

void ScreenWatch::watch(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &ScreenWatch::onScreensChanged, Qt::UniqueConnection);
    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenWatch::onScreensChanged,
            Qt::UniqueConnection);
}

void ScreenWatch::onScreensChanged()
{
    settle_->start();
}

void ScreenWatch::bringWindowsBack()
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool))
            keepWithinReach(*window);
    }
}

} // namespace vqdbd::ui
