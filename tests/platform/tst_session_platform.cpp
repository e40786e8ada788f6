// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SessionPlatform.h"

#include <QTest>

using namespace vqdbd;

class SessionPlatformTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void waylandSessionWithAnXServerRunsOnX11_data();
    void waylandSessionWithAnXServerRunsOnX11();
    void qtChoosesWhereX11IsNotNeededOrNotThere_data();
    void qtChoosesWhereX11IsNotNeededOrNotThere();
};

void SessionPlatformTest::waylandSessionWithAnXServerRunsOnX11_data()
{
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::newRow("session type and display") << QByteArray("wayland") << QByteArray("wayland-0");
    QTest::newRow("session type only") << QByteArray("wayland") << QByteArray();
    QTest::newRow("session type in capitals") << QByteArray("Wayland") << QByteArray();
    QTest::newRow("Wayland display in a session of no type") << QByteArray() << QByteArray("wayland-1");
    QTest::newRow("Wayland display in a tty session") << QByteArray("tty") << QByteArray("wayland-0");
}

void SessionPlatformTest::waylandSessionWithAnXServerRunsOnX11()
{
    QFETCH(QByteArray, sessionType);
    QFETCH(QByteArray, waylandDisplay);
    QCOMPARE(qtPlatformForSession({ sessionType, waylandDisplay, ":0", {} }), QByteArray("xcb"));
}

void SessionPlatformTest::qtChoosesWhereX11IsNotNeededOrNotThere_data()
{
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("x11Display");
    QTest::addColumn<QByteArray>("qtPlatform");
    QTest::newRow("X11 session") << QByteArray("x11") << QByteArray() << QByteArray(":0") << QByteArray();
    QTest::newRow("no session, X server") << QByteArray() << QByteArray() << QByteArray(":1") << QByteArray();
    QTest::newRow("Wayland without XWayland")
        << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray() << QByteArray();
    QTest::newRow("user chose Wayland")
        << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland");
    QTest::newRow("user chose a list")
        << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland;xcb");
    QTest::newRow("user chose offscreen")
        << QByteArray("wayland") << QByteArray() << QByteArray(":0") << QByteArray("offscreen");
    QTest::newRow("console") << QByteArray("tty") << QByteArray() << QByteArray() << QByteArray();
}

void SessionPlatformTest::qtChoosesWhereX11IsNotNeededOrNotThere()
{
    QFETCH(QByteArray, sessionType);
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, x11Display);
    QFETCH(QByteArray, qtPlatform);
    QCOMPARE(qtPlatformForSession({ sessionType, waylandDisplay, x11Display, qtPlatform }), QByteArray());
}

QTEST_GUILESS_MAIN(SessionPlatformTest)
#include "tst_session_platform.moc"
