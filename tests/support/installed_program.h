#pragma once

#include "app/main_window.h"
#include "core/app_dir.h"
#include "provisioner.h"
#include "support/fake_services.h"
#include "support/program_dir.h"

#include <memory>

// A program directory as an installation lays it down (config.ini,
// endpoints.ini, the record files) in a temporary folder, and the main window
// running on fake services over it. Tests that use it link aurivex_provision.
class InstalledProgram {
public:
    InstalledProgram() {
        ok_ = provision::run({dir_.path(), QStringLiteral("127.0.0.1:9"), true, false}).isEmpty();
        window_ = std::make_unique<MainWindow>(fakes_.services);
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
    }

    bool ok() const { return ok_ && dir_.isValid(); }
    FakeServices& fakes() { return fakes_; }
    MainWindow& window() { return *window_; }

private:
    ProgramDir dir_;
    FakeServices fakes_;
    std::unique_ptr<MainWindow> window_;
    bool ok_ = false;
};
