#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "tests/bars/BarTestFiles.h"
#include "ui/ApplicationForms.h"
#include "ui/TurnNotifier.h"

namespace quillon {

// Stands in for the notification service: notes each call's types, summary and body; answers none.
struct TListener : QDBusVirtualObject {
    QString notes;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& call, const QDBusConnection&) override {
        const QVariantList args = call.arguments();
        notes += call.member() + ' ' + call.signature() + ' ' + args.value(3).toString() + ", " +
                 args.value(4).toString() + '\n';
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
    for (const TRun* run : {&down, &up, &down, &up}) {
        notifier.Announce("EURUSD60.csv", *run);
    }
    notifier.Announce("GBPUSD60.csv", down);
    nowhere.Announce("EURUSD60.csv", up); // no bus at all: nothing is shown and nothing fails
    // No answer comes: Announce must not wait for one.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Calls on one connection arrive in order: when the last is in, so are all before it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.contains("GBPUSD60"); }, 10000));
    EXPECT_EQ(listener.notes.toStdString(),
              "Notify susssasa{sv}i EURUSD60: waves turned down, 20240123 0400 close 1.07690\n"
              "Notify susssasa{sv}i EURUSD60: waves turned up, 20240123 0400 close 1.07900\n"
              "Notify susssasa{sv}i GBPUSD60: waves turned down, 20240123 0400 close 1.07690\n");
    // The window, "Notify turns" checked, announces the turn of a run it completes, once.
    TApplicationForms forms(
        TDesktopServices{.notificationBus = QDBusConnection::connectToBus(address, "window")});
    forms.Form1.findChild<QCheckBox*>("CheckBox3")->setChecked(true);
    forms.Form1.SelectSourceFile(QString::fromStdString(dir.Path("EURUSD60.csv")));
    QTest::mouseClick(forms.Form1.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener.notes.count('\n') > 3; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(listener.notes.section('\n', 3).toStdString(),
              "Notify susssasa{sv}i EURUSD60: waves turned up, 20240123 0400 close 1.07900\n");
}

} // namespace quillon
