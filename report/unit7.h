// Report progress window: a bar that advances with each filled tag.
#pragma once

#include "ui/form.h"

class QProgressBar;

namespace vostrel {

class TForm7 final : public Form {
    Q_OBJECT
public:
    explicit TForm7(Services& services);

    QProgressBar* ProgressBar1; // 0 to 100, four per replacement
};

} // namespace vostrel
