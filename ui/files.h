// Finding the program's data files.
#pragma once

#include <QFileInfo>
#include <QStringList>

namespace vostrel {

// The first of `candidates` that is an existing file, else the first one (so
// that opening it names where it was expected).
inline QString FirstExistingFile(const QStringList& candidates) {
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return path;
    return candidates.value(0);
}

} // namespace vostrel
