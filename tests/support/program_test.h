#pragma once

#include "app/main_window.h"
#include "support/fake_services.h"
#include "support/main_window_lookup.h"
#include "support/program_dir.h"

#include <QTest>
#include <memory>

// The ground of the tests that open the main window: a program directory of
// their own, fake services, and the main window on them, made afresh for each
// test function (startProgram() in init(), endProgram() in cleanup()).
class ProgramTest : public QObject {
protected:
    // An empty program directory (endpoints through dir->setEndpoint()) and fresh fakes.
    void startProgram() {
        dir = std::make_unique<ProgramDir>();
        fakes = std::make_unique<FakeServices>();
    }
    // The window (when still open), then the fakes and the directory.
    void endProgram() {
        delete window;
        window = nullptr;
        fakes.reset();
        dir.reset();
    }
    // The main window, shown; the test deletes it, not its close.
    MainWindow* open() {
        window = new MainWindow(fakes->services);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        return window;
    }
    // The command with this toolbar or menu caption, as a click would run it.
    void trigger(const QString& caption) {
        QAction* action = lookup::command(window, caption);
        QVERIFY2(action && action->isEnabled(), qPrintable(caption));
        action->trigger();
    }
    QString config() const { return appPath(QStringLiteral("config.ini")); }

    std::unique_ptr<ProgramDir> dir;
    std::unique_ptr<FakeServices> fakes;
    MainWindow* window = nullptr;
};
