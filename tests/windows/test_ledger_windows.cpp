// The ledger window and its add and modify windows, on a real ledger file.
#include "app/main_window.h"
#include "core/app_dir.h"
#include "ledger/ledger_book.h"
#include "ledger/ledger_entry_window.h"
#include "ledger/ledger_window.h"
#include "provisioner.h"
#include "quotes/quote_model.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/crash_points.h"
#include "support/fake_services.h"
#include "support/installed_program.h"
#include "support/main_window_lookup.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class LedgerWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void init();
    void cleanup();

    void opensEmptyFromTheMainWindow();
    void listShowsEntriesAndShadesSells();
    void valuationColours_data();
    void valuationColours();
    void holdingFollowsThePriceAndTheStripTakesItsCost();
    void addWindowComputesAndStores_data();
    void addWindowComputesAndStores();
    void addRefusesSellingGoldNotHeld();
    void addRefusesAnUnreadableTime();
    void modifyWindowOpensOnTheSelectedEntry();
    void selectionRules();
    void deletingAsksAndRecounts();
    void deletingAllAsks();
    void missingFileClosesTheWindow();
    void sizeHandling();
    void crashInsideACommitLeavesALedgerThatOpens();
    void entryGoneSinceTheListWasFilled();

private:
    void add(const QString& type, int grams, double price, double amount);
    LedgerWindow* openLedger();
    QString label(const QString& name) const { return ledgerWindow->findChild<QLabel*>(name)->text(); }
    QColor resultColour() const {
        return ledgerWindow->findChild<QLabel*>(u"标签_当前亏赢"_s)->palette().color(QPalette::WindowText);
    }
    QTableWidget* grid() const { return ledgerWindow->findChild<QTableWidget*>(u"高级表格_交易记录显示"_s); }
    void select(int row) { grid()->selectRow(row); }
    static void setText(QWidget* w, const QString& name, const QString& text) {
        w->findChild<QLineEdit*>(name)->setText(text);
    }
    QString path() const { return appPath(recordpasswords::kLedgerFile); }

    std::unique_ptr<InstalledProgram> program;
    FakeServices* fakes = nullptr;
    MainWindow* window = nullptr;
    QPointer<LedgerWindow> ledgerWindow;
};

void LedgerWindowsTest::init() {
    program = std::make_unique<InstalledProgram>();
    QVERIFY(program->ok());
    fakes = &program->fakes();
    window = &program->window();
}

void LedgerWindowsTest::cleanup() {
    window = nullptr;
    fakes = nullptr;
    program.reset();
}

void LedgerWindowsTest::add(const QString& type, int grams, double price, double amount) {
    QCOMPARE(ledger::addLedgerEntry(path(), QDateTime(QDate(2026, 3, 4), QTime(9, 30, 15)), type,
                                    QString::number(grams), price, amount),
             ledger::Result::Done);
}

LedgerWindow* LedgerWindowsTest::openLedger() {
    lookup::toolbarButton(window, 10)->trigger();
    ledgerWindow = lookup::openWindow<LedgerWindow>(window, u"交易管理平台"_s);
    return ledgerWindow;
}

void LedgerWindowsTest::opensEmptyFromTheMainWindow() {
    QVERIFY(openLedger());
    QCOMPARE(ledgerWindow->windowTitle(), u"交易管理平台"_s);
    QCOMPARE(grid()->rowCount(), 0);
    QCOMPARE(grid()->columnCount(), 7);
    QCOMPARE(grid()->horizontalHeaderItem(6)->text(), u"拥有黄金(克)"_s);
    QCOMPARE(grid()->columnWidth(4), 120);
    for (const QString& name :
         {u"标签_交易次数"_s, u"标签_买入次数"_s, u"标签_卖出次数"_s, u"标签_买入总花费"_s,
          u"标签_卖出总获得"_s, u"标签_目前拥有黄金"_s, u"标签_当前亏赢"_s})
        QCOMPARE(label(name), u"0"_s);
    QCOMPARE(resultColour(), QColor(255, 255, 0));
    QCOMPARE(ledgerWindow->findChild<QGroupBox*>(u"分组框_交易统计"_s)->title(), u"交易统计"_s);
    QStringList items;
    for (QAction* action : ledgerWindow->menuBar()->actions().first()->menu()->actions())
        items << (action->isSeparator() ? u"-"_s : action->text());
    QCOMPARE(items, (QStringList{u"新增交易"_s, u"修改交易"_s, u"-"_s, u"删除交易"_s, u"全部删除"_s}));
    // A second command raises the same window.
    lookup::command(window, u"交易管理(&D)"_s)->trigger();
    QCOMPARE(lookup::openWindow<LedgerWindow>(window, u"交易管理平台"_s), ledgerWindow.data());
}

