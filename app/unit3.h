// Main window: the building page (dimensions, N, building type, rod type) and
// the lightning-rod page (the rod's data in the layout of its type, the zone).
#pragma once

#include "calc/rodtypes.h"
#include "design/designfile.h"
#include "report/report.h"
#include "ui/form.h"
#include "ui/mainfields.h"

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

class DesignDocument;
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
    std::int32_t RodTypeCode() const { return design_.rodType; }
    std::int32_t ZoneAFlag() const { return design_.zoneA; }
    std::int32_t ZoneBFlag() const { return design_.zoneB; }
    double DoubledRx() const { return design_.rx2; }
    double DoubledR0() const { return design_.r02; }

    // The design as the window shows it, texts with the user's separator.
    Design design() const;
    // A new design: every field empty, no calculation, the building page in
    // front, the map and catalogue windows back at their start.
    void clearDesign();
    // Shows a design read from a file through the handlers a user runs: the
    // dimensions, N from the map's class, the catalogue's building type, the
    // rod type, the rod page with its inputs, and "Расчёт" if it was run.
    void showDesign(const DesignFile& file);
    // Opens the design file at `path` (named on the command line).
    void openFile(const QString& path);

signals:
    // A field or choice of the design may have changed.
    void designChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createBuildingPage();
    void createBuildingFields();
    void createRodPage();
    void createMenu();
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

    // A system of rods (rod type 6): its rods in the plan window's table.
    std::vector<RodText> systemRods() const;
    void setSystemRods(const std::vector<RodText>& rods);
    void startSystem();     // at "Далее>>": the table shown, four rods for a new design
    void calculateSystem(); // "Расчёт" of a system
    std::optional<QString> computeSystem();  // its zone, or why the rods are refused
    void dragSystemRod(int index, Point at); // a rod dragged in the plan

    // The rod page's input fields, in the order of their rows.
    std::array<QLineEdit*, 4> rodInputs() const { return {Edit8, Edit9, Edit10, Edit11}; }
    // The rod page's result fields, in the order of their rows.
    std::array<QLineEdit*, 6> resultFields() const {
        return {Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
    }

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
    QLineEdit* Edit8;     // first input of the rod type's layout
    QLineEdit* Edit9;     // second input
    QLineEdit* Edit10;    // third input
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
    QLineEdit* Edit13; // first result of the rod type's layout
    QLineEdit* Edit14; // second result
    QLineEdit* Edit15; // third result
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
    DesignDocument* document_; // the "Файл" menu and the design's file

    bool shown_ = false;        // the first show has set the focus
    bool rodTypeTyped_ = false; // the list's text was typed since the last pick
    // The window's copies and results: the rod type code, the zone flags, the
    // last completed calculations and 2rx, 2r0. The fields' texts stay in the
    // fields; design() adds them.
    Design design_;
};

} // namespace vostrel
