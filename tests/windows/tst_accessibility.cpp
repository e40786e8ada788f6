// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard and screen readers: every control of every window has a name a screen reader can say,
// read through Qt's accessibility interface, and can be reached with Tab in the designed order;
// Enter and Space press the focused button and Escape closes a dialog as its close box does. On a
// screen smaller than a window (run again on 640 x 480), the window lies on the screen, opens at its
// top-left, and every control can be scrolled into view.
#include "ClockRig.h"
#include "EventLoop.h"
#include "clock/TimeDisplay.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"
#include "notify/TestNotificationWindow.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "settings_ui/ColoursWindow.h"
#include "settings_ui/SettingsWindow.h"
#include "ui/NoticeWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace vqdbd;
using vqdbd::test::ClockRig;

namespace {

QString spokenName(QWidget& control)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// The window's controls in the order Tab visits them, starting from the first.
QStringList tabOrder(QWidget& window)
{
    QStringList order;
    QWidget* widget = window.nextInFocusChain();
    while (widget && widget != &window && order.size() < 500) {
        if (widget->isVisibleTo(&window) && (widget->focusPolicy() & Qt::TabFocus))
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    return order;
}

// The controls a user reaches with Tab: buttons, text boxes and the clock's time display.
bool takesPartInTheTabOrder(QWidget* control)
{
    return qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control)
        || qobject_cast<TimeDisplay*>(control);
}

bool comesInOrder(const QStringList& order, const QStringList& expected)
{
    qsizetype last = -1;
    for (const QString& name : expected) {
        const qsizetype at = order.indexOf(name);
        if (at <= last)
            return false;
        last = at;
    }
    return true;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void captionlessControlsAreDescribed_data();
    void captionlessControlsAreDescribed();
    void timeReadsAsAReadOnlyTextBox();
    void everyControlOfEveryWindowHasANameAndTakesTab();
    void tabFollowsTheDesignedOrder();
    void everyWindowLiesOnTheScreenAndEveryControlComesIntoView();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void escapeActsAsTheCloseBox_data();
    void escapeActsAsTheCloseBox();

private:
    QList<QWidget*> openEveryWindow(ClockRig& rig);
    QWidget* openWindow(ClockRig& rig, const QString& name);

    std::unique_ptr<NoticeWindow> notice_;
};

void AccessibilityTest::initTestCase()
{
    QAccessible::setActive(true);
}

void AccessibilityTest::captionlessControlsAreDescribed_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("preset") << "RED_FOREGROUND_COLOR_BUTTON"
                            << "Red text colour";
    QTest::newRow("background preset") << "PURPLE_BACKGROUND_COLOR_BUTTON"
                                       << "Purple background colour";
    QTest::newRow("row switch") << "ALARM_3_TICKBOX"
                                << "Enable alarm 3";
    QTest::newRow("row name") << "ALARM_10_NAME_TEXTBOX"
                              << "Name of alarm 10";
    QTest::newRow("row command") << "ALARM_4_RUN_COMMAND_TEXTBOX"
                                 << "Command of alarm 4";
    QTest::newRow("row number") << "ALARM_NUMBER_7_TEXTBOX"
                                << "Alarm 7";
    QTest::newRow("captioned") << "ALARM_SETTINGS_BUTTON"
                               << "Alarm Settings";
    QTest::newRow("countdown") << "AUTOCLOSE_COUNTDOWN_TB"
                               << "Autoclose countdown";
    QTest::newRow("maker") << "VELA_QUILL_BUTTON"
                           << "VELA-QUILL: open the settings";
}

// Read from the built windows, as a screen reader would.
void AccessibilityTest::captionlessControlsAreDescribed()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    ClockRig rig;
    QWidget* found = nullptr;
    for (QWidget* window : openEveryWindow(rig)) {
        if (window->objectName() == control)
            found = window;
        else if (!found)
            found = window->findChild<QWidget*>(control);
    }
    QVERIFY2(found, qPrintable(control));
    QCOMPARE(QAccessible::queryAccessibleInterface(found)->text(QAccessible::Name), name);
}

