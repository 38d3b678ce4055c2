// Simulated trading through the main window: entering, buying and selling
// against the account files, the trade list, clearing, a new simulation, and
// what happens when a file does not open.
#include "app/main_window.h"
#include "core/app_dir.h"
#include "platform/timer.h"
#include "provisioner.h"
#include "quotes/quote_model.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "support/crash_points.h"
#include "support/fake_services.h"
#include "support/installed_program.h"
#include "support/main_window_lookup.h"
#include "trading/account_book.h"
#include "trading/new_simulation_window.h"
#include "trading/trading_window.h"
#include "ui/fonts.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

const QString kHeld = u"持有量"_s;
const QString kCash = u"现有资产"_s;

struct Property {
    int bank;
    double capital;
    double cash;
    int held;
    QString lock;
};

} // namespace

class SimulatedTradingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void init();
    void cleanup();

    void refusesBeforeQuotesArrive();
    void opensOnTheStoredAccount();
    void bankCodeChoosesPricesAndCaptions_data();
    void bankCodeChoosesPricesAndCaptions();
    void buyAndSellMoveTheAccountAndTheFiles();
    void amountFollowsThePriceAtTheClick();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void tradeListIsNewestFirst();
    void clearingAsksFirstAndKeepsTheAccount();
    void failedFileChangesNothingAndClosesTheWindow_data();
    void failedFileChangesNothingAndClosesTheWindow();
    void missingPropertyFileEndsTheProgram();
    void newSimulationResetsAccountAndTrades();
    void newSimulationWithoutRecordKeepsTrades();
    void newSimulationWithoutAccountFileKeepsTrades();
    void newSimulationCancelChangesNothing();
    void listFollowsWindowSize();
    void onlyOneTradingWindow();
    void crashInsideATradeLeavesAnAccountThatOpens();
    void fullDiskChangesNothingOnScreenOrOnFile();
    void staleWindowTradesOnTheAccountOnFile();

