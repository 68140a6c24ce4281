// Report progress window.
#pragma once

#include "app/form.h"

namespace vostrel {

class TForm7 final : public Form {
    Q_OBJECT
public:
    explicit TForm7(Services& services);
};

} // namespace vostrel
