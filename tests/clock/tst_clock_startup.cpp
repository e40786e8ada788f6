// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockRig.h"
#include "EventLoop.h"
#include "TestLocales.h"
#include "clock/TimeDisplay.h"
#include "state/SettingKeys.h"
#include "ui/Design.h"
#include "ui/StoreProblemReporter.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace vqdbd;
using vqdbd::test::ClockRig;

class ClockStartupTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyStoreGivesTheDesignedClock();
    void placeholderShowsUntilTheFirstTick();
    void alwaysOnTopCheckRunsOnlyForExactlyOne_data();
    void alwaysOnTopCheckRunsOnlyForExactlyOne();
    void slotChecksStartOnlyUnderAMasterSwitchOfExactlyOne_data();
    void slotChecksStartOnlyUnderAMasterSwitchOfExactlyOne();
    void readsKeysInTheStartupOrder();
    void storedSlotFieldsFillTheLiveState();
    void storedTimeKeepsAsManyCharactersAsTheClocksText_data();
    void storedTimeKeepsAsManyCharactersAsTheClocksText();
    void storedGeometryAndColoursAreApplied();
    void damagedValuesStartWithDefaultsAndTellTheUserOnce();
    void failingStoreStillStartsTheClock();
    void windowIsAFixedToolWindowOutOfTheTaskbar();
    void theWholeTimeFitsTheDisplayInEveryLocale_data();
    void theWholeTimeFitsTheDisplayInEveryLocale();
    void displayDrawsEachSecondAsTheTextBoxDid_data();
    void displayDrawsEachSecondAsTheTextBoxDid();
};

void ClockStartupTest::emptyStoreGivesTheDesignedClock()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    LiveState& state = clock.liveState();
    QCOMPARE(clock.windowTitle(), QStringLiteral("VQ-DRUM-BEAT-DIAL - V3"));
    QCOMPARE(clock.frameGeometry().topLeft(), QPoint(67, 67)); // 1000 twips
    QCOMPARE(clock.size(), QSize(233, 61)); // 3585 x 1230 twips outer, less the designed tool-window frame
    QVERIFY(state.isAlwaysOnTopCheckRunning());
    QCOMPARE(state.textColour(), 65280);
    QCOMPARE(state.backColour(), 0);
    QCOMPARE(state.masterSwitch, 0);
    for (int n = 1; n <= kSlotCount; ++n) {
        QVERIFY(!state.isSlotCheckRunning(n));
        QCOMPARE(state.slot(n), defaultSlot());
    }
    QCOMPARE(state.slot(1).name, QStringLiteral("Alarm Name"));
    QCOMPARE(state.slot(1).time, QStringLiteral("00:00:00"));
    QCOMPARE(state.slot(1).message, QStringLiteral("Display Message"));
    QCOMPARE(state.slot(1).command, QStringLiteral("Run Command"));
    QCOMPARE(LiveState::slotNumberText(10), QStringLiteral("10"));
    QCOMPARE(LiveState::testNumberText(), QStringLiteral("T"));
    QVERIFY(rig.backend.writeLog.isEmpty());
}

void ClockStartupTest::placeholderShowsUntilTheFirstTick()
{
    ClockRig rig;
    ClockWindow clock(rig.services());
    QCOMPARE(clock.timeText(), QStringLiteral("--:--:--"));
    clock.load();
    // 1'700'000'000 is 22:13:20 UTC
    QCOMPARE(clock.timeText(), QStringLiteral("22:13:20"));
}

void ClockStartupTest::alwaysOnTopCheckRunsOnlyForExactlyOne_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("running");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("2") << "2" << false;
}

void ClockStartupTest::alwaysOnTopCheckRunsOnlyForExactlyOne()
{
    QFETCH(QString, stored);
    QFETCH(bool, running);
    ClockRig rig;
    if (!stored.isNull())
        rig.backend.values.insert(QStringLiteral("AlwaysOnTop_TICKBOX"), stored);
    QCOMPARE(rig.start().liveState().isAlwaysOnTopCheckRunning(), running);
}

void ClockStartupTest::slotChecksStartOnlyUnderAMasterSwitchOfExactlyOne_data()
{
    QTest::addColumn<QString>("master");
    QTest::addColumn<QStringList>("enabled"); // slot 1 to 10
    QTest::addColumn<QList<int>>("running");
    const QStringList twoAndNine = { "0", "1", "0", "0", "0", "0", "0", "0", "1", "0" };
    const QStringList all = QStringList(10, QStringLiteral("1"));
    const QStringList mixed = { "1", "2", "0", "1", "", "x", "1", "0", "0", "1" };
    QTest::newRow("master 1, slots 2 and 9") << "1" << twoAndNine << QList<int> { 2, 9 };
    QTest::newRow("master 0, every slot on") << "0" << all << QList<int> {};
    QTest::newRow("master 2, every slot on") << "2" << all << QList<int> {};
    QTest::newRow("master absent, every slot on") << QString() << all << QList<int> {};
    QTest::newRow("master 1, 2 and damaged values stay off") << "1" << mixed << QList<int> { 1, 4, 7, 10 };
}

