#pragma once

#include <optional>
#include <set>
#include <string>
#include <tuple>

#include <QDBusConnection>
#include <QString>

#include "bars/Run.h"
#include "bars/RunWaves.h"

namespace quillon {

// Tells the desktop when the waves turn at the newest bar of a run, through the freedesktop
// notification service on a D-Bus bus. The newest bar is still forming in the terminal, so its
// marks can come and go between rewrites of the file: each file, bar and direction is announced
// once, and a run of an unchanged file announces nothing. Without a bus or a notification service
// nothing is shown and nothing fails; the window never waits for an answer.
class TTurnNotifier {
public:
    // On the session bus, connected at the first turn to announce: a window that never announces
    // one never touches the bus.
    TTurnNotifier() = default;
    explicit TTurnNotifier(const QDBusConnection& bus);

    // After a complete run of the file at filePath (the path as chosen; it names the file in the
    // notification and in what was announced).
    void Announce(const QString& filePath, const TRun& run);

private:
    std::optional<QDBusConnection> bus_;
    // File path, the bar's date and time, direction.
    std::set<std::tuple<QString, std::string, TTick>> announced_;
};

} // namespace quillon
