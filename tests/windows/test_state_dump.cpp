// The state dump that end-to-end tests read: windows, controls, quotes and
// messages, written whole, for the owner's eyes only, and the snapshot
// writer behind it.
#include "diagnostics/snapshot_file.h"
#include "diagnostics/state_dump.h"
#include "platform/timer.h"
#include "quotes/quote_model.h"
#include "support/fake_services.h"
#include "ui/window_alpha.h"

#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

QJsonObject findByName(const QJsonArray& array, const QString& name) {
    for (const QJsonValue& value : array) {
        if (value[u"name"].toString() == name)
            return value.toObject();
    }
    return {};
}

} // namespace

class StateDumpTest : public QObject {
    Q_OBJECT
private slots:
    void describesWindowsAndControls();
    void masksPasswordBoxes_data();
    void masksPasswordBoxes();
    void carriesQuotesAndMessages();
    void writesWholeOwnerOnlyJsonFiles();
    void queuedSnapshotsEndWithTheNewest();
};

void StateDumpTest::describesWindowsAndControls() {
    QWidget window;
    window.setObjectName(u"测试窗口"_qs);
    window.setWindowTitle(u"标题"_qs);
    window.setGeometry(100, 120, 400, 300);
    window.setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowAlpha(&window, 245);
    QWidget frame(&window);
    frame.setObjectName(u"背景框"_qs);
    frame.setGeometry(10, 20, 200, 100);
    auto* label = new QLabel(u"257.76"_qs, &frame);
    label->setObjectName(u"标签_工行买入价"_qs);
    label->setGeometry(5, 6, 60, 20);
    label->setToolTip(u"提示"_qs);
    auto* box = new QCheckBox(u"工行"_qs, &window);
    box->setObjectName(u"选择框_工行提醒"_qs);
    box->setChecked(true);
    box->setEnabled(false);
    auto* bar = new QProgressBar(&window);
    bar->setObjectName(u"进度条_工行"_qs);
    bar->setRange(0, 30);
    bar->setValue(12);
    auto* tabs = new QTabWidget(&window);
    tabs->setObjectName(u"高级选择夹"_qs);
    auto* firstPage = new QWidget;
    tabs->addTab(firstPage, u"24小时黄金"_qs);
    tabs->addTab(new QWidget, u"K线图"_qs);
    tabs->setCurrentIndex(1);
    // A tab page's controls are the program's, on the page shown or not.
    auto* onPage = new QCheckBox(u"在windows启动后自动运行"_qs, firstPage);
    onPage->setObjectName(u"选择框_随windows启动"_qs);
    onPage->move(25, 49);
    auto* grid = new QTableWidget(1, 2, &window);
    grid->setObjectName(u"表格_交易"_qs);
    grid->setHorizontalHeaderLabels({u"序号"_qs, u"价格"_qs});
    grid->setItem(0, 0, new QTableWidgetItem(u"1"_qs));
    grid->setItem(0, 1, new QTableWidgetItem(u"913.27"_qs));
    new Timer(&window, u"时钟_工行价格更新"_qs, 15000);
    new QLabel(u"unnamed"_qs, &window); // no design name: not listed
    window.show();

    const QJsonObject entry = StateDump::describeWindow(&window);
    QCOMPARE(entry[u"title"].toString(), u"标题"_qs);
    QCOMPARE(entry[u"name"].toString(), u"测试窗口"_qs);
    QCOMPARE(entry[u"opacity"].toInt(), 245);
    QVERIFY(entry[u"topmost"].toBool());
    QCOMPARE(entry[u"w"].toInt(), 400);
    const QJsonArray controls = entry[u"controls"].toArray();
    QStringList names;
    for (const QJsonValue& c : controls)
        names << c[u"name"].toString();
    names.sort();
    QStringList expected{
        u"背景框"_qs,     u"标签_工行买入价"_qs, u"选择框_工行提醒"_qs,   u"进度条_工行"_qs,
        u"高级选择夹"_qs, u"表格_交易"_qs,       u"时钟_工行价格更新"_qs, u"选择框_随windows启动"_qs};
    expected.sort();
    // Unnamed controls and the insides of Qt's own widgets are left out.
    QCOMPARE(names, expected);

    const QJsonObject price = findByName(controls, u"标签_工行买入价"_qs);
    QCOMPARE(price[u"text"].toString(), u"257.76"_qs);
    QCOMPARE(price[u"tooltip"].toString(), u"提示"_qs);
    QCOMPARE(QRect(price[u"x"].toInt(), price[u"y"].toInt(), price[u"w"].toInt(), price[u"h"].toInt()),
             QRect(5, 6, 60, 20));
    QCOMPARE(QPoint(price[u"wx"].toInt(), price[u"wy"].toInt()), QPoint(15, 26));

    const QJsonObject check = findByName(controls, u"选择框_工行提醒"_qs);
    QVERIFY(check[u"checked"].toBool());
    QVERIFY(!check[u"enabled"].toBool());
    QCOMPARE(findByName(controls, u"进度条_工行"_qs)[u"value"].toInt(), 12);
    const QJsonObject tabEntry = findByName(controls, u"高级选择夹"_qs);
    QCOMPARE(tabEntry[u"items"].toArray(), (QJsonArray{u"24小时黄金"_qs, u"K线图"_qs}));
    QCOMPARE(tabEntry[u"current"].toInt(), 1);
    const QJsonObject pageBox = findByName(controls, u"选择框_随windows启动"_qs);
    QCOMPARE(pageBox[u"text"].toString(), u"在windows启动后自动运行"_qs);
    QVERIFY(!pageBox[u"visible"].toBool());
    const QJsonArray rows = findByName(controls, u"表格_交易"_qs)[u"items"].toArray();
    QCOMPARE(rows, (QJsonArray{QJsonArray{u"序号"_qs, u"价格"_qs}, QJsonArray{u"1"_qs, u"913.27"_qs}}));
    QCOMPARE(findByName(controls, u"时钟_工行价格更新"_qs)[u"interval"].toInt(), 15000);
}

