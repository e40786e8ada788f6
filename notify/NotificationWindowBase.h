// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Design.h"
#include "ui/WindowServices.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vqdbd {

// What the slot notification windows and the test notification window share: the design, the
// flashing "!!!" marks, the auto-close countdown with its check box, START/STOP button and
// double-click, RUN NOW on the window's own controls, and OK. Each window closes for good: it is
// deleted once closed and built afresh the next time.
// The controls a window fills from its slot, or from what the test window was given.
struct NotificationContent
{
    QLineEdit* name = nullptr;
    QLineEdit* message = nullptr;
    QCheckBox* runCommand = nullptr;
    QCheckBox* runHidden = nullptr;
    QLineEdit* numberLeft = nullptr;
    QLineEdit* numberRight = nullptr;
    QLineEdit* command = nullptr;
    QPushButton* runNow = nullptr;
    QCheckBox* autoClose = nullptr;
};

class NotificationWindowBase : public QWidget
{
    Q_OBJECT
public:
    // The countdown starts from this many seconds and closes the window when it reaches zero.
    static constexpr int kCountdownSeconds = 11;

    ~NotificationWindowBase() override;

    // Reads what the window shows from the store and the live state and sets its timers going.
    virtual void load() = 0;
    // Shows the window over its owner; until it closes, no other window of the program takes input.
    void showModal();

    int countdown() const { return countdown_; }

protected:
    NotificationWindowBase(const WindowServices& services, QWidget* owner,
                           const std::vector<ui::ControlDesign>& design, QSize designedClientArea);

    // The load's common steps, in the order the load takes them.
    void startTimers();
    void applyAutoCloseAtLoad();
    void enableRunNowFromRunCommand();
    // Brings the open window back before the user: to the front, the marks flashing from red again,
    // and, with auto-close ticked, the countdown running afresh from 11 seconds.
    void bringBack();

    // What the window writes as it closes, by OK, its close box or the end of the run alike; OK also
    // writes it before it closes.
    virtual void saveOnClosing() = 0;
    // Who asks for RUN NOW's launch, as a failure message names it.
    virtual QString launchOrigin() const = 0;

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    WindowServices services_;
    NotificationContent content_;

private:
    QLineEdit* exLeft_;
    QLineEdit* exRight_;
    QLineEdit* countdownBox_;
    QPushButton* startStop_;
    QPushButton* ok_;
    QTimer* flashOn_;
    QTimer* flashOff_;
    QTimer* autoCloseTimer_;
    int countdown_ = kCountdownSeconds;

    template<typename Control> Control* control(const char* name);
    QTimer* timer(const char* name);
    void showCountdown();
    // Runs the count afresh from its first second, or stops it showing "OFF".
    void startCountdown();
    void stopCountdown();

    void onFlashOnTimerTick();
    void onFlashOffTimerTick();
    void onAutoCloseTimerTick();
    void onAutoCloseTickboxChanged();
    void onStartStopClicked();
    void onCountdownDoubleClicked();
    void onRunNowClicked();
    void onOkClicked();
};

} // namespace vqdbd
