// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotificationWindowBase.h"

#include "LaunchFailureReport.h"
#include "alarms/CommandLaunch.h"
#include "ui/Colours.h"
#include "ui/Switches.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace vqdbd {

namespace {

constexpr int kFlashMilliseconds = 500;
constexpr int kCountdownTickMilliseconds = 1000;

const QString kStart = QStringLiteral("START");
const QString kStop = QStringLiteral("STOP");
const QString kOn = QStringLiteral("ON");
const QString kOff = QStringLiteral("OFF");
const QString kNow = QStringLiteral("NOW");

} // namespace

NotificationWindowBase::NotificationWindowBase(const WindowServices& services, QWidget* owner,
                                               const std::vector<ui::ControlDesign>& design,
                                               QSize designedClientArea)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , services_(services)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(ui::toPixels(static_cast<float>(designedClientArea.width())),
           ui::toPixels(static_cast<float>(designedClientArea.height())));
    ui::createControls(*this, design);
    exLeft_ = control<QLineEdit>("EX_LEFT_TEXTBOX");
    exRight_ = control<QLineEdit>("EX_RIGHT_TEXTBOX");
    content_.name = control<QLineEdit>("ALARM_NAME_TEXTBOX");
    content_.message = control<QLineEdit>("ALARM_NOTIFICATION_MESSAGE_TEXTBOX");
    content_.runCommand = control<QCheckBox>("ALARM_RUN_COMMAND_TICKBOX");
    content_.runHidden = control<QCheckBox>("RUN_HIDDEN_TICKBOX");
    content_.numberLeft = control<QLineEdit>("ALARM_NUMBER_LEFT_TEXTBOX");
    content_.numberRight = control<QLineEdit>("ALARM_NUMBER_RIGHT_TEXTBOX");
    content_.command = control<QLineEdit>("ALARM_RUN_COMMAND_TEXTBOX");
    content_.runNow = control<QPushButton>("RUN_NOW_BUTTON");
    content_.autoClose = control<QCheckBox>("ALARM_MESSAGE_AUTO_CLOSE_TICKBOX");
    countdownBox_ = control<QLineEdit>("AUTOCLOSE_COUNTDOWN_TB");
    startStop_ = control<QPushButton>("START_STOP_BUTTON");
    ok_ = control<QPushButton>("OK_BUTTON");
    flashOn_ = timer("FLASH_ON_TIMER");
    flashOff_ = timer("FLASH_OFF_TIMER");
    autoCloseTimer_ = timer("ALARM_MESSAGE_AUTOCLOSE_TIMER");

    // A double-click on the countdown box stops the count or starts it afresh.
    countdownBox_->installEventFilter(this);

    connect(flashOn_, &QTimer::timeout, this, &NotificationWindowBase::onFlashOnTimerTick);
    connect(flashOff_, &QTimer::timeout, this, &NotificationWindowBase::onFlashOffTimerTick);
    connect(autoCloseTimer_, &QTimer::timeout, this, &NotificationWindowBase::onAutoCloseTimerTick);
    // Set from code or clicked, the auto-close box runs the same rule whenever its value changes.
    ui::whenValueChanges(*content_.autoClose, *this, [this] { onAutoCloseTickboxChanged(); });
    connect(startStop_, &QPushButton::clicked, this, &NotificationWindowBase::onStartStopClicked);
    connect(content_.runNow, &QPushButton::clicked, this, &NotificationWindowBase::onRunNowClicked);
    connect(ok_, &QPushButton::clicked, this, &NotificationWindowBase::onOkClicked);
}

NotificationWindowBase::~NotificationWindowBase() = default;

template<typename Control> Control* NotificationWindowBase::control(const char* name)
{
    return &ui::control<Control>(*this, QString::fromLatin1(name));
}

