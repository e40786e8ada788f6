// SPDX-License-Identifier: GPL-3.0-or-later
// The settings windows' OK on the real settings file: how long OK takes with a 10 KB and a 1 MB
// file, how many times it rewrites the file, and the longest the clock's event loop went without a
// turn meanwhile (a 1 ms timer stands in for the clock's tick: any gap over 1 ms is a stall).
//
// Usage: bench_store [ROUNDS]
#include "platform/DetachedProcessLauncher.h"
#include "platform/IniSettingsBackend.h"
#include "platform/SettingsFile.h"
#include "platform/UserNotice.h"
#include "platform/X11WindowManager.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "settings_ui/ColoursWindow.h"
#include "settings_ui/SettingsWindow.h"
#include "state/LiveState.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "ui/WindowServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace vqdbd;

// Counts the writes that reached the file and the times the file was replaced.
class CountingBackend final : public SettingsBackend
{
public:
    explicit CountingBackend(const QString& path)
        : inner_(path)
        , path_(path)
    { }
    using SettingsBackend::write;
    StoredValue read(const QString& key) override { return inner_.read(key); }
    QString write(const SettingChanges& changes, std::chrono::milliseconds lockWait) override
    {
        const settingsfile::Stamp before = settingsfile::stampOf(path_);
        QString problem = inner_.write(changes, lockWait);
        if (!(settingsfile::stampOf(path_) == before))
            ++rewrites;
        return problem;
    }
    int rewrites = 0;

private:
    IniSettingsBackend inner_;
    QString path_;
};

class SilentNotice final : public UserNotice
{
public:
    void tell(const QString& title, const QString& text) override
    {
        std::printf("notice: %s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
    }
};

// The longest gap between turns of a 1 ms timer while it runs.
class StallProbe final : public QObject
{
public:
    StallProbe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        connect(&timer_, &QTimer::timeout, this, [this] {
            longest_ = std::max(longest_, clock_.nsecsElapsed());
            clock_.restart();
        });
    }
    void start()
    {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    double stopMs()
    {
        timer_.stop();
        longest_ = std::max(longest_, clock_.nsecsElapsed());
        return static_cast<double>(longest_) / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

void spinFor(int ms)
{
    QElapsedTimer spun;
    spun.start();
    while (spun.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

// Ten alarms whose names, messages and commands fill the file to about the given size.
void fillStore(SettingsStore& store, qsizetype bytes)
{
    const SettingsBatch batch(store);
    const qsizetype perText = std::max<qsizetype>(8, bytes / (kSlotCount * 3) - 40);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        store.saveSetting(slotKey(SlotField::Enabled, slot), QStringLiteral("1"));
        store.saveSetting(slotKey(SlotField::Time, slot),
                          QStringLiteral("07:%1:00").arg(slot, 2, 10, QChar(u'0')));
        const QString filler = QString(perText, QChar(u'a' + slot));
        store.saveSetting(slotKey(SlotField::Name, slot), QStringLiteral("Alarm %1 ").arg(slot) + filler);
        store.saveSetting(slotKey(SlotField::Message, slot),
                          QStringLiteral("Message, with \"quotes\" ") + filler);
        store.saveSetting(slotKey(SlotField::Command, slot),
                          QStringLiteral("notify-send 'hi; there' ") + filler);
    }
}

struct Figures
{
    std::vector<double> okMs;
    std::vector<double> stallMs;
    std::vector<int> rewrites;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

template<typename Window>
Figures measureOk(const WindowServices& services, CountingBackend& backend, QWidget& owner, int rounds,
                  const std::function<void(Window&)>& change)
{
    Figures figures;
    StallProbe probe;
    for (int round = 0; round < rounds; ++round) {
        Window* window = Window::showOver(services, &owner);
        change(*window);
        spinFor(20);
        auto* ok = window->template findChild<QPushButton*>(QStringLiteral("OK_BUTTON"));
        const int rewritesBefore = backend.rewrites;
        double okMs = 0;
        probe.start();
        QTimer::singleShot(5, window, [&] {
            QElapsedTimer timer;
            timer.start();
            ok->click();
            okMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        });
        spinFor(40);
        figures.stallMs.push_back(probe.stopMs());
        figures.okMs.push_back(okMs);
        figures.rewrites.push_back(backend.rewrites - rewritesBefore);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return figures;
}

void print(const char* window, const QString& size, const Figures& figures)
{
    const auto [fewest, most] = std::minmax_element(figures.rewrites.begin(), figures.rewrites.end());
    std::printf("%-16s %-6s OK median %8.2f ms, max %8.2f ms | rewrites per OK %d..%d | longest tick stall "
                "median %8.2f ms, max %8.2f ms\n",
                window, qPrintable(size), median(figures.okMs),
                *std::max_element(figures.okMs.begin(), figures.okMs.end()), *fewest, *most,
                median(figures.stallMs), *std::max_element(figures.stallMs.begin(), figures.stallMs.end()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;

    for (const qsizetype size : { qsizetype(10 * 1024), qsizetype(1024 * 1024) }) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("VQ_DBD/bench.conf"));
        CountingBackend backend(path);
        SettingsStore store(backend);
        fillStore(store, size);
        const QString label = QStringLiteral("%1 KB").arg(QFileInfo(path).size() / 1024);

        LiveState state;
        const TimeTextFormat timeFormat;
        DetachedProcessLauncher launcher;
        SilentNotice notice;
        const WindowServices services { store, state, platformWindowManager(), timeFormat, launcher, notice };
        QWidget owner;
        owner.show();

        // Each round changes something, so that every OK has a change to save.
        int round = 0;
        print("alarm settings", label,
              measureOk<AlarmSettingsWindow>(
                  services, backend, owner, rounds, [&](AlarmSettingsWindow& window) {
                      auto* name = window.findChild<QLineEdit*>(QStringLiteral("ALARM_1_NAME_TEXTBOX"));
                      name->setText(QStringLiteral("Tea %1").arg(++round));
                  }));
        print("colours", label,
              measureOk<ColoursWindow>(services, backend, owner, rounds, [&](ColoursWindow& window) {
                  window.move(100 + (++round % 50), 100);
              }));
        print("settings", label,
              measureOk<SettingsWindow>(services, backend, owner, rounds, [&](SettingsWindow& window) {
                  window.move(100 + (++round % 50), 100);
              }));
    }
    return 0;
}
