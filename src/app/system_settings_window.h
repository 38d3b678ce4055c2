#pragma once

#include "settings/settings_keys.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
struct Services;

// "系统设置": the seven general options of config.ini. They take effect at
// the next start, except starting with the desktop session, which is
// registered or removed when the user confirms.
class SystemSettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit SystemSettingsWindow(Services& services, QWidget* parent = nullptr);

    void save();
    void restoreDefaults();

private:
    struct Box {
        QCheckBox* box;
        const settings::Flag* key;
    };

    // The build steps: the page tree and its two pages, their boxes, the buttons.
    void buildPages();
    void buildOptionBoxes(QWidget* general, QWidget* gold);
    void buildButtons();
    void load();
    void showPageOf(QTreeWidgetItem* item);
    // Registers or removes the autostart entry as the box says; whether the
    // desktop now holds one, which is what the flag records.
    bool applyAutostart();

    Services& services_;
    QTreeWidget* tree_;
    QTabWidget* pages_;
    // In the order the keys are read and written, the page "常规" first.
    QList<Box> boxes_;
};