private:
    void giveQuotes();
    TradingWindow* enter();
    Property property() const;
    void setProperty(const Property& p);
    int tradeCount() const;
    QString box(const QString& name) const { return trading->findChild<QLineEdit*>(name)->text(); }
    void type(const QString& name, const QString& text) {
        trading->findChild<QLineEdit*>(name)->setText(text);
    }
    void click(const QString& name) {
        QTest::mouseClick(trading->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    QTableWidget* list() const { return trading->findChild<QTableWidget*>(u"高级表格_交易记录显示"_s); }

    std::unique_ptr<InstalledProgram> program;
    FakeServices* fakes = nullptr;
    MainWindow* window = nullptr;
    QPointer<TradingWindow> trading;
};

void SimulatedTradingTest::init() {
    program = std::make_unique<InstalledProgram>();
    QVERIFY(program->ok());
    fakes = &program->fakes();
    window = &program->window();
}

void SimulatedTradingTest::cleanup() {
    window = nullptr;
    fakes = nullptr;
    program.reset();
}

void SimulatedTradingTest::giveQuotes() {
    QuoteModel& model = window->quoteModel();
    model.setBaseBuy("200.00");
    model.setBaseSell("200.80");
    const QList<std::pair<QuoteModel::Shown, QString>> shown = {
        {QuoteModel::Shown::IcbcBuy, u"200.05"_s}, {QuoteModel::Shown::IcbcSell, u"200.85"_s},
        {QuoteModel::Shown::CcbBuy, u"201"_s},     {QuoteModel::Shown::CcbSell, u"201.8"_s},
        {QuoteModel::Shown::BocBuy, u"202.1"_s},   {QuoteModel::Shown::BocSell, u"202.9"_s},
    };
    for (const auto& [which, text] : shown)
        model.setShown(which, text);
}

TradingWindow* SimulatedTradingTest::enter() {
    lookup::toolbarButton(window, 9)->trigger();
    trading = lookup::openWindow<TradingWindow>(window, u"模拟炒金平台"_s);
    return trading;
}

Property SimulatedTradingTest::property() const {
    RecordFile file;
    if (!file.open(appPath(recordpasswords::kPropertyFile), recordpasswords::propertyPassword()))
        return {};
    file.goFirst();
    return {file.read(u"操作银行"_s).toInt(), file.read(u"启始资产"_s).toDouble(),
            file.read(kCash).toDouble(), file.read(kHeld).toInt(), file.read(u"锁定密码"_s).toString()};
}

void SimulatedTradingTest::setProperty(const Property& p) {
    RecordFile file;
    QVERIFY(file.open(appPath(recordpasswords::kPropertyFile), recordpasswords::propertyPassword()));
    file.goFirst();
    QVERIFY(file.modify({p.bank, p.capital, p.cash, p.held, p.lock}));
}

int SimulatedTradingTest::tradeCount() const {
    RecordFile file;
    return file.open(appPath(recordpasswords::kTransactionFile), QString()) ? file.count() : -1;
}

void SimulatedTradingTest::refusesBeforeQuotesArrive() {
    QVERIFY(!enter());
    QCOMPARE(fakes->dialogs.lastText(), u"服务器还未连接，请稍后在进入！"_s);
    QVERIFY(fakes->quitCodes.isEmpty());
}

void SimulatedTradingTest::opensOnTheStoredAccount() {
    giveQuotes();
    QVERIFY(enter());
    QCOMPARE(trading->windowTitle(), u"模拟炒金平台"_s);
    QCOMPARE(box(u"编辑框_模拟启始资产"_s), u"100000"_s);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"100000"_s);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"0"_s);
    QCOMPARE(box(u"编辑框_盈亏"_s), u"0"_s);
    QCOMPARE(list()->rowCount(), 0);
    QCOMPARE(list()->horizontalHeaderItem(3)->text(), u"交易价格(人民币/克)"_s);
    QCOMPARE(list()->columnWidth(1), 170);
    QCOMPARE(trading->findChild<QToolBar*>(u"工具条_模拟炒金平台"_s)->actions().size(), 3);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void SimulatedTradingTest::bankCodeChoosesPricesAndCaptions_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("buyCaption");
    QTest::addColumn<QString>("buyPrice");
    QTest::addColumn<QString>("sellPrice");
    QTest::newRow("ICBC") << 1 << u"工行当前卖出价："_s << u"200.85"_s << u"200.05"_s;
    QTest::newRow("CCB") << 2 << u"建行当前卖出价："_s << u"201.8"_s << u"201"_s;
    QTest::newRow("BOC") << 3 << u"中行当前卖出价："_s << u"202.9"_s << u"202.1"_s;
    QTest::newRow("code 7 counts as BOC") << 7 << u"中行当前卖出价："_s << u"202.9"_s << u"202.1"_s;
}

void SimulatedTradingTest::bankCodeChoosesPricesAndCaptions() {
    QFETCH(int, code);
    QFETCH(QString, buyCaption);
    QFETCH(QString, buyPrice);
    QFETCH(QString, sellPrice);
    setProperty({code, 100000, 100000, 0, u"526"_s});
    giveQuotes();
    QVERIFY(enter());
    QCOMPARE(trading->findChild<QLabel*>(u"银行买入显示标签"_s)->text(), buyCaption);
    QCOMPARE(box(u"编辑框_模拟买入价"_s), buyPrice);
    QCOMPARE(box(u"编辑框_模拟卖出价"_s), sellPrice);
    // The feed copies the live texts every second.
    window->quoteModel().setShown(QuoteModel::Shown::BocSell, u"300.5"_s);
    window->quoteModel().setShown(QuoteModel::Shown::CcbSell, u"300.5"_s);
    window->quoteModel().setShown(QuoteModel::Shown::IcbcSell, u"300.5"_s);
    trading->findChild<Timer*>(u"时钟_取模拟金价"_s)->tick();
    QCOMPARE(box(u"编辑框_模拟买入价"_s), u"300.5"_s);
}

