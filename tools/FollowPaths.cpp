#include "tools/FollowPaths.h"

#include <filesystem>
#include <system_error>

#include <QByteArray>
#include <QDir>
#include <QFile>

#include "live/FilePath.h"
#include "tools/ScanFiles.h"

namespace quillon {

TFollowPaths::TFollowPaths(const std::vector<std::string>& operands) {
    for (const std::string& operand : operands) {
        std::error_code error;
        // Decided as the table decides it: a folder that is not there yet is waited for as a file.
        const bool folder = std::filesystem::is_directory(operand, error);
        const QString cleaned = QDir::cleanPath(PathText(operand));
        operands_.push_back({operand, cleaned, folder});
        (folder ? folders_ : files_) << cleaned;
    }
}

void TFollowPaths::Show(const std::string& shown) {
    byRealPath_.try_emplace(RealPath(shown), shown);
}

std::string TFollowPaths::Shown(const QString& told) {
    if (const auto known = byTold_.constFind(told); known != byTold_.constEnd()) {
        return *known;
    }
    const QString name = told.mid(told.lastIndexOf(u'/') + 1);
    std::string shown = PathBytes(told);
    for (const TOperand& operand : operands_) {
        if (operand.folder && QDir::cleanPath(operand.cleaned + u'/' + name) == told) {
            // A folder's file as the table writes it: the folder as given, then the name.
            shown = operand.given + (operand.given.ends_with('/') ? "" : "/") + PathBytes(name);
            break;
        }
        if (!operand.folder && operand.cleaned == told) {
            shown = operand.given;
            break;
        }
    }
    shown = byRealPath_.try_emplace(RealPath(shown), shown).first->second;
    byTold_.insert(told, shown);
    return shown;
}

void TFollowPaths::Forget(const QString& told) {
    const auto known = byTold_.constFind(told);
    if (known == byTold_.constEnd()) {
        return;
    }
    const std::string shown = *known;
    byTold_.erase(known);
    std::erase_if(byRealPath_, [&shown](const auto& entry) { return entry.second == shown; });
}

} // namespace quillon