QTimer* NotificationWindowBase::timer(const char* name)
{
    auto* made = new QTimer(this);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

void NotificationWindowBase::showModal()
{
    setWindowModality(Qt::ApplicationModal);
    // A window shown last comes up above the ones before it.
    show();
    activateWindow();
}

void NotificationWindowBase::startTimers()
{
    countdown_ = kCountdownSeconds;
    autoCloseTimer_->setInterval(kCountdownTickMilliseconds);
    flashOn_->setInterval(kFlashMilliseconds);
    flashOff_->setInterval(kFlashMilliseconds);
    // The marks flash from the start: the on timer runs, the off timer waits for it.
    flashOn_->start();
}

void NotificationWindowBase::applyAutoCloseAtLoad()
{
    if (ui::isOn(*content_.autoClose)) {
        autoCloseTimer_->start();
        startStop_->setText(kStop);
        startStop_->setEnabled(true);
    } else {
        stopCountdown();
        startStop_->setText(kStart);
        startStop_->setEnabled(false);
    }
}

void NotificationWindowBase::enableRunNowFromRunCommand()
{
    content_.runNow->setEnabled(ui::isOn(*content_.runCommand));
}

void NotificationWindowBase::bringBack()
{
    flashOff_->stop();
    ui::setTextColour(*exLeft_, ui::kRed);
    ui::setTextColour(*exRight_, ui::kRed);
    flashOn_->start();
    if (ui::isOn(*content_.autoClose)) {
        startStop_->setText(kStop);
        startStop_->setEnabled(true);
        startCountdown();
    }
    raise();
    activateWindow();
    // Where the window manager keeps the focus elsewhere, the taskbar at least flashes the window.
    QApplication::alert(this);
}

void NotificationWindowBase::showCountdown()
{
    countdownBox_->setText(QStringLiteral("%1").arg(countdown_, 2, 10, QLatin1Char('0')));
}

void NotificationWindowBase::startCountdown()
{
    autoCloseTimer_->start();
    countdown_ = kCountdownSeconds;
    // The box shows at once the number the first tick will show.
    countdownBox_->setText(QString::number(kCountdownSeconds - 1));
}

void NotificationWindowBase::stopCountdown()
{
    autoCloseTimer_->stop();
    countdownBox_->setText(kOff);
}

void NotificationWindowBase::onFlashOnTimerTick()
{
    ui::setTextColour(*exLeft_, ui::kRed);
    ui::setTextColour(*exRight_, ui::kRed);
    flashOff_->start();
    flashOn_->stop();
}

void NotificationWindowBase::onFlashOffTimerTick()
{
    ui::setTextColour(*exLeft_, ui::kBlack);
    ui::setTextColour(*exRight_, ui::kBlack);
    flashOff_->stop();
    flashOn_->start();
}

void NotificationWindowBase::onAutoCloseTimerTick()
{
    if (!ui::isOn(*content_.autoClose))
        return;
    countdown_ = std::max(0, countdown_ - 1);
    showCountdown();
    if (countdownBox_->text() == QStringLiteral("00")) {
        countdownBox_->setText(kNow);
        close();
    }
}

void NotificationWindowBase::onAutoCloseTickboxChanged()
{
    if (ui::isOn(*content_.autoClose)) {
        countdownBox_->setText(kOn);
        startStop_->setEnabled(true);
        countdown_ = kCountdownSeconds;
    } else {
        stopCountdown();
        startStop_->setEnabled(false);
        startStop_->setText(kStart);
    }
}

void NotificationWindowBase::onStartStopClicked()
{
    if (startStop_->text() == kStart) {
        startStop_->setText(kStop);
        startCountdown();
    } else {
        startStop_->setText(kStart);
        stopCountdown();
    }
}

void NotificationWindowBase::onCountdownDoubleClicked()
{
    if (autoCloseTimer_->isActive())
        stopCountdown();
    else
        startCountdown();
}

void NotificationWindowBase::onRunNowClicked()
{
    const QString commandLine = content_.command->text();
    const LaunchAttempt launch
        = applyLaunchRule(services_.launcher, ui::switchValue(*content_.runCommand),
                          ui::switchValue(*content_.runHidden), commandLine,
                          reportFailedEnding(services_.notice, services_.timeFormat, launchOrigin(),
                                             content_.name->text(), commandLine));
    if (launch.failed())
        reportLaunchFailure(services_.notice, launchOrigin(), commandLine, launch.problem);
}

void NotificationWindowBase::onOkClicked()
{
    // OK saves, and the close that follows saves as every close does.
    saveOnClosing();
    close();
}

void NotificationWindowBase::closeEvent(QCloseEvent* event)
{
    saveOnClosing();
    flashOn_->stop();
    flashOff_->stop();
    autoCloseTimer_->stop();
    event->accept();
}

bool NotificationWindowBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == countdownBox_ && event->type() == QEvent::MouseButtonDblClick) {
        onCountdownDoubleClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vqdbd
