// Finding the program's data files and folders.
#pragma once

#include <QFileInfo>
#include <QStringList>

namespace vostrel {

// The first of `candidates` that exists as `is` tells (QFileInfo::isFile or
// isDir), else the first one (so that opening it names where it was expected).
inline QString FirstExisting(const QStringList& candidates, bool (QFileInfo::*is)() const) {
    for (const QString& path : candidates)
        if ((QFileInfo(path).*is)())
            return path;
    return candidates.value(0);
}

inline QString FirstExistingFile(const QStringList& candidates) {
    return FirstExisting(candidates, &QFileInfo::isFile);
}

// Where the program's data file or folder `name` may be, in the order to try:
// beside the program (in `applicationDir`), in ../share/vostrel/ next to it,
// and in the data directory the program was built for.
QStringList DataPaths(const QString& applicationDir, const QString& name);

} // namespace vostrel
