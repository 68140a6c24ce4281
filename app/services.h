// What the windows get from outside: message boxes, the decimal separator,
// the catalogue and the word processor. Tests hand in their own.
#pragma once

#include "app/conversions.h"
#include "app/dialogs.h"

#include <QString>
#include <QStringList>

namespace vostrel {

struct Services {
    Dialogs& dialogs;
    NumberText numbers;
    QString cataloguePath; // the building-type catalogue (SQLite)
};

} // namespace vostrel
