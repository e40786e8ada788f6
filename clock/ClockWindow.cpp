// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockWindow.h"

#include "Artwork.h"
#include "SecondTicker.h"
#include "TimeDisplay.h"
#include "alarms/AlarmEngine.h"
#include "alarms/Diagnostics.h"
#include "alarms/WakeSchedule.h"
#include "notify/SlotNotificationWindows.h"
#include "platform/WindowManager.h"
#include "settings_ui/SettingsWindow.h"
#include "state/Captions.h"
#include "state/SettingKeys.h"
#include "state/StartupState.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/FontFit.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowServices.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <utility>

namespace vqdbd {

namespace {

ui::ControlDesign timeDisplayDesign()
{
    return ui::controlDesign(QStringLiteral("TIME_TEXTBOX"), ui::ControlKind::TextBox,
                             QStringLiteral("--:--:--"), 960, 120, 2415, 675,
                             { .font = ui::FontDesign { ui::FontDesign::Face::Arial, 26.25, true },
                               .textColour = settings::kTextColour.defaultValue,
                               .backColour = settings::kBackColour.defaultValue,
                               .alignment = Qt::AlignCenter,
                               .locked = true });
}

ui::ControlDesign makerButtonDesign()
{
    return ui::controlDesign(QStringLiteral("VELA_QUILL_BUTTON"), ui::ControlKind::Button, QString(), 120,
                             120, 735, 615,
                             { .font = std::nullopt,
                               .backColour = ui::kBlack,
                               .accessibleName = QStringLiteral("VELA-QUILL: open the settings") });
}

// The display places its text as a line edit does: 2 pixels of margin either side of the text and 2
// for a cursor; a text wider than the rest scrolls, and the clock would show ":44:21 AM" without its
// hour.
constexpr int kLineEditSlack = 6;

bool fitsTimeDisplay(const QFont& font, const QString& text, int room)
{
    return std::ceil(QFontMetricsF(font).horizontalAdvance(text)) <= room;
}

// The designed font, made just small enough that each text fits the designed box whole; a 12-hour
// locale's text ("07:35:23 PM") is wider than the box was drawn for.
QFont fittedTimeFont(QFont font, const QStringList& texts, int room)
{
    const auto allFit = [&texts, room](const QFont& candidate) {
        return std::all_of(texts.begin(), texts.end(),
                           [&](const QString& text) { return fitsTimeDisplay(candidate, text, room); });
    };
    // The time is shown whole at any size rather than cut.
    return ui::fitFont(std::move(font), 1, allFit);
}

} // namespace

ClockWindow::ClockWindow(const ClockServices& services, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , services_(services)
    , loggedNotice_(std::make_unique<LoggedNotice>(services.notice))
    , ticker_(new SecondTicker(services.clock, services.timeFormat, this))
{
    setObjectName(QStringLiteral("VQ_DBD_MAIN"));
    setWindowTitle(captions::clock());
    // The drum picture; the member windowIcon() of the same name would give the window its own empty icon.
    setWindowIcon(vqdbd::windowIcon());
    ui::setBackColour(*this, ui::kBlack);

    // The maker button comes first in the tab order, so it holds the focus when the window opens.
    makerButton_ = &ui::createControl<QPushButton>(*this, makerButtonDesign());
    makerButton_->setIcon(QIcon(makerLogo()));
    makerButton_->setIconSize(QSize(52, 40));
    makerButton_->setFlat(true);
    makerButton_->setFocus();

    const ui::ControlDesign display = timeDisplayDesign();
    timeDisplay_ = new TimeDisplay(this);
    ui::applyDesign(*timeDisplay_, display);
    timeDisplay_->setText(display.caption);
    timeDisplay_->setContextMenuPolicy(Qt::PreventContextMenu);
    timeDisplay_->installEventFilter(this);
    // Sized once for every hour's text, so that the digits keep their size as the day goes on.
    QStringList shown = services.timeFormat.hourSamples();
    shown.append(timeDisplay_->text());
    timeDisplay_->setFont(fittedTimeFont(timeDisplay_->font(), shown, timeDisplayRoom()));

    connect(makerButton_, &QPushButton::clicked, this, &ClockWindow::onMakerButtonClicked);
    connect(ticker_, &SecondTicker::secondShown, this, &ClockWindow::onSecondShown);

    // The alarms hear each second after the display shows it, and compare with the same text.
    notificationWindows_ = std::make_unique<SlotNotificationWindows>(windowServices(), *this);
    alarms_ = new AlarmEngine(state_, services.launcher, services.timeFormat, *notificationWindows_,
                              *loggedNotice_, services.desktop, services.wakeTimer, this);
    connect(ticker_, &SecondTicker::secondShown, alarms_, &AlarmEngine::onSecondShown);
    // After the alarms, so that an alarm that fired this second is armed for its next day.
    auto* wakeScheduler = new WakeScheduler(state_, services.timeFormat, services.wakeTimer, this);
    connect(ticker_, &SecondTicker::secondShown, wakeScheduler, &WakeScheduler::onSecondShown);
    connect(&state_, &LiveState::coloursChanged, this, &ClockWindow::onColoursChanged);
    connect(&state_, &LiveState::alwaysOnTopCheckChanged, this, &ClockWindow::onAlwaysOnTopCheckChanged);
}

ClockWindow::~ClockWindow() = default;

void ClockWindow::load()
{
    ui::placeFromStore(*this, services_.store, windows::clock(), services_.windows);
    services_.windows.keepOutOfTaskbar(*this);
    readLiveState(services_.store, state_, services_.timeFormat.longestText());
    onColoursChanged();
    ticker_->start();
}

QString ClockWindow::timeText() const
{
    return timeDisplay_->text();
}

int ClockWindow::timeDisplayRoom() const
{
    return timeDisplay_->contentsRect().width() - kLineEditSlack;
}

void ClockWindow::onSecondShown(const WallSecond&, const QString& text)
{
    if (std::ceil(timeDisplay_->textWidth(text)) > timeDisplayRoom())
        timeDisplay_->setFont(fittedTimeFont(timeDisplay_->font(), { text }, timeDisplayRoom()));
    timeDisplay_->setText(text);
    // The always-on-top check shares the clock's once-a-second wake-up instead of waking on its own.
    if (state_.isAlwaysOnTopCheckRunning())
        onAlwaysOnTopTick();
}

void ClockWindow::onAlwaysOnTopTick()
{
    if (!isVisible())
        return;
    const auto own = static_cast<WindowManager::WindowId>(winId());
    const auto active = services_.windows.activeWindow();
    if (active && *active == own)
        return;
    // Demote whatever the user is working in before raising the clock above it. A window already in
    // the state asked for is left alone, which spares the window manager a request every second.
    if (active && services_.windows.isKeptAbove(*active))
        services_.windows.setKeepAbove(*active, false);
    if (!services_.windows.isKeptAbove(own))
        services_.windows.setKeepAbove(own, true);
    // Another program's kept-above window that is not active (a picture-in-picture player) would
    // otherwise stay over the clock for good.
    if (services_.windows.hasKeptAboveWindowOver(own))
        services_.windows.raise(own);
}

void ClockWindow::onAlwaysOnTopCheckChanged(bool running)
{
    // A stopped check leaves an ordinary window: the clock leaves the band the ticks put it in. Started
    // again, the next tick puts it back.
    if (!running && internalWinId() != 0)
        services_.windows.setKeepAbove(static_cast<WindowManager::WindowId>(internalWinId()), false);
}

void ClockWindow::onMakerButtonClicked()
{
    openSettingsWindow();
}

void ClockWindow::onTimeDisplayDoubleClicked()
{
    openSettingsWindow();
}

void ClockWindow::onTimeDisplayMouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        openSettingsWindow();
}

void ClockWindow::openSettingsWindow()
{
    SettingsWindow::showOver(windowServices(), this);
}

WindowServices ClockWindow::windowServices()
{
    return { services_.store,    state_,        services_.windows, services_.timeFormat,
             services_.launcher, *loggedNotice_ };
}

void ClockWindow::onColoursChanged()
{
    ui::setTextColour(*timeDisplay_, state_.textColour());
    ui::setBackColour(*timeDisplay_, state_.backColour());
}

bool ClockWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == timeDisplay_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            // Only the left button double-clicks; another button's second press is a press.
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (button == Qt::LeftButton)
                onTimeDisplayDoubleClicked();
            else
                onTimeDisplayMouseDown(button);
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            onTimeDisplayMouseDown(static_cast<QMouseEvent*>(event)->button());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ClockWindow::savePosition()
{
    ui::savePlace(*this, services_.store, windows::clock());
}

void ClockWindow::closeEvent(QCloseEvent* event)
{
    if (!positionSaved_) {
        positionSaved_ = true;
        savePosition();
    }
    // Nothing ticks or fires once the clock has closed.
    ticker_->stop();
    event->accept();
    Q_EMIT closed();
}

} // namespace vqdbd
