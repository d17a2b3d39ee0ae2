#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

namespace quillon {

// The paths of quillon-scan --follow: what the pipeline is to watch for the operands, and the path
// by which a row shows each file the pipeline tells of (as QDir::cleanPath gives it). A file is
// shown as the table shows it, by the operand that names it or by the folder given that holds it,
// the first of them in the operands' order; and a file met under another path (a link) by the
// path its file was first shown by.
class TFollowPaths {
public:
    explicit TFollowPaths(const std::vector<std::string>& operands);

    const QStringList& Folders() const { return folders_; }
    const QStringList& Files() const { return files_; }

    // Shows the file at shown by that path from now on, when it is not shown by another already:
    // for the table's rows.
    void Show(const std::string& shown);
    // The path that shows the file told of by the pipeline.
    std::string Shown(const QString& told);
    // A file gone: how it was shown is let go, so that a file that comes and goes is no longer
    // kept for.
    void Forget(const QString& told);

private:
    struct TOperand {
        std::string given;
        QString cleaned;
        bool folder = false;
    };

    std::vector<TOperand> operands_;
    QStringList folders_;
    QStringList files_;
    // Each file shown, by its real path.
    std::unordered_map<std::string, std::string> byRealPath_;
    QHash<QString, std::string> byTold_;
};

} // namespace quillon
