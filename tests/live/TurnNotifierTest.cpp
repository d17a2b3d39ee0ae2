#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "bars/MarksAtClose.h"
#include "live/TurnNotifier.h"
#include "tests/bars/BarTestFiles.h"
#include "ui/ApplicationForms.h"
#include "ui/watch/WatchListModel.h"

namespace quillon {

// Stands in for the notification service: notes each call's types, summary, body, the id it
// replaces and its desktop entry; answers a new notification with a new id, as the service does.
struct TListener : QDBusVirtualObject {
    QString notes;
    uint lastId = 40;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        const QVariantList args = call.arguments();
        const uint replaces = args.value(1).toUInt();
        notes += call.member() + ' ' + call.signature() + ' ' + args.value(3).toString() + ", " +
                 args.value(4).toString() +
                 QStringLiteral(" (replaces %1, %2)\n")
                     .arg(replaces)
                     .arg(qdbus_cast<QVariantMap>(args.value(6)).value("desktop-entry").toString());
        bus.send(call.createReply(QVariant::fromValue(replaces != 0 ? replaces : ++lastId)));
        return true;
    }
};

// The newest of the generator's 509 bars turns the waves down; as it forms, its close may rise so
// far that they turn up there instead, and fall back again.
TEST(TurnNotifierTest, OneNotifyForEachFileBarAndDirection) {
    TTempDir dir;
    QProcess bus; // a session bus of the test's own, killed when it goes
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address",
                              QString::fromStdString("--address=unix:dir=" + dir.Path(""))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return bus.canReadLine(); }, 10000))
        << "dbus-daemon: " << bus.errorString().toStdString();
    const QString address = bus.readLine().trimmed();
    TListener listener;
    QDBusConnection service = QDBusConnection::connectToBus(address, "service");
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/Notifications", &listener) &&
                service.registerService("org.freedesktop.Notifications"));
    std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 509});
    TRun down, up;
    WorkOutRun(dir.Write("EURUSD60.csv", BarFileText(bars)), {}, {}, down);
    bars.back().close = bars.back().high = 107900;
    WorkOutRun(dir.Write("EURUSD60.csv", BarFileText(bars)), {}, {}, up);
    TTurnNotifier notifier(QDBusConnection::connectToBus(address, "notifier"));
    TTurnNotifier nowhere(QDBusConnection::connectToBus("unix:path=/nonexistent", "nowhere"));
    const auto start = std::chrono::steady_clock::now();
    notifier.Announce("EURUSD60.csv", down);
    // The service answers on this thread, only while the test waits: Announce must not wait.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Once the answer is read, the file's next notifications replace the first.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return notifier.findChildren<QDBusPendingCallWatcher*>().isEmpty(); }, 10000));
    for (const TRun* run : {&up, &down, &up}) {
        notifier.Announce("EURUSD60.csv", *run);
    }
    notifier.Announce("GBPUSD60.csv", down);
    nowhere.Announce("EURUSD60.csv", up); // no bus at all: nothing is shown and nothing fails
    // Calls on one connection arrive in order: when the last is in, so are all before it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.contains("GBPUSD60"); }, 10000));
    EXPECT_EQ(listener.notes.toStdString(),
              "Notify susssasa{sv}i EURUSD60: waves turned down, 20240123 0400 close 1.07690 "
              "(replaces 0, quillon)\n"
              "Notify susssasa{sv}i EURUSD60: waves turned up, 20240123 0400 close 1.07900 "
              "(replaces 41, quillon)\n"
              "Notify susssasa{sv}i GBPUSD60: waves turned down, 20240123 0400 close 1.07690 "
              "(replaces 0, quillon)\n");
    // The window, "Notify turns" checked, announces the turn of a run it completes, once, and
    // those of the files ticked in its watch list, and of no other.
    bars.back() = GenerateBars({.barCount = 509}).back();
    for (const char* name : {"GBPUSD60.csv", "USDJPY60.csv"}) {
        WriteQuietFile(dir.Path(name), BarFileText(bars));
    }
    TApplicationForms forms(
        TDesktopServices{.notificationBus = QDBusConnection::connectToBus(address, "window")});
    forms.Form1.findChild<QCheckBox*>("NotifyTurns")->setChecked(true);
    forms.Form1.SelectSourceFile(QString::fromStdString(dir.Path("EURUSD60.csv")));
    QTest::mouseClick(forms.Form1.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QAbstractItemModel& rows = *forms.Form1.findChild<QTableView*>("WatchList")->model();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows.rowCount() == 3; }, 10000));
    for (int row = 0; row < 3; ++row) {
        if (rows.index(row, TWatchListModel::FileColumn).data() == "GBPUSD60.csv") {
            rows.setData(rows.index(row, TWatchListModel::NotifyColumn), Qt::Checked,
                         Qt::CheckStateRole);
        }
    }
    for (const char* name : {"GBPUSD60.csv", "USDJPY60.csv"}) {
        WriteTextFile(dir.Path(name), BarFileText(bars));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.count('\n') > 4; }, 10000));
    QTest::qWait(500);
    EXPECT_EQ(listener.notes.section('\n', 3).toStdString(),
              "Notify susssasa{sv}i EURUSD60: waves turned up, 20240123 0400 close 1.07900 "
              "(replaces 0, quillon)\n"
              "Notify susssasa{sv}i GBPUSD60: waves turned down, 20240123 0400 close 1.07690 "
              "(replaces 0, quillon)\n");

    // With marks at close, the bar that has just closed is told of when it is a turn at close,
    // once: found in a longer history, then announced from the file as it was just after it.
    std::vector<TGeneratedBar> history = GenerateBars({.barCount = 700});
    TRun whole;
    WorkOutRun(dir.Write("USDCHF60.csv", BarFileText(history)), {}, {}, whole);
    const TMarksAtClose wholeMarks = MarksAtClose(whole);
    int closed = whole.BarCount() - 2;
    while (closed > 0 && TurnAtClose(wholeMarks, closed) == TTick::None) {
        --closed;
    }
    ASSERT_GT(closed, 0);
    // The newest turn at close of the 500 bars loaded, as quillon-waves --at-close shows it on
    // the file's line 681.
    ASSERT_EQ(closed, 480);
    const QString told =
        QStringLiteral("USDCHF60: waves turned down at close, 20240130 0800 close 1.07754");
    history.resize(history.size() - static_cast<std::size_t>(whole.BarCount() - 2 - closed));
    TRun then;
    WorkOutRun(dir.Write("USDCHF60.csv", BarFileText(history)), {}, {}, then);
    const TMarksAtClose thenMarks = MarksAtClose(then);
    notifier.AnnounceAtClose("USDCHF60.csv", then, thenMarks);
    notifier.AnnounceAtClose("USDCHF60.csv", then, thenMarks);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.contains("USDCHF60"); }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(listener.notes.count("USDCHF60"), 1);
    EXPECT_TRUE(listener.notes.contains(told)) << listener.notes.toStdString();

    // Both boxes checked: the window tells of the turn at close of the bar just closed, for the
    // chosen file's click and for the ticked row's rewrite, and of no turn at the newest bar.
    forms.Form1.findChild<QCheckBox*>("MarksAtClose")->setChecked(true);
    const std::string closedAtTurn = BarFileText(history);
    WriteQuietFile(dir.Path("EURUSD60.csv"), closedAtTurn);
    QTest::mouseClick(forms.Form1.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    // The click's marks at close come from the pipeline: told before the rewrites start.
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.count(" at close") == 2; }, 10000));
    WriteTextFile(dir.Path("GBPUSD60.csv"), closedAtTurn);
    WriteTextFile(dir.Path("USDJPY60.csv"), closedAtTurn);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.count(" at close") == 3; }, 10000));
    QTest::qWait(500);
    EXPECT_EQ(listener.notes.section('\n', 6).toStdString(),
              "Notify susssasa{sv}i EURUSD60: waves turned down at close, 20240130 0800 close "
              "1.07754 (replaces 43, quillon)\n"
              "Notify susssasa{sv}i GBPUSD60: waves turned down at close, 20240130 0800 close "
              "1.07754 (replaces 44, quillon)\n");
}

} // namespace quillon
