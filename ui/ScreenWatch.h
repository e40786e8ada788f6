// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QScreen;
class QTimer;

namespace vqdbd::ui {

// When the screens change while the program runs (a monitor plugged in or out, a resolution or a panel
// changed), every open window of the program is brought back within reach by the rule windows open
// by (see keepWithinReach).
class ScreenWatch final : public QObject
{
    Q_OBJECT
public:
    explicit ScreenWatch(QObject* parent = nullptr);

private:
    void watch(QScreen* screen);
    void onScreensChanged();
    void bringWindowsBack();

    QTimer* settle_;
};

} // namespace vqdbd::ui