void SimulatedTradingTest::buyAndSellMoveTheAccountAndTheFiles() {
    giveQuotes();
    QVERIFY(enter());
    type(u"编辑框_模拟买入数量"_s, u"10"_s);
    QCOMPARE(box(u"编辑框_模拟买入花费"_s), u"2008.5"_s);
    click(u"按钮_模拟买入"_s);
    QVERIFY(fakes->dialogs.history().isEmpty());
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"10"_s);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"97991.5"_s);
    QCOMPARE(box(u"编辑框_模拟买入数量"_s), QString());
    QCOMPARE(box(u"编辑框_模拟买入花费"_s), u"0"_s);
    QCOMPARE(box(u"编辑框_盈亏"_s), u"0"_s); // only a sell sets it
    Property stored = property();
    QCOMPARE(stored.held, 10);
    QCOMPARE(stored.cash, 97991.5);
    QCOMPARE(stored.lock, u"526"_s);
    QCOMPARE(tradeCount(), 1);
    QCOMPARE(list()->item(0, 0)->text(), u"1"_s);
    QCOMPARE(list()->item(0, 2)->text(), u"买入"_s);
    QCOMPARE(list()->item(0, 3)->text(), u"200.85"_s);
    QCOMPARE(list()->item(0, 5)->text(), u"2008.5"_s);
    QCOMPARE(list()->item(0, 1)->text(), fakes->clock.current.toString(u"yyyy-MM-dd HH:mm:ss"_s));

    type(u"编辑框_模拟卖出数量"_s, u"10"_s);
    QCOMPARE(box(u"编辑框_模拟卖出金额"_s), u"2000.5"_s);
    click(u"按钮_模拟卖出"_s);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"0"_s);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"99992"_s);
    QCOMPARE(box(u"编辑框_盈亏"_s), u"-8"_s);
    QCOMPARE(property().held, 0);
    QCOMPARE(property().cash, 99992.0);
    QCOMPARE(tradeCount(), 2);
    QCOMPARE(list()->item(0, 2)->text(), u"卖出"_s);

    // Closing and entering again shows the account as it was left.
    trading->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(enter());
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"99992"_s);
    QCOMPARE(list()->rowCount(), 2);
}

void SimulatedTradingTest::amountFollowsThePriceAtTheClick() {
    giveQuotes();
    QVERIFY(enter());
    type(u"编辑框_模拟买入数量"_s, u"3"_s);
    window->quoteModel().setShown(QuoteModel::Shown::IcbcSell, u"210"_s);
    trading->findChild<Timer*>(u"时钟_取模拟金价"_s)->tick();
    click(u"按钮_模拟买入"_s);
    RecordFile file;
    QVERIFY(file.open(appPath(recordpasswords::kTransactionFile), QString()));
    file.goLast();
    QCOMPARE(file.read(u"交易价格"_s).toDouble(), 210.0);
    QCOMPARE(file.read(u"交易克数"_s).toInt(), 3);
    QCOMPARE(file.read(u"交易金额"_s).toDouble(), 630.0);
    QCOMPARE(property().cash, 100000.0 - 630.0);
}

void SimulatedTradingTest::refusalsChangeNothing_data() {
    QTest::addColumn<QString>("buyQuantity");
    QTest::addColumn<QString>("sellQuantity");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("emptied");
    QTest::newRow("not enough cash") << u"1000"_s << QString() << u"现金不足，无法购买！"_s << false;
    QTest::newRow("half a gram") << u"0.5"_s << QString() << u"输入错误！"_s << true;
    QTest::newRow("letters") << u"abc"_s << QString() << u"输入错误！"_s << true;
    QTest::newRow("empty buy") << u""_s << QString() << u"输入错误！"_s << true;
    QTest::newRow("selling more than held") << QString() << u"6"_s << u"黄金不够卖！"_s << false;
    QTest::newRow("negative sell") << QString() << u"-5"_s << u"输入错误！"_s << true;
}

void SimulatedTradingTest::refusalsChangeNothing() {
    QFETCH(QString, buyQuantity);
    QFETCH(QString, sellQuantity);
    QFETCH(QString, message);
    QFETCH(bool, emptied);
    setProperty({1, 100000, 100000, 5, u"526"_s});
    giveQuotes();
    QVERIFY(enter());
    const bool buying = !buyQuantity.isNull();
    const QString quantityBox = buying ? u"编辑框_模拟买入数量"_s : u"编辑框_模拟卖出数量"_s;
    type(quantityBox, buying ? buyQuantity : sellQuantity);
    click(buying ? u"按钮_模拟买入"_s : u"按钮_模拟卖出"_s);
    QCOMPARE(fakes->dialogs.lastText(), message);
    QCOMPARE(box(quantityBox).isEmpty(), emptied);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"5"_s);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"100000"_s);
    QCOMPARE(property().held, 5);
    QCOMPARE(tradeCount(), 0);
}

