#pragma once

#include <set>
#include <string>
#include <vector>

#include <QObject>
#include <QString>
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

private:
    bool Lists(const QString& path) const;
    void ShowFinished();

    QString folder_;
    TWatchListModel model_;
    // The results not yet in the table, and the wait before they go in together.
    std::vector<TWatchEntry> finished_;
    QTimer show_;
};

} // namespace quillon