// A screen reader reads the time display as it read the read-only text box the display replaced:
// a text box named Time, read-only, whose value and text are the time shown.
void AccessibilityTest::timeReadsAsAReadOnlyTextBox()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    auto* display = clock.findChild<QWidget*>(QStringLiteral("TIME_TEXTBOX"));
    QVERIFY(display);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(display);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::EditableText);
    QVERIFY(accessible->state().readOnly);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Time"));
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("22:13:20"));
    QAccessibleTextInterface* text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 8);
    QCOMPARE(text->text(0, 8), QStringLiteral("22:13:20"));
    rig.clock.runFor(std::chrono::seconds(1));
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("22:13:21"));
    QCOMPARE(text->text(6, 8), QStringLiteral("21"));
}

QList<QWidget*> AccessibilityTest::openEveryWindow(ClockRig& rig)
{
    ClockWindow& clock = rig.start();
    const WindowServices settingsServices { rig.store,      clock.liveState(), rig.windows,
                                            rig.timeFormat, rig.launcher,      rig.notice };
    QWidget* settings = SettingsWindow::showOver(settingsServices, &clock);
    QWidget* colours = ColoursWindow::showOver(settingsServices, settings);
    QWidget* alarmSettings = AlarmSettingsWindow::showOver(settingsServices, settings);
    QWidget* test = TestNotificationWindow::showOver(settingsServices, alarmSettings);
    clock.notificationWindows().openWindow(6);
    return { &clock, settings, colours, alarmSettings, test, clock.notificationWindows().window(6) };
}

void AccessibilityTest::everyControlOfEveryWindowHasANameAndTakesTab()
{
    ClockRig rig;
    const QList<QWidget*> windows = openEveryWindow(rig);
    int checked = 0;
    for (QWidget* window : windows) {
        const QStringList order = tabOrder(*window);
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(window) || control->window() != window)
                continue;
            if (!takesPartInTheTabOrder(control))
                continue;
            ++checked;
            const QString where = window->objectName() + u'/' + control->objectName();
            QVERIFY2(!spokenName(*control).trimmed().isEmpty(),
                     qPrintable(where + QStringLiteral(" has no name")));
            QVERIFY2(order.contains(control->objectName()),
                     qPrintable(where + QStringLiteral(" is not reached by Tab")));
        }
    }
    QVERIFY(checked > 150);
}

void AccessibilityTest::tabFollowsTheDesignedOrder()
{
    ClockRig rig;
    const QList<QWidget*> windows = openEveryWindow(rig);
    QVERIFY(comesInOrder(tabOrder(*windows.at(0)), { "VELA_QUILL_BUTTON", "TIME_TEXTBOX" }));
    QVERIFY(comesInOrder(tabOrder(*windows.at(1)),
                         { "OK_BUTTON", "AlwaysOnTop_TICKBOX", "ALARM_SETTINGS_BUTTON", "COLORS_BUTTON" }));
    QCOMPARE(tabOrder(*windows.at(1)).first(), QStringLiteral("OK_BUTTON"));
    QCOMPARE(tabOrder(*windows.at(3)).first(), QStringLiteral("OK_BUTTON"));
}

// Opens the named window alone over the clock, as the program would.
QWidget* AccessibilityTest::openWindow(ClockRig& rig, const QString& name)
{
    ClockWindow& clock = rig.start();
    const WindowServices settingsServices { rig.store,      clock.liveState(), rig.windows,
                                            rig.timeFormat, rig.launcher,      rig.notice };
    if (name == QStringLiteral("VQ_DBD_SETTINGS"))
        return SettingsWindow::showOver(settingsServices, &clock);
    if (name == QStringLiteral("VQ_DBD_COLORS_WINDOW"))
        return ColoursWindow::showOver(settingsServices, &clock);
    if (name == QStringLiteral("VQ_DBD_ALARM_SETTINGS"))
        return AlarmSettingsWindow::showOver(settingsServices, &clock);
    if (name == TestNotificationWindow::windowName())
        return TestNotificationWindow::showOver(settingsServices, &clock);
    if (name == AlarmNotificationWindow::windowName(6)) {
        clock.notificationWindows().openWindow(6);
        return clock.notificationWindows().window(6);
    }
    if (name == NoticeWindow::windowName()) {
        notice_ = std::make_unique<NoticeWindow>(rig.windows);
        notice_->tell(QStringLiteral("VQ-DBD - V3 - SETTINGS NOT SAVED"),
                      QStringLiteral("The disk is full."));
        return notice_.get();
    }
    return &clock;
}