void ClockStartupTest::slotChecksStartOnlyUnderAMasterSwitchOfExactlyOne()
{
    QFETCH(QString, master);
    QFETCH(QStringList, enabled);
    QFETCH(QList<int>, running);
    ClockRig rig;
    if (!master.isNull())
        rig.backend.values.insert(QStringLiteral("ENABLE_ALARMS_TICKBOX"), master);
    for (int n = 1; n <= kSlotCount; ++n)
        rig.backend.values.insert(slotKey(SlotField::Enabled, n), enabled.at(n - 1));
    LiveState& state = rig.start().liveState();
    QList<int> actual;
    for (int n = 1; n <= kSlotCount; ++n) {
        if (state.isSlotCheckRunning(n))
            actual.append(n);
    }
    QCOMPARE(actual, running);
}

void ClockStartupTest::readsKeysInTheStartupOrder()
{
    ClockRig rig;
    rig.start();
    QStringList expected
        = { "CLOCK-MAIN-Left",     "CLOCK-MAIN-Top",  "CLOCK-MAIN-Width", "CLOCK-MAIN-Height",
            "AlwaysOnTop_TICKBOX", "CLOCK_FORECOLOR", "CLOCK_BACKCOLOR",  "ENABLE_ALARMS_TICKBOX" };
    for (const SlotField field :
         { SlotField::Enabled, SlotField::Name, SlotField::Time, SlotField::ShowMessage, SlotField::Message,
           SlotField::RunCommand, SlotField::Command, SlotField::AutoClose, SlotField::RunHidden }) {
        for (int n = 1; n <= kSlotCount; ++n)
            expected.append(slotKey(field, n));
    }
    QCOMPARE(expected.size(), 98);
    QCOMPARE(rig.backend.readLog.mid(0, expected.size()), expected);
}

void ClockStartupTest::storedSlotFieldsFillTheLiveState()
{
    ClockRig rig;
    auto& values = rig.backend.values;
    values.insert(QStringLiteral("ALARM_3_TICKBOX"), QStringLiteral("1"));
    values.insert(QStringLiteral("ALARM_3_NAME_TEXTBOX"), QStringLiteral("Tea"));
    values.insert(QStringLiteral("ALARM_3_TIME_TEXTBOX"), QStringLiteral("16:00:00"));
    values.insert(QStringLiteral("ALARM_3_DISPLAY_MESSAGE_TICKBOX"), QStringLiteral("1"));
    values.insert(QStringLiteral("ALARM_3_MESSAGE_TEXTBOX"), QString());
    values.insert(QStringLiteral("ALARM_3_RUN_COMMAND_TICKBOX"), QStringLiteral("1"));
    values.insert(QStringLiteral("ALARM_3_RUN_COMMAND_TEXTBOX"), QStringLiteral("sh -c 'echo tea'"));
    values.insert(QStringLiteral("RUN_HIDDEN_3_TICKBOX"), QStringLiteral("1"));
    values.insert(QStringLiteral("ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX"), QStringLiteral("1"));
    const AlarmSlot& slot = rig.start().liveState().slot(3);
    AlarmSlot expected;
    expected.enabled = 1;
    expected.name = QStringLiteral("Tea");
    expected.time = QStringLiteral("16:00:00");
    expected.showMessage = 1;
    expected.message = QString();
    expected.runCommand = 1;
    expected.command = QStringLiteral("sh -c 'echo tea'");
    expected.runHidden = 1;
    expected.autoClose = 1;
    QCOMPARE(slot, expected);
    QVERIFY(slot.message.isEmpty());
    QCOMPARE(rig.window->liveState().slot(4), defaultSlot());
}

void ClockStartupTest::storedTimeKeepsAsManyCharactersAsTheClocksText_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("kept"); // of "07:30:00 PM and more"
    QTest::newRow("C") << QByteArray("C.UTF-8") << "07:30:00";
    QTest::newRow("en_US") << QByteArray("en_US.UTF-8") << "07:30:00 PM";
}

void ClockStartupTest::storedTimeKeepsAsManyCharactersAsTheClocksText()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, kept);
    QVERIFY(test::provideLocales().isEmpty());
    ClockRig rig(locale);
    rig.backend.values.insert(QStringLiteral("ALARM_1_TIME_TEXTBOX"), QStringLiteral("07:30:00 PM and more"));
    QCOMPARE(rig.start().liveState().slot(1).time, kept);
}

