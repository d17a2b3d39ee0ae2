#pragma once

#include <set>
#include <string>
#include <vector>

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "live/FileRun.h"
#include "ui/watch/WatchListModel.h"

namespace quillon {

// The watch list's work: the finished run of every bar file of the listed folder, as the live
// pipeline hands it over, put in the table as the file's row, and the row taken out when the file
// goes. Which files run, and when, is the pipeline's.
class TWatchList : public QObject {
    Q_OBJECT

public:
    explicit TWatchList(QObject* parent = nullptr);

    // Lists the bar files of folder in place of those of another; the same folder goes on.
    void ListFolder(const QString& folder);
    void RunFinished(const TFileRun& fileRun);
    void FileRemoved(const QString& path);
    // The pipeline has nothing more under way: the results waiting go in at once.
    void CaughtUp();

    TWatchListModel& Model() { return model_; }
    const TWatchListModel& Model() const { return model_; }

    // Whether the rows show their files' track records. From the time they are shown, every
    // listed file is to have them worked out; hidden, the rows let them go.
    void ShowTrackRecords(bool shown);
    bool ShowsTrackRecords() const { return showsTrack_; }
    // The files whose track records the list wants: every file listed while they are shown, none
    // otherwise.
    QSet<QString> TrackRecordFiles() const;

signals:
    // The files wanted have changed: runAgain, listed before their records were wanted, are to be
    // run again to have them.
    void TrackRecordFilesChanged(const QStringList& runAgain);
    // The rows of a folder listed anew are in, for the first time since, once the pipeline has
    // caught up: the view may fit its columns to them.
    void FirstFilled();

private:
    bool Lists(const QString& path) const;
    void ShowFinished();

    QString folder_;
    TWatchListModel model_;
    // The results not yet in the table, and the wait before they go in together.
    std::vector<TWatchEntry> finished_;
    QTimer show_;
    // The files that have had a row since the folder was listed. Whether some came while the
    // track records were shown, which changes the files wanted, and those whose first run had no
    // records for that reason.
    QSet<QString> listed_;
    bool listedWhileShown_ = false;
    QStringList runAgain_;
    bool showsTrack_ = false;
    bool filled_ = false;
};

} // namespace quillon