void AccessibilityTest::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    const QList<std::pair<const char*, const char*>> buttons = {
        { "VQ_DBD_MAIN", "VELA_QUILL_BUTTON" },
        { "VQ_DBD_SETTINGS", "OK_BUTTON" },
        { "VQ_DBD_SETTINGS", "ALARM_SETTINGS_BUTTON" },
        { "VQ_DBD_SETTINGS", "COLORS_BUTTON" },
        { "VQ_DBD_COLORS_WINDOW", "OK_BUTTON" },
        { "VQ_DBD_COLORS_WINDOW", "RED_FOREGROUND_COLOR_BUTTON" },
        { "VQ_DBD_ALARM_SETTINGS", "OK_BUTTON" },
        { "VQ_DBD_ALARM_SETTINGS", "TEST_ALARM_WINDOW_BUTTON" },
        { "VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW", "OK_BUTTON" },
        { "VQ_DBD_ALARM_6_NOTIFICATION_WINDOW", "OK_BUTTON" },
        { "VQ_DBD_ALARM_6_NOTIFICATION_WINDOW", "RUN_NOW_BUTTON" },
        { "VQ_DBD_NOTICE", "DISMISS_BUTTON" },
    };
    for (const auto& [window, button] : buttons)
        QTest::addRow("%s %s", window, button) << window << button;
}

// Return on the main keyboard, Enter on the keypad and Space alike press the button that has the
// focus, once, and nothing else.
void AccessibilityTest::enterPressesTheFocusedButton()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    for (const auto& [key, modifiers] :
         { std::pair { Qt::Key_Return, Qt::NoModifier }, std::pair { Qt::Key_Enter, Qt::KeypadModifier },
           std::pair { Qt::Key_Space, Qt::NoModifier } }) {
        ClockRig rig;
        rig.backend.values
            = { { "ALARM_6_RUN_COMMAND_TICKBOX", "1" }, { "ALARM_6_RUN_COMMAND_TEXTBOX", "true" } };
        QWidget* opened = openWindow(rig, window);
        QVERIFY(opened);
        QCOMPARE(opened->objectName(), window);
        auto* target = opened->findChild<QPushButton*>(button);
        QVERIFY(target);
        QVERIFY(target->isEnabled());
        target->setFocus();
        QCOMPARE(opened->focusWidget(), target);
        QSignalSpy pressed(target, &QAbstractButton::clicked);
        QList<QSignalSpy*> others;
        for (QPushButton* other : opened->findChildren<QPushButton*>()) {
            if (other != target)
                others.append(new QSignalSpy(other, &QAbstractButton::clicked));
        }
        QTest::keyClick(opened->focusWidget(), key, modifiers);
        QCOMPARE(pressed.count(), 1);
        for (QSignalSpy* other : std::as_const(others))
            QCOMPARE(other->count(), 0);
        qDeleteAll(others);
        if (notice_)
            notice_->close();
        notice_.reset();
    }
}

void AccessibilityTest::escapeActsAsTheCloseBox_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("saved"); // the keys the close box saves, and so Escape
    QTest::newRow("settings") << "VQ_DBD_SETTINGS" << QStringList();
    QTest::newRow("colours") << "VQ_DBD_COLORS_WINDOW"
                             << QStringList { "COLORS-WINDOW-Left", "COLORS-WINDOW-Top" };
    QTest::newRow("alarm settings") << "VQ_DBD_ALARM_SETTINGS"
                                    << QStringList { "ALARM-SETTINGS-Left", "ALARM-SETTINGS-Top" };
    QTest::newRow("test notification")
        << "VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW"
        << QStringList { "ALARM-TEST-NOTIFICATION-MESSAGE-Left", "ALARM-TEST-NOTIFICATION-MESSAGE-Top" };
}

