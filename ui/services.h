// What every window gets from outside: message boxes, the decimal separator
// and the catalogue's location. Tests hand in their own.
#pragma once

#include "ui/conversions.h"
#include "ui/dialogs.h"

#include <QString>

namespace vostrel {

struct Services {
    Dialogs& dialogs;
    NumberText numbers;
    QString cataloguePath; // the building-type catalogue (SQLite)
};

} // namespace vostrel
