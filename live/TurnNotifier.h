#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"
#include "bars/Turns.h"
#include "live/TurnMemory.h"

namespace quillon {

// Tells the desktop when the waves turn at the newest bar of a run, through the freedesktop
// notification service on a D-Bus bus. The newest bar is still forming in the terminal, so its
// marks can come and go between rewrites of the file: each file, bar and direction is announced
// once, and a run of an unchanged file announces nothing. A file's new notification takes the
// place of its last one on the desktop, so that a followed file leaves one notification there, not
// one per turn. Without a bus or a notification service nothing is shown and nothing fails; the
// window never waits for an answer.
class TTurnNotifier : public QObject {
    Q_OBJECT

public:
    // On the session bus, connected at the first turn to announce: a window that never announces
    // one never touches the bus.
    TTurnNotifier() = default;
    explicit TTurnNotifier(const QDBusConnection& bus);

    // After a complete run of the file at filePath (the path as chosen; it names the file in the
    // notification and in what was announced).
    void Announce(const QString& filePath, const TRun& run);
    // The same for the bar that closed when the run's newest bar appeared, when it is a turn at
    // close (marks are the run's marks at close): a turn that stays, where the newest bar's may
    // come and go as it forms.
    void AnnounceAtClose(const QString& filePath, const TRun& run, const TMarksAtClose& marks);

private:
    // Tells of turn (none: nothing) of the file; when is said after the turn's words.
    void Tell(const QString& filePath, const TNewestTurn& turn, const QString& when);
    void KeepNotificationId(const QString& filePath, std::uint32_t id);

    std::optional<QDBusConnection> bus_;
    TTurnMemory announced_;
    // The service's id of each file's last notification, for the files announced_ keeps.
    std::map<QString, std::uint32_t> notificationIds_;
};

} // namespace quillon
