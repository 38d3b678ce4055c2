// "价格记录" on a real history file: opened by its command, spans, lines and
// candles, the moving average, the spread pane, the crosshair, and the PNG
// and CSV exports.
#include "history/history_store.h"
#include "history/history_window.h"
#include "history/price_chart.h"
#include "history/price_history.h"
#include "support/fake_services.h"
#include "support/installed_program.h"
#include "support/main_window_lookup.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace history;

class HistoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void oneFlowThroughTheWindow();
};

namespace {

// A day of ICBC's pair and the international buy price, one change every 15 s
// up to the fake clock's now, and a day 100 days earlier, rolled up into bars.
void recordHistory(const QDateTime& now) {
    HistoryStore store;
    QVERIFY(store.open(appPath(QString::fromLatin1(PriceHistory::kFile))));
    const qint64 end = now.toMSecsSinceEpoch();
    QList<std::pair<Series, Change>> changes;
    for (qint64 base : {end - kDayMs, end - 100 * kDayMs}) {
        for (int i = 0; i < 5760; ++i) {
            const Fen buy = Fen(90000 + (i * 37) % 300);
            changes.append({Series::IcbcBuy, {base + i * 15'000, buy}});
            changes.append({Series::IcbcSell, {base + i * 15'000, Fen(buy + 80)}});
            changes.append({Series::IntlBuy, {base + i * 15'000 + 5'000, Fen(buy + 3)}});
        }
    }
    QVERIFY(store.append(changes));
    QVERIFY(store.rollUp(end) > 0);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void HistoryWindowTest::oneFlowThroughTheWindow() {
    InstalledProgram program;
    QVERIFY(program.ok());
    FakeServices& fakes = program.fakes();
    recordHistory(fakes.clock.current);

    lookup::command(&program.window(), u"价格记录(&R)"_s)->trigger();
    auto* window = lookup::openWindow<HistoryWindow>(&program.window(), u"价格记录"_s);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), u"价格记录"_s);
    QTRY_VERIFY(window->drawn());
    PriceChart* chart = window->chart();
    // 1天 and the three series chosen at first: a line each.
    QCOMPARE(chart->plottableCount(), 3);
    QCOMPARE(chart->graph(0)->dataCount(), 5760);
    QCOMPARE(window->findChild<QLabel*>(u"标签_记录状态"_s)->text(),
             u"本机记录 17280 个点（1天，每个价格）"_s);
    const QString reading = chart->readingAt(chart->pricePane()->rect().center());
    QVERIFY2(reading.startsWith(u"2026年12月"_s) && reading.endsWith(u" 元/克"_s), qPrintable(reading));

    // 全部 reaches the bars of a hundred days ago, drawn every five minutes.
    window->findChild<QPushButton*>(u"按钮_全部"_s)->click();
    QTRY_VERIFY(window->drawn());
    QVERIFY(chart->xAxis->range().lower * 1000 <= fakes.clock.current.toMSecsSinceEpoch() - 100 * kDayMs);
    QCOMPARE(chart->graph(0)->dataCount(), 2 * 24 * 12);
    QVERIFY(window->findChild<QLabel*>(u"标签_记录状态"_s)->text().endsWith(u"（全部，每5分钟）"_s));

    // A day in five-minute candles of the first series, with its average and ICBC's spread.
    window->findChild<QPushButton*>(u"按钮_一天"_s)->click();
    window->findChild<QComboBox*>(u"组合框_图形"_s)->setCurrentIndex(2);
    window->findChild<QCheckBox*>(u"选择框_均线"_s)->setChecked(true);
    window->findChild<QCheckBox*>(u"选择框_点差"_s)->setChecked(true);
    QTRY_VERIFY(window->drawn());
    auto* candles = qobject_cast<QCPFinancial*>(chart->plottable(0));
    QVERIFY(candles);
    QCOMPARE(candles->dataCount(), 24 * 12);
    QCOMPARE(chart->plottable(1)->name(), u"MA20"_s);
    QCOMPARE(chart->axisRectCount(), 2);

    const QTemporaryDir out;
    fakes.dialogs.files.enqueue(out.filePath(u"k.csv"_s));
    window->exportData();
    const QList<QByteArray> candleRows = readAll(out.filePath(u"k.csv"_s)).split('\n');
    QCOMPARE(candleRows.first(), QByteArray("\xEF\xBB\xBF时间,开盘,最高,最低,收盘,MA20\r"));
    QCOMPARE(candleRows.size(), 1 + 24 * 12 + 1);

    window->findChild<QComboBox*>(u"组合框_图形"_s)->setCurrentIndex(0);
    QTRY_VERIFY(window->drawn());
    fakes.dialogs.files.enqueue(out.filePath(u"lines.csv"_s));
    window->exportData();
    const QList<QByteArray> lineRows = readAll(out.filePath(u"lines.csv"_s)).split('\n');
    QCOMPARE(lineRows.first(), QByteArray("\xEF\xBB\xBF时间,工行买入,工行卖出,国际买入,工行点差\r"));
    QVERIFY(lineRows[1].endsWith(",,0.80\r")); // the international price comes five seconds later

    fakes.dialogs.files.enqueue(out.filePath(u"view.png"_s));
    window->exportPicture();
    QCOMPARE(QImage(out.filePath(u"view.png"_s)).size(), chart->size());

    // A folder that is not there: said, not silently lost.
    fakes.dialogs.files.enqueue(out.filePath(u"missing/lines.csv"_s));
    window->exportData();
    QVERIFY(fakes.dialogs.lastText().startsWith(u"数据未能保存到："_s));
    window->close();
}

QTEST_MAIN(HistoryWindowTest)
#include "test_history_window.moc"
