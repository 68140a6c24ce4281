// Thunderstorm map window: a pointer move over the map reads the building's
// dimensions, a click on a legend entry computes N into the main window.
#pragma once

#include "ui/form.h"
#include "ui/mainfields.h"

#include <QStringList>
#include <array>

class QLabel;

namespace vostrel {

class TForm2 final : public Form {
    Q_OBJECT
public:
    TForm2(Services& services, const MainFields& form1);

    // Shows the window over `owner`, the map decoded at the first showing.
    // Throws std::runtime_error when the map image cannot be decoded.
    void showMap(const QWidget* owner);

    // The legend entry of the N last written: its thunderstorm duration, h,
    // and strike density; 0 before the first.
    int ThunderstormHours() const { return hours_; }
    double StrikeDensity() const { return density_; }
    // The building's width, length and height and the strike density the N
    // written last was computed from; zeros before the first.
    struct StrikeInputs {
        double S = 0, L = 0, h = 0, n = 0;
    };
    StrikeInputs StrikeInputsOfN() const { return written_; }

    QLabel* Image1;                // the map, 750 x 550
    std::array<QLabel*, 8> Labels; // Label1..Label8: click areas over the legend

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Image1MouseMove();
    void LabelClick(int entry); // Label1Click .. Label8Click

    const MainFields& Form1;
    // Dimensions last read from the main window, kept for the whole run.
    double S_ = 0, L_ = 0, h_ = 0;
    double n_ = 0;  // strike density of the entry clicked last
    int hours_ = 0; // the entry of the N written last
    double density_ = 0;
    double N_ = 0;         // expected strikes a year, computed at the click
    StrikeInputs written_; // what the N written last was computed from
    // The dimensions' texts of the last capture that was refused.
    QStringList refusedTexts_;
};

// The map image embedded in the program.
QByteArray MapJpeg();

} // namespace vostrel