void ClockStartupTest::storedGeometryAndColoursAreApplied()
{
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500"));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("3000"));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Width"), QStringLiteral("4500"));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Height"), QStringLiteral("1500"));
    rig.backend.values.insert(QStringLiteral("CLOCK_FORECOLOR"), QStringLiteral("255"));
    rig.backend.values.insert(QStringLiteral("CLOCK_BACKCOLOR"), QStringLiteral("16777215"));
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.frameGeometry().topLeft(), QPoint(100, 200));
    QCOMPARE(clock.size(), QSize(294, 79)); // 4500 x 1500 twips outer, less the designed frame
    auto* display = clock.findChild<TimeDisplay*>(QStringLiteral("TIME_TEXTBOX"));
    QVERIFY(display);
    QCOMPARE(display->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(display->palette().color(QPalette::Base), QColor(Qt::white));
}

void ClockStartupTest::damagedValuesStartWithDefaultsAndTellTheUserOnce()
{
    ClockRig rig;
    StoreProblemReporter reporter(rig.store, rig.notice);
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1e9"));
    rig.backend.values.insert(QStringLiteral("AlwaysOnTop_TICKBOX"), QStringLiteral("on"));
    rig.backend.values.insert(QStringLiteral("CLOCK_FORECOLOR"), QStringLiteral("99999999999"));
    rig.backend.values.insert(QStringLiteral("ENABLE_ALARMS_TICKBOX"), QStringLiteral("7"));
    rig.backend.values.insert(QStringLiteral("ALARM_5_TICKBOX"), QStringLiteral(""));
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.frameGeometry().left(), 67);
    QVERIFY(clock.liveState().isAlwaysOnTopCheckRunning());
    QCOMPARE(clock.liveState().textColour(), 65280);
    QCOMPARE(clock.liveState().masterSwitch, 0);
    QTRY_COMPARE(rig.notice.texts.size(), 1);
    for (const char* key : { "CLOCK-MAIN-Left", "AlwaysOnTop_TICKBOX", "CLOCK_FORECOLOR",
                             "ENABLE_ALARMS_TICKBOX", "ALARM_5_TICKBOX" })
        QVERIFY2(rig.notice.texts.at(0).contains(QLatin1String(key)), key);
    // The damaged texts stay in the store until the program writes those keys itself.
    QCOMPARE(rig.backend.value(QStringLiteral("AlwaysOnTop_TICKBOX")), QStringLiteral("on"));
}

void ClockStartupTest::failingStoreStillStartsTheClock()
{
    ClockRig rig;
    rig.backend.failReads = true;
    rig.backend.failWrites = true;
    StoreProblemReporter reporter(rig.store, rig.notice);
    ClockWindow& clock = rig.start();
    QVERIFY(clock.isVisible());
    QCOMPARE(clock.timeText(), QStringLiteral("22:13:20"));
    QTRY_COMPARE(rig.notice.texts.size(), 1);
    clock.close();
    QVERIFY(rig.store.hasUnsavedWrites());
    test::runPendingEvents();
    QCOMPARE(rig.notice.texts.size(), 1);
}

void ClockStartupTest::windowIsAFixedToolWindowOutOfTheTaskbar()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.windowType(), Qt::Tool);
    QVERIFY(clock.minimumSize() == clock.maximumSize());
    QVERIFY(rig.windows.calls.contains(QStringLiteral("skipTaskbar")));
    auto* maker = clock.findChild<QPushButton*>(QStringLiteral("VELA_QUILL_BUTTON"));
    QVERIFY(maker);
    QCOMPARE(maker->geometry(), QRect(8, 8, 49, 41));
    QCOMPARE(maker->iconSize(), QSize(52, 40));
    QCOMPARE(clock.findChild<TimeDisplay*>(QStringLiteral("TIME_TEXTBOX"))->geometry(),
             QRect(64, 8, 161, 45));
    QCOMPARE(maker->nextInFocusChain(), clock.findChild<TimeDisplay*>(QStringLiteral("TIME_TEXTBOX")));
}

void ClockStartupTest::theWholeTimeFitsTheDisplayInEveryLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    for (const QByteArray& locale : test::kTriedLocales)
        QTest::newRow(locale.constData()) << locale;
}

