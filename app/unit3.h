// Main window: the building page (dimensions, N, building type, rod type) and
// the lightning-rod page (catenary data and its protection zone).
#pragma once

#include "calc/rodtypes.h"
#include "drawing/zonedrawing.h"
#include "report/report.h"
#include "ui/form.h"
#include "ui/mainfields.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vostrel {

class PageControl;
struct RodLayout;
class TForm2;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

class TForm1 final : public Form {
    Q_OBJECT
public:
    TForm1(Services& services, ReportSetup& report);
    ~TForm1() override;

    // The windows this one opens, reads or writes; set once after all exist.
    void setPeers(TForm2* form2, TForm5* form5, TForm6* form6, TForm7* form7, TForm8* form8);

    // The fields the other windows read or write.
    const MainFields& fields() const { return fields_; }

    // Design values held as numbers by this window.
    std::int32_t RodTypeCode() const { return rodTypeCode_; }
    std::int32_t ZoneAFlag() const { return zoneA_; }
    std::int32_t ZoneBFlag() const { return zoneB_; }
    double DoubledRx() const { return rx2_; }
    double DoubledR0() const { return r02_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createBuildingPage();
    void createRodPage();
    void setTabOrder();
    void fitRodTypeList();

    // Handlers.
    void FormCreate();
    void FormShow();
    bool NumberKeyPress(QLineEdit* field, QKeyEvent* event);
    void Edit4Click();
    void Memo1Click();
    void GroupBox1MouseMove();
    void TabSheet1MouseMove();
    void GroupBox3MouseMove();
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button2Click();   // the report
    void Button6Click();   // the drawing
    void refreshDrawing(); // the drawing window, after a calculation or a change

    // The text a replacement of the report inserts; the verdict comes from
    // `figure`, the report's drawing of the zone (none without a calculation).
    QString reportValue(ReportValue value, const ZoneFigure* figure) const;
    // Parts of it: whether the fields' texts go in as they are (the single
    // catenary), a quantity of the calculation, an input or result row of
    // the rod page, and the numbers under the formulas.
    bool reportAsIs() const;
    QString reportQuantity(Quantity quantity) const;
    QString reportInput(size_t row) const;
    QString reportResult(size_t row) const;
    QString reportNumbers(ReportValue value) const;
    // The rod page's input fields, in the order of their rows.
    std::array<QLineEdit*, 4> rodInputs() const { return {Edit8, Edit9, Edit10, Edit11}; }
    // The rod page's result fields, in the order of their rows.
    std::array<QLineEdit*, 6> resultFields() const {
        return {Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
    }
    // What the report's values lack: a completed calculation, or which inputs
    // changed since it; empty when nothing.
    QString reportWarning() const;
    // The building's dimensions when all three fields hold numbers.
    std::optional<BuildingSize> buildingSize() const;
    // The drawing of the last completed calculation of the chosen rod type.
    std::optional<ZoneDrawing> drawing() const;

    // The rod type code from the list: index + 1, kept when no item is picked.
    void takeRodTypeCode();
    int rodTypeIndex() const;
    void setRodLayout(const RodLayout& layout);

    PageControl* PageControl1;
    QWidget* TabSheet1; // building page
    QWidget* TabSheet2; // lightning-rod page, no tab

    // Building page.
    QGroupBox* GroupBox1;  // frame of the building rows
    QLabel* Label1;        // "Ширина здания, м"
    QLabel* Label2;        // "Длина здания, м"
    QLabel* Label3;        // "Наибольшая высота здания, м"
    QLabel* Label4;        // "Среднегодовое число ударов молнии"
    QLabel* Label6;        // "Здания и сооружения"
    QLabel* Label9;        // "Местоположение"
    QLabel* Label11;       // "Категория молниезащиты"
    QLabel* Label12;       // "Тип зоны защиты"
    QLabel* Label5;        // "Тип молниеотвода"
    QLineEdit* Edit1;      // building width S, m
    QLineEdit* Edit2;      // building length L, m
    QLineEdit* Edit3;      // greatest building height h, m
    QLineEdit* Edit4;      // N, expected strikes a year; a click opens the map
    QPlainTextEdit* Memo1; // kind of building; a click opens the catalogue
    QLineEdit* Edit6;      // location
    QLineEdit* Edit7;      // protection category
    QLineEdit* Edit5;      // zone letter: seven blanks and "А" or "Б"
    QComboBox* ComboBox1;  // rod type
    QPushButton* Button1;  // "Далее>>"
    QPushButton* Button5;  // "Высота молниеотвода"
    QLabel* Label14;       // rod type code for the rod-height window, never seen

    // Lightning-rod page: four input rows and six result rows, whose captions
    // and visibility the rod type's layout sets.
    QGroupBox* GroupBox2; // frame of both halves
    QGroupBox* GroupBox3; // rod data
    QLabel* Label7;       // caption of Edit8
    QLabel* Label8;       // caption of Edit9
    QLabel* Label10;      // caption of Edit10
    QLabel* Label13;      // caption of Edit11
    QLineEdit* Edit8;     // first input (single catenary: support height hоп, m)
    QLineEdit* Edit9;     // second input (span a, m)
    QLineEdit* Edit10;    // third input (height of the protected level hx, m)
    QLineEdit* Edit11;    // fourth input
    QGroupBox* GroupBox4; // results
    QLabel* Label15;      // caption of Edit13
    QLabel* Label16;      // caption of Edit14
    QLabel* Label17;      // caption of Edit15
    QLabel* Label18;      // caption of Edit16, first and second line
    QLabel* Label19;
    QLabel* Label20; // caption of Edit17, two lines
    QLabel* Label21;
    QLabel* Label22; // caption of Edit18, two lines
    QLabel* Label23;
    QLabel* Label24;   // the verdict on the building as placed, read as "Вывод"
    QLineEdit* Edit13; // first result (single catenary: h0, top of the zone)
    QLineEdit* Edit14; // second result (r0, zone radius at ground level)
    QLineEdit* Edit15; // third result (rx, zone radius at hx)
    QLineEdit* Edit16; // further results
    QLineEdit* Edit17;
    QLineEdit* Edit18;
    QPushButton* Button4; // "<<Назад"
    QPushButton* Button3; // "Расчёт"
    QPushButton* Button2; // "Отчёт"
    QPushButton* Button6; // "Чертёж", the drawing of the last calculation

    MainFields fields_;
    TForm2* Form2 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    TForm8* Form8 = nullptr;
    ReportSetup& reportSetup_;
    std::unique_ptr<ReportMaker> report_;

    bool shown_ = false; // the first show has set the focus
    std::int32_t rodTypeCode_ = 0;
    bool rodTypeTyped_ = false; // the list's text was typed since the last pick
    std::int32_t zoneA_ = 0;
    std::int32_t zoneB_ = 0;
    // The last completed calculation: its rod type, inputs (numbers and the
    // fields' texts) and zone.
    struct Completed {
        std::int32_t code;
        ZoneInputs inputs;
        RodZone zone;
        QStringList texts;
    };
    std::optional<Completed> completed_;
    // The rods' place on the site plan as typed in the drawing window, kept
    // across calculations; none: centred over the building.
    std::optional<Placement> placement_;
    // The last completed calculation when it is of the rod type chosen now.
    const Completed* completedOfThisType() const;
    RodZones zones_;           // the last result of each rod type
    double rx2_ = 0, r02_ = 0; // 2rx and 2r0 for the report
};

} // namespace vostrel
