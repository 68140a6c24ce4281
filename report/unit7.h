// Report progress window: a bar that advances as the tags are filled.
#pragma once

#include "ui/form.h"

class QProgressBar;

namespace vostrel {

class TForm7 final : public Form {
    Q_OBJECT
public:
    explicit TForm7(Services& services);

    // Shows the window over `owner` with the bar at 0 and lets it paint
    // before the report's work starts.
    void start(const QWidget* owner);
    // Moves the bar to `percent` (0 to 100) and lets it paint.
    void setProgress(int percent);

private:
    QProgressBar* ProgressBar1; // 0 to 100 over the report's replacements
};

} // namespace vostrel