void LedgerWindowsTest::listShowsEntriesAndShadesSells() {
    add(u"买入"_s, 100, 215, 21500);
    add(u"卖出"_s, 30, 220.5, 6615);
    QVERIFY(openLedger());
    QCOMPARE(grid()->rowCount(), 2);
    const QStringList first = {u"1"_s,  u"2026-03-04 09:30:15"_s, u"买入"_s, u"100"_s, u"215"_s, u"21500"_s,
                               u"100"_s};
    const QStringList second = {u"2"_s, u"2026-03-04 09:30:15"_s, u"卖出"_s, u"30"_s, u"220.5"_s, u"6615"_s,
                                u"70"_s};
    for (int c = 0; c < 7; ++c) {
        QCOMPARE(grid()->item(0, c)->text(), first[c]);
        QCOMPARE(grid()->item(1, c)->text(), second[c]);
        QCOMPARE(grid()->item(1, c)->background().color(), QColor(234, 234, 234));
        QCOMPARE(grid()->item(0, c)->background().style(), Qt::NoBrush);
    }
    QCOMPARE(label(u"标签_交易次数"_s), u"2"_s);
    QCOMPARE(label(u"标签_卖出次数"_s), u"1"_s);
    QCOMPARE(label(u"标签_卖出总获得"_s), u"6615"_s);
    QCOMPARE(label(u"标签_目前拥有黄金"_s), u"70"_s);
    QCOMPARE(label(u"标签_当前亏赢"_s), u"-14885"_s);
    QCOMPARE(resultColour(), QColor(0, 136, 255));
    QCOMPARE(ledgerWindow->selectedRecord(), 0);
}

void LedgerWindowsTest::valuationColours_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("gain") << u"220"_s << u"500"_s << QColor(255, 0, 0);
    QTest::newRow("loss") << u"210"_s << u"-500"_s << QColor(0, 136, 255);
    QTest::newRow("even") << u"215"_s << u"0"_s << QColor(255, 255, 0);
}

void LedgerWindowsTest::valuationColours() {
    QFETCH(QString, price);
    QFETCH(QString, result);
    QFETCH(QColor, colour);
    add(u"买入"_s, 100, 215, 21500);
    QVERIFY(openLedger());
    setText(ledgerWindow, u"编辑框_当前买入价"_s, price);
    QCOMPARE(label(u"标签_当前亏赢"_s), result);
    QCOMPARE(resultColour(), colour);
    // The next statistics pass shows the cash result again; the price box keeps its text.
    ledgerWindow->refresh();
    QCOMPARE(label(u"标签_当前亏赢"_s), u"-21500"_s);
    QCOMPARE(ledgerWindow->findChild<QLineEdit*>(u"编辑框_当前买入价"_s)->text(), price);
}

