#pragma once

#include <cstdint>
#include <string>

#include <QHash>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include "bars/RunFromTexts.h"
#include "ui/WatchListModel.h"

namespace quillon {

// What the run of one file of the watch list gives back.
struct TWatchResult {
    TWatchEntry entry;
    // The file was held or being written: its writer may let go of it without another change.
    bool held = false;
};

// The run of the file at path with the edit boxes' texts and the decimal separator of settings
// (its path and read pauses are not looked at), summed up. It reads neither waiting for the file
// nor pausing after a failure: the folder's watcher tells when a file has settled. Never raises;
// a bar count or lag that is no integer is the row's failure.
TWatchResult WatchRun(const std::string& path, const TRunSettings& settings);

// Runs the files of the watch list off the window's thread, each run with storage of its own, at
// most one run of a file at a time: a file asked for during its run is run again after it.
// Results come back on the window's thread.
class TWatchRunner : public QObject {
    Q_OBJECT

public:
    explicit TWatchRunner(QObject* parent = nullptr);
    // Waits for the runs under way; those not started are dropped.
    ~TWatchRunner() override;

    // Runs started from now on take these settings; runs of others give no result.
    void UseSettings(const TRunSettings& settings);
    const TRunSettings& Settings() const { return settings_; }
    void Request(const QString& path);

signals:
    void Finished(const TWatchResult& result);

private:
    void Start(const QString& path);

    TRunSettings settings_;
    // Counts the settings taken, so that a result tells which it was worked out with.
    std::uint64_t generation_ = 0;
    // The files being run, each with whether it is asked for again.
    QHash<QString, bool> running_;
    QThreadPool pool_;
};

} // namespace quillon
