// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NotificationWindowBase.h"

namespace vqdbd {

// VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW: the notification look with no alarm behind it, where the
// user may tick Run Command, type a command line and try it with RUN NOW. It remembers only its
// place; every opening starts from the design.
class TestNotificationWindow final : public NotificationWindowBase
{
    Q_OBJECT
public:
    static QString windowName();
    static QString title();

    TestNotificationWindow(const WindowServices& services, QWidget* owner);

    // Creates the window over its owner, loads it and shows it modally.
    static TestNotificationWindow* showOver(const WindowServices& services, QWidget* owner);

    void load() override;

protected:
    // Its place only: the test window's texts are never saved.
    void saveOnClosing() override;
    QString launchOrigin() const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onRunCommandTickboxChanged();
    void onRunCommandTextboxChanged();
    void showCommandNote();
};

} // namespace vqdbd
