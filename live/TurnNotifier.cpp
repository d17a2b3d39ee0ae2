#include "live/TurnNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

#include "bars/Turns.h"
#include "live/EightBitText.h"

namespace quillon {

TTurnNotifier::TTurnNotifier(const QDBusConnection& bus)
    : bus_(bus) {}

namespace {

// The bar before the newest, which closed when the newest appeared, when it is a turn at close.
TNewestTurn ClosedBarTurn(const TRun& run, const TMarksAtClose& marks) {
    const int closed = run.BarCount() - 2;
    return closed < 0 ? TNewestTurn{} : TurnAtBar(run, closed, TurnAtClose(marks, closed));
}

} // namespace

void TTurnNotifier::Announce(const QString& filePath, const TRun& run) {
    Tell(filePath, NewestTurn(run), QString());
}

void TTurnNotifier::AnnounceAtClose(const QString& filePath, const TRun& run,
                                    const TMarksAtClose& marks) {
    Tell(filePath, ClosedBarTurn(run, marks), QStringLiteral(" at close"));
}

void TTurnNotifier::Tell(const QString& filePath, const TNewestTurn& turn, const QString& when) {
    if (turn.turn == TTick::None) {
        return;
    }
    const std::string barTime = turn.date + ' ' + turn.time;
    if (!announced_.FirstTime(filePath.toStdString(), barTime, turn.turn)) {
        return;
    }
    if (!bus_) {
        bus_ = QDBusConnection::sessionBus();
    }
    const QString summary = QFileInfo(filePath).completeBaseName() +
                            (turn.turn == TTick::Up ? QStringLiteral(": waves turned up")
                                                    : QStringLiteral(": waves turned down")) +
                            when;
    const QString body = FromEightBit(barTime + " close " + turn.close);
    // Until the service has answered the file's first notification with its id, the file's next
    // one goes with 0 as well and stands beside it on the desktop.
    const auto known = notificationIds_.find(filePath);
    const std::uint32_t replacesId = known == notificationIds_.end() ? 0 : known->second;
    // The desktop entry lets the desktop show the program's own name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("quillon")}};
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout (the server's
    // default).
    notify << QStringLiteral("Quillon") << replacesId << QStringLiteral("quillon") << summary
           << body << QStringList() << hints << -1;
    // The answer is read when it comes, so that a slow or missing service never holds the window
    // up; without a bus or a service the answer is an error, and nothing is to be shown. Every
    // answer is read, not only the first: should a server answer a replacement with an id of its
    // own, the file's next notification still replaces the one on the desktop.
    auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, filePath](QDBusPendingCallWatcher* answered) {
                const QDBusPendingReply<std::uint32_t> reply = *answered;
                if (!reply.isError()) {
                    KeepNotificationId(filePath, reply.value());
                }
                answered->deleteLater();
            });
}

void TTurnNotifier::KeepNotificationId(const QString& filePath, std::uint32_t id) {
    if (!announced_.Remembers(filePath.toStdString())) {
        return;
    }
    notificationIds_.insert_or_assign(filePath, id);
    // Bounded as announced_ is: the ids of the files it has let go of go too.
    if (notificationIds_.size() > TTurnMemory::DefaultMaxFiles) {
        std::erase_if(notificationIds_, [this](const auto& entry) {
            return !announced_.Remembers(entry.first.toStdString());
        });
    }
}

} // namespace quillon
