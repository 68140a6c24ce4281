// What the windows get from outside: message boxes, the decimal separator,
// the catalogue and the word processor. Tests hand in their own.
#pragma once

#include "app/conversions.h"
#include "app/dialogs.h"
#include "report/automation.h"

#include <QString>
#include <QStringList>

namespace vostrel {

struct Services {
    Dialogs& dialogs;
    WordAutomation& word; // the word processor that fills the report
    NumberText numbers;
    QString cataloguePath;  // the building-type catalogue (SQLite)
    QString reportTemplate; // the report template (RTF), never written
};

} // namespace vostrel