void SimulatedTradingTest::tradeListIsNewestFirst() {
    giveQuotes();
    QVERIFY(enter());
    for (const QString& grams : {u"1"_s, u"2"_s, u"3"_s}) {
        type(u"编辑框_模拟买入数量"_s, grams);
        click(u"按钮_模拟买入"_s);
    }
    QCOMPARE(list()->rowCount(), 3);
    QCOMPARE(list()->item(0, 0)->text(), u"3"_s);
    QCOMPARE(list()->item(0, 4)->text(), u"3"_s);
    QCOMPARE(list()->item(2, 0)->text(), u"1"_s);
    QCOMPARE(list()->item(2, 4)->text(), u"1"_s);
}

void SimulatedTradingTest::clearingAsksFirstAndKeepsTheAccount() {
    giveQuotes();
    QVERIFY(enter());
    type(u"编辑框_模拟买入数量"_s, u"2"_s);
    click(u"按钮_模拟买入"_s);
    QAction* clear = trading->findChild<QToolBar*>()->actions().at(1);
    fakes->dialogs.answers = {Dialogs::Answer::Cancel};
    clear->trigger();
    QCOMPARE(fakes->dialogs.lastText(), u"确认后将清空所有交易记录！"_s);
    QCOMPARE(tradeCount(), 1);
    QCOMPARE(list()->rowCount(), 1);
    fakes->dialogs.answers = {Dialogs::Answer::Ok};
    clear->trigger();
    QCOMPARE(tradeCount(), 0);
    QCOMPARE(list()->rowCount(), 0);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"2"_s);
    QCOMPARE(property().held, 2);
}

void SimulatedTradingTest::failedFileChangesNothingAndClosesTheWindow_data() {
    QTest::addColumn<QString>("broken");
    QTest::newRow("trade file missing") << recordpasswords::kTransactionFile;
    QTest::newRow("account file missing") << recordpasswords::kPropertyFile;
}

