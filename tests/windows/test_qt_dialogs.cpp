// Qt's own dialogs behind the Dialogs seam, as the user sees them: the font
// dialog starts on the font the caller shows, and the file dialog is Chinese
// through and through, whatever the machine's language.
#include "platform/widgets/qt_dialogs.h"
#include "ui/fonts.h"
#include "ui/translations.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `inspect` on the first shown dialog of type T, then closes it.
template <typename T> void whenShown(std::function<void(T*)> inspect) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<T*>(window); dialog && dialog->isVisible()) {
                poll->deleteLater();
                inspect(dialog);
                dialog->reject();
                return;
            }
        }
    });
    poll->start(20);
}

bool hasLatinWord(const QString& text) {
    static const QRegularExpression word(u"[A-Za-z]{2,}"_s);
    return text.contains(word);
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fontDialogStartsOnTheShownFont();
    void fileDialogIsWhollyChinese();
};

void QtDialogsTest::initTestCase() {
    installFontSubstitutions();
    installChineseTranslations();
}

void QtDialogsTest::fontDialogStartsOnTheShownFont() {
    QFont shown(u"黑体"_s);
    shown.setPointSize(12);
    QFont start;
    whenShown<QFontDialog>([&](QFontDialog* dialog) { start = dialog->currentFont(); });
    QtDialogs dialogs;
    QVERIFY(!dialogs.chooseFont(nullptr, shown));
    QCOMPARE(start.family(), QFontInfo(shown).family());
    QCOMPARE(start.pointSize(), 12);
    QVERIFY(!start.bold() && !start.italic());
}

void QtDialogsTest::fileDialogIsWhollyChinese() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"数据"_s));
    QFile text(dir.filePath(u"说明.txt"_s));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("12345");
    text.close();

    QStringList headers;
    QStringList folderRow;
    QStringList fileRow;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        auto* view = dialog->findChild<QTreeView*>(u"treeView"_s);
        QAbstractItemModel* model = view->model();
        // The folder is read on a thread of its own.
        QVERIFY(QTest::qWaitFor([&] { return model->rowCount(view->rootIndex()) == 2; }, 5000));
        for (int column = 0; column < 4; ++column)
            headers << model->headerData(column, Qt::Horizontal).toString();
        for (int row = 0; row < 2; ++row) {
            QStringList texts;
            for (int column = 0; column < 4; ++column)
                texts << model->index(row, column, view->rootIndex()).data().toString();
            (texts[0] == u"数据"_s ? folderRow : fileRow) = texts;
        }
    });
    QtDialogs dialogs;
    QVERIFY(
        dialogs.saveFile(nullptr, u"导出数据"_s, dir.filePath(u"价格.csv"_s), u"所有文件 (*)"_s).isEmpty());

    QCOMPARE(folderRow.value(2), u"文件夹"_s);
    QCOMPARE(fileRow.value(2), u"txt 文件"_s);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QCOMPARE(fileRow.value(3), chinese.toString(QFileInfo(text).lastModified(), QLocale::ShortFormat));
    // Sizes, types and dates, and the headers: no English word but the file's suffix.
    for (const QString& shown : headers + folderRow.mid(1) + fileRow.mid(1))
        QVERIFY2(!hasLatinWord(shown) || shown == u"txt 文件"_s, qPrintable(shown));
}

QTEST_MAIN(QtDialogsTest)
#include "test_qt_dialogs.moc"