void LedgerWindowsTest::holdingFollowsThePriceAndTheStripTakesItsCost() {
    // 120 g held at 216.67 a gram (see the ledger book's valuation rows).
    add(u"买入"_s, 100, 215, 21500);
    add(u"买入"_s, 50, 220, 11000);
    add(u"卖出"_s, 30, 230, 6900);
    QuoteModel& prices = window->quoteModel();
    prices.setShown(QuoteModel::Shown::IcbcBuy, u"225"_s);
    prices.setShown(QuoteModel::Shown::CcbBuy, u"210"_s);
    QVERIFY(openLedger());
    QCOMPARE(ledgerWindow->findChild<QComboBox*>(u"组合框_估值银行"_s)->currentText(), u"工行"_s);
    QCOMPARE(label(u"标签_持仓均价"_s), u"216.67"_s);
    QCOMPARE(label(u"标签_持仓市值"_s), u"27000.00"_s);
    QCOMPARE(label(u"标签_浮动盈亏"_s), u"+1000.00 元"_s);
    QVERIFY(ledgerWindow->findChild<QLabel*>(u"标签_浮动盈亏"_s)->styleSheet().contains(u"#e00000"_s));
    // The bank's price moves: so does the valuation.
    prices.setShown(QuoteModel::Shown::IcbcBuy, u"215"_s);
    QCOMPARE(label(u"标签_浮动盈亏"_s), u"-200.00 元"_s);
    QVERIFY(ledgerWindow->findChild<QLabel*>(u"标签_浮动盈亏"_s)->styleSheet().contains(u"#008a3e"_s));
    // Another bank, remembered.
    ledgerWindow->findChild<QComboBox*>(u"组合框_估值银行"_s)->setCurrentIndex(1);
    QCOMPARE(label(u"标签_估值买入价"_s), u"210"_s);
    QCOMPARE(label(u"标签_持仓市值"_s), u"25200.00"_s);
    QCOMPARE(settings::readItem(appPath(u"config.ini"_s), settings::key::valuationBank), u"建行"_s);

    // The strip's "您的涨跌" against the ledger's cost, following the ledger as it changes.
    lookup::command(window, u"小窗口(&S)"_s)->trigger();
    QWidget* strip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"纸小窗口"_s)
            strip = w;
    QVERIFY(strip);
    auto* yourPrice = strip->findChild<QLineEdit*>(u"编辑框_您的买入价"_s);
    yourPrice->setText(u"300"_s);
    strip->findChild<QCheckBox*>(u"选择框_涨跌取记账均价"_s)->setChecked(true);
    QCOMPARE(yourPrice->text(), u"216.67"_s);
    QVERIFY(yourPrice->isReadOnly());
    select(2);
    fakes->dialogs.answers << Dialogs::Answer::Ok;
    ledgerWindow->deleteEntry(); // the sale: 150 g for 32500
    QCOMPARE(yourPrice->text(), u"216.67"_s);
    select(1);
    fakes->dialogs.answers << Dialogs::Answer::Ok;
    ledgerWindow->deleteEntry(); // the second buy: 100 g at 215
    QCOMPARE(yourPrice->text(), u"215.00"_s);
    delete strip;
}

void LedgerWindowsTest::addWindowComputesAndStores_data() {
    QTest::addColumn<QString>("grams");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<int>("storedGrams");
    QTest::addColumn<QString>("storedAmount");
    QTest::newRow("plain") << u"10"_s << u"210.5"_s << u"2105"_s << 10 << u"2105"_s;
    QTest::newRow("whole grams only") << u"12.9"_s << u"200"_s << u"2400"_s << 12 << u"2400"_s;
    // Nothing typed: the amount box stays empty and a trade of nothing is stored.
    QTest::newRow("empty") << u""_s << u""_s << u""_s << 0 << u"0"_s;
}