void SimulatedTradingTest::failedFileChangesNothingAndClosesTheWindow() {
    QFETCH(QString, broken);
    giveQuotes();
    QVERIFY(enter());
    const QString path = appPath(broken);
    QVERIFY(QFile::rename(path, path + u".away"_s));
    type(u"编辑框_模拟买入数量"_s, u"4"_s);
    click(u"按钮_模拟买入"_s);
    QCOMPARE(fakes->dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
    QCOMPARE(fakes->dialogs.history().last().title, u"友情提示："_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!trading);
    QVERIFY(QFile::rename(path + u".away"_s, path));
    // Neither file took any part of the trade.
    QCOMPARE(property().held, 0);
    QCOMPARE(property().cash, 100000.0);
    QCOMPARE(tradeCount(), 0);
}

void SimulatedTradingTest::missingPropertyFileEndsTheProgram() {
    giveQuotes();
    QVERIFY(QFile::remove(appPath(recordpasswords::kPropertyFile)));
    QVERIFY(!enter());
    QCOMPARE(fakes->dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
    QCOMPARE(fakes->quitCodes, QList<int>{0});
}

void SimulatedTradingTest::newSimulationResetsAccountAndTrades() {
    setProperty({1, 5000, 123.5, 7, u"abc"_s});
    giveQuotes();
    QVERIFY(enter());
    type(u"编辑框_模拟买入数量"_s, u"0"_s);
    trading->findChild<QToolBar*>()->actions().at(0)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!trading);
    NewSimulationWindow* fresh = lookup::openWindow<NewSimulationWindow>(window, u"新建模拟炒金"_s);
    QVERIFY(fresh);
    {
        RecordFile file;
        QVERIFY(file.open(appPath(recordpasswords::kTransactionFile), QString()));
        file.appendBlank();
    }
    auto* bank = fresh->findChild<QComboBox*>(u"组合框_模拟炒金银行"_s);
    auto* capital = fresh->findChild<QComboBox*>(u"组合框_模拟起始资金"_s);
    QCOMPARE(bank->count(), 3);
    QCOMPARE(capital->count(), 6);
    bank->setCurrentIndex(1);
    capital->setCurrentIndex(3);
    QTest::mouseClick(fresh->findChild<QPushButton*>(u"按钮_确认"_s), Qt::LeftButton);
    QCOMPARE(fakes->dialogs.lastText(), u"新建模拟交易成功，请重新进入！"_s);
    const Property stored = property();
    QCOMPARE(stored.bank, 2);
    QCOMPARE(stored.capital, 100000.0);
    QCOMPARE(stored.cash, 100000.0);
    QCOMPARE(stored.held, 0);
    QCOMPARE(stored.lock, u"abc"_s);
    QCOMPARE(tradeCount(), 0);

    QVERIFY(enter());
    QCOMPARE(trading->findChild<QLabel*>(u"银行买入显示标签"_s)->text(), u"建行当前卖出价："_s);
    QCOMPARE(box(u"编辑框_模拟启始资产"_s), u"100000"_s);
}

void SimulatedTradingTest::newSimulationWithoutRecordKeepsTrades() {
    {
        RecordFile file;
        QVERIFY(file.open(appPath(recordpasswords::kPropertyFile), recordpasswords::propertyPassword()));
        file.clear();
        RecordFile trades;
        QVERIFY(trades.open(appPath(recordpasswords::kTransactionFile), QString()));
        trades.appendBlank();
    }
    giveQuotes();
    QVERIFY(!enter()); // no account yet: the new-simulation window instead
    NewSimulationWindow* fresh = lookup::openWindow<NewSimulationWindow>(window, u"新建模拟炒金"_s);
    QVERIFY(fresh);
    fresh->confirm();
    QCOMPARE(fakes->dialogs.lastText(), u"新建模拟交易失败！"_s);
    QCOMPARE(tradeCount(), 1);
}

void SimulatedTradingTest::newSimulationWithoutAccountFileKeepsTrades() {
    {
        RecordFile trades;
        QVERIFY(trades.open(appPath(recordpasswords::kTransactionFile), QString()));
        trades.appendBlank();
    }
    QVERIFY(QFile::remove(appPath(recordpasswords::kPropertyFile)));
    // Entering could not open it now (the program would end), so it opens directly.
    QPointer<NewSimulationWindow> fresh = new NewSimulationWindow(fakes->services, window);
    fresh->show();
    fresh->confirm();
    QCOMPARE(fakes->dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!fresh);
    QCOMPARE(tradeCount(), 1);
}

void SimulatedTradingTest::newSimulationCancelChangesNothing() {
    setProperty({3, 5000, 4000, 4, u"526"_s});
    giveQuotes();
    QVERIFY(enter());
    trading->findChild<QAction*>(u"工具条按钮_新建交易"_s)->trigger();
    QPointer<NewSimulationWindow> fresh = lookup::openWindow<NewSimulationWindow>(window, u"新建模拟炒金"_s);
    QTest::mouseClick(fresh->findChild<QPushButton*>(u"按钮_取消"_s), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!fresh);
    QCOMPARE(property().cash, 4000.0);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void SimulatedTradingTest::listFollowsWindowSize() {
    giveQuotes();
    QVERIFY(enter());
    trading->show();
    trading->resize(700, 600);
    QCOMPARE(list()->geometry(), QRect(4, 258, 700, 600));
}

void SimulatedTradingTest::onlyOneTradingWindow() {
    giveQuotes();
    TradingWindow* first = enter();
    QVERIFY(first);
    QCOMPARE(enter(), first);
    QCOMPARE(window->findChildren<TradingWindow*>().size(), 1);
}

void SimulatedTradingTest::crashInsideATradeLeavesAnAccountThatOpens() {
    giveQuotes();
    // Another run was killed while its trade committed to both files.
    QVERIFY(crashpoints::killInsideCommit(appDir(), u"trade"_s, u"-mj"_s));
    QVERIFY(QFile::exists(appPath(recordpasswords::kPropertyFile) + u"-journal"_s));
    QVERIFY(QFile::exists(appPath(recordpasswords::kTransactionFile) + u"-journal"_s));
    QVERIFY(enter());
    QVERIFY(trading->isVisible());
    QVERIFY(fakes->dialogs.history().isEmpty());
    QVERIFY(fakes->quitCodes.isEmpty());
    // Neither half of the cut-short trade is there.
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"100000"_s);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"0"_s);
    QCOMPARE(list()->rowCount(), 0);
}