// Escape closes the window the way its close box does: the same keys saved, nothing of OK's. A
// preset clicked first stays on the clock without being stored.
void AccessibilityTest::escapeActsAsTheCloseBox()
{
    QFETCH(QString, window);
    QFETCH(QStringList, saved);
    QStringList closeBoxWrites;
    for (const bool escape : { false, true }) {
        ClockRig rig;
        QWidget* opened = openWindow(rig, window);
        QPointer<QWidget> alive = opened;
        if (auto* red = opened->findChild<QPushButton*>(QStringLiteral("RED_FOREGROUND_COLOR_BUTTON")))
            red->click();
        rig.backend.writeLog.clear();
        if (escape)
            QTest::keyClick(opened->focusWidget() ? opened->focusWidget() : opened, Qt::Key_Escape);
        else
            opened->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(!alive || !alive->isVisible(),
                 escape ? "Escape left it open" : "the close box left it open");
        QStringList keys;
        for (const QString& write : std::as_const(rig.backend.writeLog))
            keys.append(write.section(u'=', 0, 0));
        QCOMPARE(keys, saved);
        // The same values too: on a small screen the window was moved to fit, and both store that.
        if (escape)
            QCOMPARE(rig.backend.writeLog, closeBoxWrites);
        closeBoxWrites = rig.backend.writeLog;
        if (window == QStringLiteral("VQ_DBD_COLORS_WINDOW"))
            QCOMPARE(rig.window->liveState().textColour(), 255);
    }
}

void AccessibilityTest::everyWindowLiesOnTheScreenAndEveryControlComesIntoView()
{
    ClockRig rig;
    rig.windows.frame = QMargins(1, 20, 1, 1);
    const QList<QWidget*> windows = openEveryWindow(rig);
    test::runPendingEvents(); // the windows shown, as the event loop shows them
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    int checked = 0;
    for (QWidget* window : windows) {
        // The outer frame as placed: its corner where the window was put, its size the client area
        // with the window manager's frame.
        const QRect frame(window->frameGeometry().topLeft(), window->size().grownBy(rig.windows.frame));
        QVERIFY2(screen.contains(frame),
                 qPrintable(window->objectName() + u' ' + QString::number(frame.width()) + u'x'
                            + QString::number(frame.height())));
        // A window cut down to the screen opens at its top-left, with its title row in view; the
        // focused button answers the keys wherever it lies (enterPressesTheFocusedButton).
        if (auto* area = window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly)) {
            QVERIFY2(area->horizontalScrollBar()->value() == 0 && area->verticalScrollBar()->value() == 0,
                     qPrintable(window->objectName() + QStringLiteral(" opens scrolled to ")
                                + QString::number(area->horizontalScrollBar()->value()) + u','
                                + QString::number(area->verticalScrollBar()->value())));
        }
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!control->isVisibleTo(window) || control->window() != window)
                continue;
            if (!takesPartInTheTabOrder(control))
                continue;
            ++checked;
            // Scrolled to, as a user would: the whole control in view, not only a text box's cursor.
            for (QWidget* up = control->parentWidget(); up != window; up = up->parentWidget()) {
                if (auto* area = qobject_cast<QScrollArea*>(up)) {
                    const QPoint centre = control->mapTo(area->widget(), control->rect().center());
                    area->ensureVisible(centre.x(), centre.y(), control->width() / 2 + 1,
                                        control->height() / 2 + 1);
                }
            }
            const QRect place(control->mapTo(window, QPoint(0, 0)), control->size());
            QVERIFY2(window->rect().contains(place),
                     qPrintable(window->objectName() + u'/' + control->objectName()
                                + QStringLiteral(" out of view at ") + QString::number(place.x()) + u','
                                + QString::number(place.y()) + u' ' + QString::number(place.width()) + u'x'
                                + QString::number(place.height())));
        }
    }
    QVERIFY(checked > 150);
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
