#include "system_settings_window.h"

#include "core/app_dir.h"
#include "platform/autostart.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "settings/config_file.h"
#include "ui/place.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

SystemSettingsWindow::SystemSettingsWindow(Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), services_(services) {
    setObjectName(QStringLiteral("系统设置窗口"));
    setWindowTitle(QStringLiteral("系统设置"));
    setFixedSize(425, 266);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);

    buildPages();
    buildButtons();
    load();
}

void SystemSettingsWindow::buildPages() {
    tree_ = place<QTreeWidget>(this, QStringLiteral("树型框1"), {9, 13, 96, 180});
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tree_->addTopLevelItems({new QTreeWidgetItem({QStringLiteral("常规选项")}),
                             new QTreeWidgetItem({QStringLiteral("黄金选项")})});
    connect(tree_, &QTreeWidget::itemClicked, this, &SystemSettingsWindow::showPageOf);

    pages_ = place<QTabWidget>(this, QStringLiteral("系统设置选择夹"), {117, 13, 289, 180});
    pages_->setFont(QFont(QStringLiteral("宋体"), 9));
    // A slim tab row leaves the pages the height the design gives them.
    pages_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 1px 8px; }"));
    auto* general = new QWidget;
    auto* gold = new QWidget;
    pages_->addTab(general, QStringLiteral("常规"));
    pages_->addTab(gold, QStringLiteral("黄金选项"));
    buildOptionBoxes(general, gold);
}

void SystemSettingsWindow::buildOptionBoxes(QWidget* general, QWidget* gold) {
    const auto heading = [](QWidget* page, const QString& name, const QString& caption) {
        auto* label = place<QLabel>(page, name, {10, 10, 120, 16}, caption);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    };
    const auto box = [this](QWidget* page, const QString& name, const QRect& rect, const QString& caption,
                            const settings::Flag& key) {
        auto* check = place<QCheckBox>(page, name, rect, caption);
        // The design's widths fit Windows' narrower font; the caption must never be cut.
        check->resize(std::max(rect.width(), check->sizeHint().width()), rect.height());
        boxes_.append({check, &key});
    };
    heading(general, QStringLiteral("透明标签1"), QStringLiteral("常规选项"));
    box(general, QStringLiteral("选择框_随windows启动"), {25, 49, 158, 24},
        QStringLiteral("在windows启动后自动运行"), settings::key::startWithSystem);
    box(general, QStringLiteral("选择框_软件最佳界面启动"), {25, 89, 143, 24},
        QStringLiteral("以软件最佳界面启动"), settings::key::designedLayout);
    box(general, QStringLiteral("选择框_运行浮动窗口"), {25, 129, 158, 24},
        QStringLiteral("启动后运行浮动窗口"), settings::key::floatingAtStart);
    heading(gold, QStringLiteral("透明标签2"), QStringLiteral("黄金选项"));
    box(gold, QStringLiteral("选择框_不同步工行"), {25, 35, 110, 24}, QStringLiteral("不同步工行数据"),
        settings::key::holdIcbc);
    box(gold, QStringLiteral("选择框_不同步建行"), {160, 35, 110, 24}, QStringLiteral("不同步建行数据"),
        settings::key::holdCcb);
    box(gold, QStringLiteral("选择框_不同步中行"), {25, 65, 110, 24}, QStringLiteral("不同步中行数据"),
        settings::key::holdBoc);
    box(gold, QStringLiteral("选择框_自动开始提醒"), {25, 95, 135, 24}, QStringLiteral("自动开始提醒"),
        settings::key::alertsAtStart);
}

void SystemSettingsWindow::buildButtons() {
    auto* ok =
        place<QPushButton>(this, QStringLiteral("确定按钮"), {46, 204, 80, 22}, QStringLiteral("确定"));
    auto* cancel =
        place<QPushButton>(this, QStringLiteral("取消按钮"), {165, 204, 80, 22}, QStringLiteral("取消"));
    auto* defaults = place<QPushButton>(this, QStringLiteral("恢复默认按钮"), {285, 204, 80, 22},
                                        QStringLiteral("恢复默认"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SystemSettingsWindow::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &SystemSettingsWindow::restoreDefaults);
}

void SystemSettingsWindow::load() {
    const settings::Snapshot config = settings::ConfigFile::program().read();
    if (!config.exists())
        return;
    for (const Box& b : boxes_)
        b.box->setChecked(config.value(*b.key));
}

void SystemSettingsWindow::showPageOf(QTreeWidgetItem* item) {
    if (tree_->indexOfTopLevelItem(item) == 0) {
        pages_->setCurrentIndex(0);
        return;
    }
    tree_->setCurrentItem(tree_->topLevelItem(1));
    pages_->setCurrentIndex(1);
}

void SystemSettingsWindow::restoreDefaults() {
    for (const Box& b : boxes_)
        b.box->setChecked(false);
}

bool SystemSettingsWindow::applyAutostart() {
    const bool wanted = boxes_.first().box->isChecked();
    Autostart& autostart = *services_.autostart;
    const bool done =
        wanted ? autostart.enable(appdir::program(), appdir::homeOverride()) : autostart.disable();
    if (!done) {
        services_.dialogs->message(
            this,
            wanted
                ? QStringLiteral(
                      "无法设置开机自动运行：自动启动项写入失败，请检查主目录下的 .config/autostart 文件夹。")
                : QStringLiteral("无法取消开机自动运行：自动启动项删除失败，请检查主目录下的 "
                                 ".config/autostart 文件夹。"),
            QStringLiteral("友情提示："), Dialogs::Icon::Warning);
    }
    return autostart.isEnabled();
}

void SystemSettingsWindow::save() {
    const settings::ConfigFile config = settings::ConfigFile::program();
    if (!config.exists()) {
        accept();
        return;
    }
    // The entry as it was goes back when the file cannot record the change,
    // so that the file and the entry always agree.
    const std::optional<QByteArray> entryBefore = services_.autostart->saved();
    bool written = config.write(*boxes_.first().key, applyAutostart());
    if (!written)
        services_.autostart->restore(entryBefore);
    for (qsizetype i = 1; i < boxes_.size(); ++i) {
        const Box& b = boxes_.at(i);
        written &= config.write(*b.key, b.box->isChecked());
    }
    if (!written) {
        // The choices stay in the window, so nothing is lost: the user may try again or cancel.
        services_.dialogs->message(this, QStringLiteral("系统配置文件出错"), QStringLiteral("友情提示："),
                                   Dialogs::Icon::Warning);
        return;
    }
    accept();
}
