// Building-type window: steps through the catalogue and confirms a row, which
// fills the main window's building rows and settles the zone type.
#pragma once

#include "calc/zone.h"
#include "ui/form.h"
#include "ui/mainfields.h"

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace vostrel {

class Catalogue;

class TForm5 final : public Form {
    Q_OBJECT
public:
    // Opens the catalogue; throws std::runtime_error when it cannot.
    TForm5(Services& services, const MainFields& form1);
    ~TForm5() override;

    // The zone flags as the hidden labels Label3 and Label4 carry them since
    // the last confirmed row; throws ConversionError before the first one,
    // when the labels still hold their names.
    ZoneFlags zoneFlags() const;
    // Shows the catalogue row of building-type `code` and confirms it as
    // "OK" does; false, and nothing changed, when the catalogue has none.
    bool confirmCode(std::int32_t code);
    // The code of the row confirmed last; 0 before the first.
    std::int32_t ConfirmedCode() const { return confirmed_; }
    // A new design: no zone flags held, no row confirmed, the first row shown.
    void reset();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BitBtn1Click();
    void showCurrentRow();

    QLabel* Label6;          // "Здания и сооружения"
    QLabel* Label1;          // "Местоположение"
    QLabel* Label2;          // "Категория молниезащиты"
    QPlainTextEdit* DBMemo1; // current row: kind of building
    QPlainTextEdit* DBMemo2; // current row: location
    QPlainTextEdit* DBMemo3; // current row: protection category
    QWidget* DBNavigator1;   // previous and next row
    QToolButton* NavPrior;   // "Предыдущая запись"
    QToolButton* NavNext;    // "Следующая запись"
    QLabel* DBText2;         // current row: building-type code, never seen
    QPushButton* BitBtn1;    // "OK"
    QLabel* Label3;          // zone A flag text, never seen
    QLabel* Label4;          // zone B flag text, never seen

    const MainFields& Form1;
    std::unique_ptr<Catalogue> ADOTable1; // the table and its current row
    ZoneFlags flags_;
    std::int32_t confirmed_ = 0;
};

} // namespace vostrel
