// SPDX-License-Identifier: GPL-3.0-or-later
// Every caption of every window fits its control whole: the room is what the style leaves for the
// text inside the control (a check box's indicator, a button's frame, a text box's margins), the
// need is the text's width and height in the font the control is drawn in. The fonts are the ones
// the program is laid out in (Liberation Sans, DejaVu Sans), which scripts/deps.sh installs.
#include "ClockRig.h"
#include "TestLocales.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"
#include "notify/TestNotificationWindow.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "settings_ui/ColoursWindow.h"
#include "settings_ui/SettingsWindow.h"
#include "ui/NoticeWindow.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <optional>

using namespace vqdbd;
using vqdbd::test::ClockRig;

namespace {

// What a caption needs and what its control leaves it, in pixels.
struct Fit
{
    QSize need;
    QSize room;
};

QSize textSize(const QWidget& control, const QString& text)
{
    return control.fontMetrics().size(Qt::TextShowMnemonic, text);
}

QStyleOptionButton buttonOption(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (const auto* push = qobject_cast<const QPushButton*>(&button)) {
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        if (push->isFlat())
            option.features |= QStyleOptionButton::Flat;
    }
    return option;
}

std::optional<Fit> captionFit(const QWidget& control)
{
    const QStyle* style = control.style();
    if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
        if (box->text().isEmpty())
            return std::nullopt;
        const QStyleOptionButton option = buttonOption(*box);
        return Fit { textSize(*box, box->text()),
                     style->subElementRect(QStyle::SE_CheckBoxContents, &option, box).size() };
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        if (button->text().isEmpty())
            return std::nullopt;
        const QStyleOptionButton option = buttonOption(*button);
        return Fit { textSize(*button, button->text()),
                     style->subElementRect(QStyle::SE_PushButtonContents, &option, button).size() };
    }
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        if (label->text().isEmpty() || label->pixmap().toImage().width() > 0)
            return std::nullopt;
        const int margin = label->margin() + std::max(0, label->indent());
        return Fit { control.fontMetrics().size(0, label->text()),
                     label->contentsRect().marginsRemoved({ margin, margin, margin, margin }).size() };
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(&control)) {
        if (box->text().isEmpty())
            return std::nullopt;
        QStyleOptionFrame option;
        option.initFrom(box);
        option.lineWidth
            = box->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
        option.state |= QStyle::State_Sunken;
        // A line edit keeps two pixels clear on either side of its text.
        constexpr int kTextMargin = 2;
        const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, box)
                               .marginsRemoved(box->textMargins())
                               .adjusted(kTextMargin, 0, -kTextMargin, 0);
        return Fit { QSize(box->fontMetrics().horizontalAdvance(box->text()), box->fontMetrics().height()),
                     room.size() };
    }
    return std::nullopt;
}

} // namespace

class CaptionsFitTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void everyCaptionFitsItsControl_data();
    void everyCaptionFitsItsControl();
};

void CaptionsFitTest::initTestCase()
{
    // Without the fonts the windows are laid out in, a fit here says nothing about the user's desktop.
    const QStringList families = QFontDatabase::families();
    for (const char* family : { "Liberation Sans", "DejaVu Sans" })
        QVERIFY2(families.contains(QLatin1String(family)),
                 qPrintable(QStringLiteral("%1 is not installed (scripts/deps.sh installs it)").arg(family)));
}

void CaptionsFitTest::everyCaptionFitsItsControl_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("fewestCaptions"); // so that a window that lost its controls does not pass
    QTest::addColumn<QByteArray>("locale"); // the clock's; alarm 6 is set for its 19:30:00
    QTest::newRow("clock") << "VQ_DBD_MAIN" << 0 << QByteArray("C");
    QTest::newRow("settings") << "VQ_DBD_SETTINGS" << 9 << QByteArray("C");
    QTest::newRow("colours") << "VQ_DBD_COLORS_WINDOW" << 4 << QByteArray("C");
    QTest::newRow("alarm settings") << "VQ_DBD_ALARM_SETTINGS" << 80 << QByteArray("C");
    QTest::newRow("alarm settings, 12-hour time")
        << "VQ_DBD_ALARM_SETTINGS" << 80 << QByteArray("en_US.UTF-8");
    QTest::newRow("test notification") << "VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW" << 14 << QByteArray("C");
    QTest::newRow("alarm notification") << "VQ_DBD_ALARM_6_NOTIFICATION_WINDOW" << 13 << QByteArray("C");
    QTest::newRow("notice") << "VQ_DBD_NOTICE" << 4 << QByteArray("C");
}

void CaptionsFitTest::everyCaptionFitsItsControl()
{
    QFETCH(QString, window);
    QFETCH(int, fewestCaptions);
    QFETCH(QByteArray, locale);
    QVERIFY(test::provideLocales().isEmpty());
    ClockRig rig(locale);
    QVERIFY(rig.timeFormat.loadedRequestedLocale());
    rig.backend.values = { { "ALARM_6_RUN_COMMAND_TICKBOX", "1" },
                           { "ALARM_6_NAME_TEXTBOX", "Tea" },
                           { "ALARM_6_TIME_TEXTBOX", rig.timeFormat.format(19, 30, 0) } };
    ClockWindow& clock = rig.start();
    const WindowServices settingsServices { rig.store,      clock.liveState(), rig.windows,
                                            rig.timeFormat, rig.launcher,      rig.notice };
    NoticeWindow notice(rig.windows);
    notice.tell(QStringLiteral("VQ-DBD - V3 - SETTINGS NOT SAVED"), QStringLiteral("The disk is full."));
    QWidget* settings = SettingsWindow::showOver(settingsServices, &clock);
    QWidget* colours = ColoursWindow::showOver(settingsServices, settings);
    QWidget* alarmSettings = AlarmSettingsWindow::showOver(settingsServices, settings);
    QWidget* test = TestNotificationWindow::showOver(settingsServices, alarmSettings);
    clock.notificationWindows().openWindow(6);
    const QList<QWidget*> windows
        = { &clock, settings, colours, alarmSettings, test, clock.notificationWindows().window(6), &notice };

    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&](const QWidget* open) { return open->objectName() == window; });
    QVERIFY2(found != windows.end(), qPrintable(window));
    QStringList misfits;
    int captions = 0;
    for (QWidget* control : (*found)->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(*found) || control->window() != *found)
            continue;
        const std::optional<Fit> fit = captionFit(*control);
        if (!fit)
            continue;
        ++captions;
        const QString text = control->property("text").toString().replace(u'\n', u' ');
        if (fit->need.width() > fit->room.width() || fit->need.height() > fit->room.height())
            misfits.append(QStringLiteral("%1 \"%2\" needs %3x%4 px, has %5x%6")
                               .arg(control->objectName(), text)
                               .arg(fit->need.width())
                               .arg(fit->need.height())
                               .arg(fit->room.width())
                               .arg(fit->room.height()));
    }
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(QStringLiteral("; "))));
    QVERIFY2(captions >= fewestCaptions, qPrintable(QString::number(captions)));
    notice.close();
}

QTEST_MAIN(CaptionsFitTest)
#include "tst_captions_fit.moc"