void LedgerWindowsTest::addWindowComputesAndStores() {
    QFETCH(QString, grams);
    QFETCH(QString, price);
    QFETCH(QString, amount);
    QFETCH(int, storedGrams);
    QFETCH(QString, storedAmount);
    QVERIFY(openLedger());
    LedgerEntryWindow entry(
        fakes->services, LedgerEntryWindow::Mode::Add, 0, [this] { ledgerWindow->refresh(); }, ledgerWindow);
    QCOMPARE(entry.windowTitle(), u"添加交易记录"_s);
    QCOMPARE(entry.size(), QSize(790, 130));
    QCOMPARE(entry.findChild<QLineEdit*>(u"编辑框_操作时间"_s)->text(), u"2026-12-09 10:00:00"_s);
    QVERIFY(entry.findChild<QLineEdit*>(u"编辑框_交易金额"_s)->isReadOnly());
    setText(&entry, u"编辑框_交易克数"_s, grams);
    setText(&entry, u"编辑框_交易价格"_s, price);
    QCOMPARE(entry.findChild<QLineEdit*>(u"编辑框_交易金额"_s)->text(), amount);
    entry.show();
    QTest::mouseClick(entry.findChild<QPushButton*>(u"按钮_确定"_s), Qt::LeftButton);
    QCOMPARE(entry.result(), int(QDialog::Accepted));
    QCOMPARE(grid()->rowCount(), 1);
    QCOMPARE(grid()->item(0, 3)->text(), QString::number(storedGrams));
    QCOMPARE(grid()->item(0, 5)->text(), storedAmount);
    const std::optional<QList<ledger::Entry>> stored = ledger::readLedger(path());
    QVERIFY(stored && stored->size() == 1);
    // What is stored is consistent: price × grams is the amount.
    QCOMPARE(stored->first().price * stored->first().grams, stored->first().amount);
}

void LedgerWindowsTest::addRefusesSellingGoldNotHeld() {
    add(u"买入"_s, 100, 215, 21500);
    QVERIFY(openLedger());
    LedgerEntryWindow entry(
        fakes->services, LedgerEntryWindow::Mode::Add, 0, [this] { ledgerWindow->refresh(); }, ledgerWindow);
    entry.show();
    entry.findChild<QComboBox*>(u"组合框_交易类型"_s)->setCurrentIndex(1);
    setText(&entry, u"编辑框_交易克数"_s, u"150"_s);
    setText(&entry, u"编辑框_交易价格"_s, u"220"_s);
    entry.confirm();
    QCOMPARE(fakes->dialogs.lastText(), u"黄金不足！"_s);
    QVERIFY(entry.isVisible());
    QCOMPARE(entry.findChild<QLineEdit*>(u"编辑框_交易克数"_s)->text(), u"150"_s);
    QCOMPARE(ledger::readLedger(path())->size(), 1);
}

void LedgerWindowsTest::addRefusesAnUnreadableTime() {
    QVERIFY(openLedger());
    LedgerEntryWindow entry(fakes->services, LedgerEntryWindow::Mode::Add, 0, {}, ledgerWindow);
    entry.show();
    setText(&entry, u"编辑框_操作时间"_s, u"昨天"_s);
    setText(&entry, u"编辑框_交易克数"_s, u"1"_s);
    entry.confirm();
    QVERIFY(fakes->dialogs.lastText().startsWith(u"交易时间格式不正确"_s));
    QVERIFY(entry.isVisible());
    QCOMPARE(ledger::readLedger(path())->size(), 0);
}

void LedgerWindowsTest::modifyWindowOpensOnTheSelectedEntry() {
    add(u"买入"_s, 100, 215, 21500);
    add(u"卖出"_s, 30, 220, 999); // an amount that differs from price × grams
    add(u"买入"_s, 10, 200, 2000);
    QVERIFY(openLedger());
    select(1);
    QCOMPARE(ledgerWindow->selectedRecord(), 2);
    LedgerEntryWindow entry(
        fakes->services, LedgerEntryWindow::Mode::Modify, 2, [this] { ledgerWindow->refresh(); },
        ledgerWindow);
    QCOMPARE(entry.windowTitle(), u"修改交易记录"_s);
    QCOMPARE(entry.size(), QSize(790, 123));
    auto* type = entry.findChild<QComboBox*>(u"组合框_交易类别"_s);
    QCOMPARE(type->currentText(), u"卖出"_s);
    QCOMPARE(entry.findChild<QLineEdit*>(u"编辑框_操作时间"_s)->text(), u"2026-03-04 09:30:15"_s);
    QCOMPARE(entry.findChild<QLineEdit*>(u"编辑框_交易金额"_s)->text(), u"6600"_s);
    setText(&entry, u"编辑框_交易克数"_s, u"50"_s);
    entry.show();
    QTest::mouseClick(entry.findChild<QPushButton*>(u"按钮_确认"_s), Qt::LeftButton);
    QCOMPARE(entry.result(), int(QDialog::Accepted));
    // Every running holding follows the change.
    QCOMPARE(grid()->item(1, 6)->text(), u"50"_s);
    QCOMPARE(grid()->item(2, 6)->text(), u"60"_s);
    QCOMPARE(grid()->item(1, 5)->text(), u"11000"_s);
    QCOMPARE(label(u"标签_目前拥有黄金"_s), u"60"_s);
}