void ClockStartupTest::theWholeTimeFitsTheDisplayInEveryLocale()
{
    QFETCH(QByteArray, locale);
    const QString problem = test::provideLocales();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    test::ClockRig rig(locale);
    auto* display = rig.start().findChild<TimeDisplay*>(QStringLiteral("TIME_TEXTBOX"));
    const QString text = display->text();
    QCOMPARE(text, rig.timeFormat.format(wallSecondAt(1'700'000'000).local));
    // The designed box and at most the designed 35 pixels (26.25 pt); the display keeps 6 pixels for
    // margins and a cursor, as a line edit does, and scrolls a wider text out of sight.
    QCOMPARE(display->geometry(), QRect(64, 8, 161, 45));
    const int pixels = display->font().pixelSize();
    const auto width = [display](const QString& sample, int size) {
        QFont font = display->font();
        font.setPixelSize(size);
        return QFontMetricsF(font).horizontalAdvance(sample);
    };
    QVERIFY(pixels <= 35 && width(text, pixels) <= display->width() - 6);
    // Just small enough: one pixel more and some hour's text would not fit.
    const QStringList samples = rig.timeFormat.hourSamples();
    QVERIFY(pixels == 35 || std::any_of(samples.begin(), samples.end(), [&](const QString& sample) {
                return width(sample, pixels + 1) > display->width() - 6;
            }));
    // The green ink drawn spans the whole text and stays clear of the box's edges.
    const QImage image = display->grab().toImage();
    int left = image.width(), right = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).green() > 128) {
                left = std::min(left, x);
                right = x;
            }
        }
    }
    QVERIFY2(
        left > 0 && right < image.width() - 1 && right - left + 1 >= 0.9 * width(text, pixels),
        qPrintable(QStringLiteral("ink %1..%2 for %3 px").arg(left).arg(right).arg(width(text, pixels))));
}

void ClockStartupTest::displayDrawsEachSecondAsTheTextBoxDid_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<qint32>("text");
    QTest::addColumn<qint32>("back");
    for (const char* locale : { "C.UTF-8", "en_US.UTF-8" }) {
        QTest::addRow("%s, green on black", locale) << QByteArray(locale) << 65280 << 0;
        QTest::addRow("%s, black on yellow", locale) << QByteArray(locale) << 0 << 65535;
    }
}

// What the window shows of each second, painted as the seconds pass, is pixel for pixel what the
// read-only text box the display replaced draws of the same text in the same font and colours.
void ClockStartupTest::displayDrawsEachSecondAsTheTextBoxDid()
{
    QFETCH(QByteArray, locale);
    QFETCH(qint32, text);
    QFETCH(qint32, back);
    QVERIFY(test::provideLocales().isEmpty());
    ClockRig rig(locale);
    ClockWindow& clock = rig.start();
    QVERIFY(QTest::qWaitForWindowExposed(&clock));
    // As the colours window sets them, while the clock runs.
    clock.liveState().setTextColour(text);
    clock.liveState().setBackColour(back);
    auto* display = clock.findChild<TimeDisplay*>(QStringLiteral("TIME_TEXTBOX"));
    QVERIFY(display);
    QLineEdit box;
    box.setFrame(false);
    box.setReadOnly(true);
    box.setAlignment(Qt::AlignCenter);
    box.setFont(display->font());
    ui::setTextColour(box, text);
    ui::setBackColour(box, back);
    box.resize(display->size());
    const QRect place(display->mapTo(&clock, QPoint(0, 0)), display->size());

    const qint64 midnight = 1'699'920'000; // 2023-11-14 00:00:00 UTC
    int compared = 0;
    const auto compare = [&] {
        box.setText(clock.timeText());
        const QImage drawn
            = QGuiApplication::primaryScreen()
                  ->grabWindow(clock.winId(), place.x(), place.y(), place.width(), place.height())
                  .toImage()
                  .convertToFormat(QImage::Format_RGB32);
        const QImage expected = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(drawn.size(), expected.size());
        int differ = 0;
        QPoint first;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                if (drawn.pixel(x, y) != expected.pixel(x, y) && differ++ == 0)
                    first = QPoint(x, y);
            }
        }
        QVERIFY2(differ == 0,
                 qPrintable(QStringLiteral("%1: %2 pixels differ, the first at %3,%4")
                                .arg(clock.timeText())
                                .arg(differ)
                                .arg(first.x())
                                .arg(first.y())));
        ++compared;
    };
    // The hours of narrow ones, tens that change together, noon and midnight.
    for (const qint64 start : { 9 * 3600 + 59 * 60 + 57, 11 * 3600 + 59 * 60 + 58, 14 * 3600 + 11 * 60 + 10,
                                20 * 3600 + 48 * 60 + 26, 23 * 3600 + 59 * 60 + 58 }) {
        rig.clock.jumpTo(test::FakeWallClock::at(midnight + start, 100));
        for (int second = 0; second < 4 && !QTest::currentTestFailed(); ++second) {
            if (second > 0)
                rig.clock.runFor(std::chrono::seconds(1));
            test::runPendingEvents();
            compare();
        }
    }
    QCOMPARE(compared, 20);
}

QTEST_MAIN(ClockStartupTest)
#include "tst_clock_startup.moc"