void StateDumpTest::masksPasswordBoxes_data() {
    QTest::addColumn<int>("echoMode");
    QTest::addColumn<QString>("dumped");
    QTest::newRow("normal") << int(QLineEdit::Normal) << u"金价526"_qs;
    QTest::newRow("password") << int(QLineEdit::Password) << u"*****"_qs;
    QTest::newRow("no echo") << int(QLineEdit::NoEcho) << u"*****"_qs;
    QTest::newRow("password echo on edit") << int(QLineEdit::PasswordEchoOnEdit) << u"*****"_qs;
}

void StateDumpTest::masksPasswordBoxes() {
    QFETCH(int, echoMode);
    QFETCH(QString, dumped);
    QWidget window;
    auto* box = new QLineEdit(u"金价526"_qs, &window);
    box->setObjectName(u"编辑框_密码框"_qs);
    box->setEchoMode(static_cast<QLineEdit::EchoMode>(echoMode));
    const QJsonArray controls = StateDump::describeWindow(&window)[u"controls"].toArray();
    QCOMPARE(findByName(controls, u"编辑框_密码框"_qs)[u"text"].toString(), dumped);
}

void StateDumpTest::carriesQuotesAndMessages() {
    FakeServices fakes;
    QuoteModel model;
    model.setBaseBuy("913.27");
    model.setBaseSell("914.07");
    fakes.dialogs.message(nullptr, u"敬告：服务器数据错误！"_qs, u"数据错误"_qs);
    StateDump dump(u"/dev/null"_qs, fakes.dialogs);
    dump.setQuoteModel(&model);
    const QJsonObject root = dump.snapshot();
    QCOMPARE(root[u"quotes"][u"baseBuy"].toString(), u"913.27"_qs);
    QCOMPARE(root[u"quotes"][u"baseSell"].toString(), u"914.07"_qs);
    const QJsonArray messages = root[u"messages"].toArray();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0][u"text"].toString(), u"敬告：服务器数据错误！"_qs);
    QCOMPARE(messages[0][u"title"].toString(), u"数据错误"_qs);
}

void StateDumpTest::writesWholeOwnerOnlyJsonFiles() {
    QTemporaryDir dir;
    FakeServices fakes;
    const QString path = dir.filePath(u"state.json"_qs);
    StateDump dump(path, fakes.dialogs);
    QWidget window;
    window.setWindowTitle(u"Aurivex3.0"_qs);
    window.show();
    const auto mode = [&] {
        struct stat info {};
        return stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
    };
    QVERIFY(dump.write());
    QCOMPARE(mode(), 0600u);
    // Replacing a file others may read leaves one they may not.
    QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(mode(), 0644u);
    QVERIFY(dump.write());
    QCOMPARE(mode(), 0600u);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(document[u"windows"].toArray().size() >= 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"state.json"_qs});
}

void StateDumpTest::queuedSnapshotsEndWithTheNewest() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"figures.json"_qs);
    const auto contents = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    {
        SnapshotWriter writer(path);
        for (int i = 0; i < 200; ++i)
            writer.replaceLater(QByteArray::number(i));
    }
    QCOMPARE(contents(), QByteArray("199"));
    {
        // A write here and now is not overtaken by one queued before it.
        SnapshotWriter writer(path);
        for (int i = 0; i < 200; ++i)
            writer.replaceLater(QByteArray::number(i));
        QVERIFY(writer.replaceNow("now"));
    }
    QCOMPARE(contents(), QByteArray("now"));
    QCOMPARE(QFile::permissions(path) &
                 ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"figures.json"_qs});
    QVERIFY(!SnapshotWriter(dir.filePath(u"missing/figures.json"_qs)).replaceNow("x"));
}

QTEST_MAIN(StateDumpTest)
#include "test_state_dump.moc"