void LedgerWindowsTest::selectionRules() {
    add(u"买入"_s, 100, 215, 21500);
    QVERIFY(openLedger());
    ledgerWindow->modifyEntry();
    QCOMPARE(fakes->dialogs.lastText(), u"请用鼠标先选择要修改的交易记录！"_s);
    ledgerWindow->deleteEntry();
    QCOMPARE(fakes->dialogs.history().size(), 2);
    QCOMPARE(fakes->dialogs.lastText(), u"请用鼠标先选择要修改的交易记录！"_s);
    QCOMPARE(ledger::readLedger(path())->size(), 1);
}

void LedgerWindowsTest::deletingAsksAndRecounts() {
    add(u"买入"_s, 100, 215, 21500);
    add(u"卖出"_s, 30, 220, 6600);
    add(u"买入"_s, 10, 200, 2000);
    QVERIFY(openLedger());
    select(1);
    fakes->dialogs.answers = {Dialogs::Answer::Cancel};
    ledgerWindow->deleteEntry();
    QCOMPARE(fakes->dialogs.lastText(), u"你确定要删除该条交易记录吗？"_s);
    QCOMPARE(grid()->rowCount(), 3);
    select(1);
    fakes->dialogs.answers = {Dialogs::Answer::Ok};
    ledgerWindow->deleteEntry();
    QCOMPARE(grid()->rowCount(), 2);
    QCOMPARE(grid()->item(1, 6)->text(), u"110"_s);
    QCOMPARE(label(u"标签_卖出次数"_s), u"0"_s);
    QCOMPARE(label(u"标签_卖出总获得"_s), u"0"_s);
    QCOMPARE(ledgerWindow->selectedRecord(), 0);
}

void LedgerWindowsTest::deletingAllAsks() {
    add(u"买入"_s, 100, 215, 21500);
    QVERIFY(openLedger());
    fakes->dialogs.answers = {Dialogs::Answer::Cancel, Dialogs::Answer::Ok};
    ledgerWindow->deleteAll();
    QCOMPARE(fakes->dialogs.lastText(), u"你确定要清空所有交易数据吗？"_s);
    QCOMPARE(grid()->rowCount(), 1);
    ledgerWindow->deleteAll();
    QCOMPARE(grid()->rowCount(), 0);
    QCOMPARE(label(u"标签_交易次数"_s), u"0"_s);
    QCOMPARE(ledger::readLedger(path())->size(), 0);
}

