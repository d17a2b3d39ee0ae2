#pragma once

#include <sys/types.h>

#include <optional>
#include <utility>

#include <QString>

namespace quillon {

// The device and inode of the file at a path, nothing while there is none: a file deleted and
// created anew, or renamed over, is another file under the same name, which a watch on the old
// one never sees.
using TFileIdentity = std::optional<std::pair<dev_t, ino_t>>;

TFileIdentity FileIdentityOf(const QString& path);

} // namespace quillon
