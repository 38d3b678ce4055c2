#pragma once

#include "platform/services.h"

#include <memory>

// The host system as the program has it: one Qt-backed implementation of
// each seam, owned here and handed to the windows as Services. The sounds,
// the TV player, the tray and the browser engine load nothing until first
// used (the media framework and the browser engine are modules loaded then);
// quit() ends the event loop with its code.
class QtServices {
public:
    QtServices();
    ~QtServices();
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    Services& services() { return services_; }

private:
    struct Seams;
    std::unique_ptr<Seams> seams_;
    Services services_;
};