void LedgerWindowsTest::missingFileClosesTheWindow() {
    QVERIFY(QFile::remove(path()));
    lookup::toolbarButton(window, 10)->trigger();
    QCOMPARE(fakes->dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
    // It never shows, not even for a moment.
    QVERIFY(!lookup::openWindow<LedgerWindow>(window, u"交易管理平台"_s));
    QCOMPARE(fakes->dialogs.history().last().title, u"友情提示："_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window->findChild<LedgerWindow*>(u"交易管理平台"_s));
    QVERIFY(!QFile::exists(path()));
}

void LedgerWindowsTest::sizeHandling() {
    QVERIFY(openLedger());
    ledgerWindow->show();
    QWidget* client = ledgerWindow->centralWidget();
    QCOMPARE(client->size(), QSize(918, 535));
    ledgerWindow->resize(1200, 800);
    const QSize c = client->size();
    auto* group = ledgerWindow->findChild<QGroupBox*>(u"分组框_交易统计"_s);
    QCOMPARE(group->geometry(), QRect(c.width() - 254 - 2, 8, 254, 464));
    QCOMPARE(grid()->geometry(), QRect(2, 8, c.width() - 254 - 5, c.height() - 10));
}

void LedgerWindowsTest::crashInsideACommitLeavesALedgerThatOpens() {
    add(u"买入"_s, 100, 215.5, 21550);
    // Another run was killed while it committed a new entry; the modify
    // window is the first to look at the file.
    QVERIFY(crashpoints::killInsideCommit(appDir(), u"ledger"_s, u"transactionrecord.edb-journal"_s));
    QVERIFY(QFile::exists(path() + u"-journal"_s));
    {
        LedgerEntryWindow entry(fakes->services, LedgerEntryWindow::Mode::Modify, 1, {}, window);
        QVERIFY(entry.ready());
        auto* amount = entry.findChild<QLineEdit*>(u"编辑框_交易金额"_s);
        QCOMPARE(amount->text(), u"21550"_s);
        // A price too long for its box shows from its beginning.
        setText(&entry, u"编辑框_交易价格"_s, u"2581.481481468"_s);
        QCOMPARE(amount->cursorPosition(), 0);
    }
    QVERIFY(!QFile::exists(path() + u"-journal"_s));
    // The same again for the ledger window.
    QVERIFY(crashpoints::killInsideCommit(appDir(), u"ledger"_s, u"transactionrecord.edb-journal"_s));
    QVERIFY(openLedger());
    QVERIFY(ledgerWindow->isVisible());
    QCOMPARE(grid()->rowCount(), 1);
    QCOMPARE(label(u"标签_目前拥有黄金"_s), u"100"_s);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void LedgerWindowsTest::entryGoneSinceTheListWasFilled() {
    add(u"买入"_s, 100, 215, 21500);
    add(u"卖出"_s, 30, 220, 6600);
    add(u"买入"_s, 10, 200, 2000);
    QVERIFY(openLedger());
    // Another program removes the first entry behind the window's back.
    QCOMPARE(ledger::deleteLedgerEntry(path(), 1), ledger::Result::Done);
    select(2);
    fakes->dialogs.answers = {Dialogs::Answer::Ok};
    ledgerWindow->deleteEntry();
    QCOMPARE(fakes->dialogs.lastText(), ledger::kNoSuchEntryText);
    QCOMPARE(grid()->rowCount(), 2); // reloaded
    QCOMPARE(ledger::readLedger(path())->size(), 2);

    // The list now shows the file; a further change behind its back again
    // stops the modify window before it shows anything.
    QCOMPARE(ledger::deleteLedgerEntry(path(), 1), ledger::Result::Done);
    select(0);
    // Should a modify window open after all, it is closed rather than left waiting.
    bool modalShown = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [&modalShown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modalShown = true;
            modal->close();
        }
    });
    guard.start(2000);
    const qsizetype shownBefore = fakes->dialogs.history().size();
    ledgerWindow->modifyEntry();
    QVERIFY(!modalShown);
    QCOMPARE(fakes->dialogs.history().size(), shownBefore + 1);
    QCOMPARE(fakes->dialogs.lastText(), ledger::kNoSuchEntryText);
    QCOMPARE(grid()->rowCount(), 1);

    // Without the file the modify window says so and does not stay.
    QVERIFY(QFile::remove(path()));
    LedgerEntryWindow failed(fakes->services, LedgerEntryWindow::Mode::Modify, 1, {}, ledgerWindow);
    QVERIFY(!failed.ready());
    QCOMPARE(fakes->dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
}

QTEST_MAIN(LedgerWindowsTest)

#include "test_ledger_windows.moc"
