#include "ui/TurnNotifier.h"

#include <QDBusMessage>
#include <QFileInfo>
#include <QStringList>
#include <QVariantMap>

#include "bars/Turns.h"

namespace quillon {

TTurnNotifier::TTurnNotifier(const QDBusConnection& bus)
    : bus_(bus) {}

void TTurnNotifier::Announce(const QString& filePath, const TRun& run) {
    const TNewestTurn turn = NewestTurn(run);
    if (turn.turn == TTick::None) {
        return;
    }
    const std::string barTime = turn.date + ' ' + turn.time;
    if (!announced_.emplace(filePath, barTime, turn.turn).second) {
        return;
    }
    if (!bus_) {
        bus_ = QDBusConnection::sessionBus();
    }
    const QString summary = QFileInfo(filePath).completeBaseName() +
                            (turn.turn == TTick::Up ? QStringLiteral(": waves turned up")
                                                    : QStringLiteral(": waves turned down"));
    // The bar file is 8-bit text; Latin-1 keeps each of its characters as one.
    const QString body = QString::fromLatin1(barTime + " close " + turn.close);
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app_name, replaces_id (none), app_icon, summary, body, actions, hints, expire_timeout (the
    // server's default).
    notify << QStringLiteral("Quillon") << 0u << QStringLiteral("quillon") << summary << body
           << QStringList() << QVariantMap() << -1;
    // Sent without waiting for the reply, so that a slow or missing service never holds the
    // window up. Without a bus it is not sent at all, and nothing is to be shown.
    bus_->send(notify);
}

} // namespace quillon
