// The main window's fields that the other windows read or write: values cross
// windows only as the texts of these controls.
#pragma once

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vostrel {

struct MainFields {
    QLineEdit* Edit1;      // building width S, read by the map
    QLineEdit* Edit2;      // building length L, read by the map
    QLineEdit* Edit3;      // greatest building height h, read by the map
    QLineEdit* Edit4;      // N: written by the map, read by the building type
    QPlainTextEdit* Memo1; // kind of building, written by the building type
    QLineEdit* Edit6;      // location, written by the building type
    QLineEdit* Edit7;      // protection category, written by the building type
    QLineEdit* Edit5;      // zone letter, written by the building type
    QLabel* Label14;       // rod type code, read by the rod height
};

} // namespace vostrel
