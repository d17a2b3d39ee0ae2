#pragma once

#include <vector>

#include <QObject>
#include <QString>
#include <QTimer>

#include "bars/RunFromTexts.h"
#include "ui/FolderWatcher.h"
#include "ui/WatchListModel.h"
#include "ui/WatchRunner.h"

namespace quillon {

// The watch list's work: every bar file of the chosen file's folder run as it comes and each time
// it is rewritten and has settled, its row put in the table, and taken out when the file goes.
class TWatchList : public QObject {
    Q_OBJECT

public:
    explicit TWatchList(QObject* parent = nullptr);

    // Lists the folder of the chosen file in place of the one before; the same folder goes on.
    void WatchFolderOf(const QString& chosenPath);
    // The settings of a Make-Waves click, for every run from now on: when they are not those of
    // before, every file is run again with them.
    void UseSettings(const TRunSettings& settings);

    TWatchListModel& Model() { return model_; }

private:
    void FileSettled(const QString& path);
    void FileRemoved(const QString& path);
    void RunFinished(const TWatchResult& result);
    void ShowFinished();

    TWatchListModel model_;
    TFolderWatcher watcher_;
    TWatchRunner runner_;
    // The results not yet in the table, and the wait before they go in together.
    std::vector<TWatchEntry> finished_;
    QTimer show_;
};

} // namespace quillon
