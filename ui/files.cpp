#include "files.h"

#include <QDir>

namespace vostrel {

QStringList DataPaths(const QString& applicationDir, const QString& name) {
    const QDir beside(applicationDir);
    return {
        beside.filePath(name),
        beside.filePath(QStringLiteral("../share/vostrel/") + name),
        QDir(QStringLiteral(VOSTREL_DATADIR)).filePath(name),
    };
}

} // namespace vostrel