void SimulatedTradingTest::fullDiskChangesNothingOnScreenOrOnFile() {
    giveQuotes();
    QVERIFY(enter());
    type(u"编辑框_模拟买入数量"_s, u"3"_s);
    {
        const crashpoints::FileSizeLimit full(0);
        click(u"按钮_模拟买入"_s);
    }
    QCOMPARE(fakes->dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
    // Nothing on screen claimed the trade before the window went.
    QVERIFY(trading);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"100000"_s);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"0"_s);
    QCOMPARE(list()->rowCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!trading);
    QCOMPARE(property().cash, 100000.0);
    QCOMPARE(property().held, 0);
    QCOMPARE(tradeCount(), 0);
}

void SimulatedTradingTest::staleWindowTradesOnTheAccountOnFile() {
    giveQuotes();
    QVERIFY(enter());
    type(u"编辑框_模拟买入数量"_s, u"1"_s);
    click(u"按钮_模拟买入"_s);
    // "新建交易": the trading window gives way to the new-simulation window.
    trading->findChild<QAction*>(u"工具条按钮_新建交易"_s)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QPointer<NewSimulationWindow> fresh = lookup::openWindow<NewSimulationWindow>(window, u"新建模拟炒金"_s);
    QVERIFY(fresh);
    // The user enters again before confirming the reset: this window will
    // show the account as it was.
    QVERIFY(enter());
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"99799.15"_s);
    fresh->findChild<QComboBox*>(u"组合框_模拟起始资金"_s)->setCurrentIndex(0); // 5千
    QTest::mouseClick(fresh->findChild<QPushButton*>(u"按钮_确认"_s), Qt::LeftButton);
    QCOMPARE(property().cash, 5000.0);

    // 30 g would fit the cash the old window shows, not the cash on file.
    type(u"编辑框_模拟买入数量"_s, u"30"_s);
    click(u"按钮_模拟买入"_s);
    QCOMPARE(fakes->dialogs.lastText(), u"现金不足，无法购买！"_s);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"5000"_s);
    QCOMPARE(box(u"编辑框_模拟启始资产"_s), u"5000"_s);
    type(u"编辑框_模拟买入数量"_s, u"2"_s);
    click(u"按钮_模拟买入"_s);
    // The account on file and the window agree with the trades on file.
    const Property p = property();
    QCOMPARE(p.capital, 5000.0);
    QCOMPARE(p.held, 2);
    QCOMPARE(p.cash, 5000 - 2 * 200.85);
    QCOMPARE(tradeCount(), 1);
    QCOMPARE(box(u"编辑框_模拟现有资产"_s), u"4598.3"_s);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"2"_s);
    // Numbers longer than their boxes show from their beginning.
    QCOMPARE(trading->findChild<QLineEdit*>(u"编辑框_模拟现有资产"_s)->cursorPosition(), 0);

    // Another program buys 1 g more: selling all 3 g is judged by the file.
    QCOMPARE(accountbook::recordTrade(1, {u"买入"_s, 200, 1, 200}, fakes->clock.now()).status,
             accountbook::Status::Done);
    type(u"编辑框_模拟卖出数量"_s, u"3"_s);
    click(u"按钮_模拟卖出"_s);
    QCOMPARE(property().held, 0);
    QCOMPARE(box(u"编辑框_模拟当前持有量"_s), u"0"_s);
    QCOMPARE(list()->rowCount(), 3);
}

QTEST_MAIN(SimulatedTradingTest)
#include "test_simulated_trading.moc"
