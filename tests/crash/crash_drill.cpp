// Kills the real program (SIGKILL) while its trade drill changes the record
// files and its price history, at random moments and inside commits, and
// after every kill proves that each record file opens and the money records
// agree, and that the price history opens with every change it committed. Also runs it on a
// full disk (a small tmpfs over DataBase/) and on a read-only DataBase/: the
// record-file message shows, nothing is reported as done, nothing is lost.
//
//   aurivex-crash-drill [kills] [seed]      (under an X display)
// Needs AURIVEX_PROGRAM_DIR and AURIVEX_TOOLS_DIR, as the end-to-end tests.
#include "core/app_dir.h"
#include "history/history_store.h"
#include "history/price_history.h"
#include "ledger/ledger_book.h"
#include "program_run.h"
#include "records/passwords.h"
#include "trading/account_book.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QThread>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString kRecordMessage = u"数据库打开失败，请重新运行软件！"_s;

bool near(double a, double b) {
    return std::abs(a - b) < 0.011;
}

// Empty when every record file opens and the records agree; else what is wrong.
QString checkFiles(const QString& programDir) {
    appdir::set(programDir);
    using namespace recordpasswords;
    const struct {
        QString file, password;
        QList<RecordFile::Field> fields;
    } files[] = {{kPropertyFile, propertyPassword(), propertyFields()},
                 {kTransactionFile, {}, transactionFields()},
                 {kLedgerFile, {}, ledgerFields()},
                 {kNewsFile, newsPassword(), newsFields()}};
    for (const auto& f : files) {
        RecordFile file;
        if (!file.open(appPath(f.file), f.password, f.fields) || !file.close())
            return f.file + u" does not open"_s;
    }
    // A journal left after the opens must be one SQLite ignores: empty, or
    // starting with a zero byte (a kill before its header was written).
    const QDir base(appPath(u"DataBase"_s));
    for (const QString& name : base.entryList({u"*-journal"_s}, QDir::Files)) {
        QFile journal(base.filePath(name));
        if (journal.open(QIODevice::ReadOnly) && journal.size() > 0 && journal.read(1) != QByteArray(1, '\0'))
            return u"a live journal left behind after opening: "_s + name;
    }

    const accountbook::Reading account = accountbook::readAccount();
    const auto trades = accountbook::readTrades();
    if (account.status != accountbook::Status::Done || !trades)
        return u"the account or its trades do not read"_s;
    double cash = account.account.capital;
    int held = 0;
    for (const accountbook::TradeRow& t : *trades) {
        const bool buy = t.type == u"买入"_s;
        if ((!buy && t.type != u"卖出"_s) || t.grams < 1 || !t.time.isValid() ||
            !near(t.amount, t.price * t.grams))
            return u"a half-written trade: %1 %2 g at %3"_s.arg(t.type).arg(t.grams).arg(t.price);
        cash += buy ? -t.amount : t.amount;
        held += buy ? t.grams : -t.grams;
    }
    if (!near(cash, account.account.cash) || held != account.account.held)
        return u"the account (%1 yuan, %2 g) disagrees with its %3 trades (%4 yuan, %5 g)"_s
            .arg(account.account.cash)
            .arg(account.account.held)
            .arg(trades->size())
            .arg(cash)
            .arg(held);

    const auto entries = ledger::readLedger(appPath(kLedgerFile));
    if (!entries)
        return u"the ledger does not read"_s;
    int holding = 0;
    for (qsizetype i = 0; i < entries->size(); ++i) {
        const ledger::Entry& e = entries->at(i);
        const bool buy = e.type == ledger::kBuy;
        if ((!buy && e.type != ledger::kSell) || e.grams < 1 || !e.time.isValid() ||
            !near(e.amount, e.price * e.grams))
            return u"a half-written ledger entry at %1"_s.arg(i + 1);
        holding += buy ? e.grams : -e.grams;
        if (e.held != holding)
            return u"ledger entry %1 holds %2 g, its entries make %3 g"_s.arg(i + 1).arg(e.held).arg(holding);
    }
    return {};
}

// Everything the files hold, to compare before and after a run that must change nothing.
QString contents(const QString& programDir) {
    appdir::set(programDir);
    QString text;
    const accountbook::Reading account = accountbook::readAccount();
    text += u"%1 %2 %3 %4\n"_s.arg(account.account.bankCode)
                .arg(account.account.capital)
                .arg(account.account.cash)
                .arg(account.account.held);
    for (const auto& t : accountbook::readTrades().value_or(QList<accountbook::TradeRow>{}))
        text += u"%1 %2 %3 %4\n"_s.arg(t.time.toString(Qt::ISODate), t.type).arg(t.grams).arg(t.amount);
    for (const auto& e :
         ledger::readLedger(appPath(recordpasswords::kLedgerFile)).value_or(QList<ledger::Entry>{}))
        text += u"%1 %2 %3 %4 %5\n"_s.arg(e.time.toString(Qt::ISODate), e.type)
                    .arg(e.grams)
                    .arg(e.amount)
                    .arg(e.held);
    return text;
}

void setDrillEnvironment(quint32 seed, const QString& killAt, int spared) {
    qputenv("AURIVEX_TRADE_DRILL", QByteArray::number(seed));
    if (killAt.isEmpty()) {
        qunsetenv("LD_PRELOAD");
        qunsetenv("AURIVEX_KILL_AT_UNLINK");
        return;
    }
    qputenv("LD_PRELOAD", AURIVEX_KILL_AT_UNLINK_LIBRARY);
    qputenv("AURIVEX_KILL_AT_UNLINK", killAt.toUtf8());
    qputenv("AURIVEX_KILL_AT_UNLINK_AFTER", QByteArray::number(spared));
}

// Reads the program's output until `line` shows; false after `ms`.
bool waitForOutput(QProcess& program, QByteArray& output, const QByteArray& line, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!output.contains(line) && !deadline.hasExpired() && program.state() != QProcess::NotRunning) {
        program.waitForReadyRead(50);
        output += program.readAllStandardOutput();
    }
    output += program.readAllStandardOutput();
    return output.contains(line);
}

struct Tally {
    int randomKills = 0, commitKills = 0, steps = 0;
    qint64 historyChanges = 0; // what the price history held after the last kill
    qint64 historyKept = 0;    // changes the drills reported committed, all runs
};

// The price history after a kill: it opens as it is (it would be moved aside
// if it did not read), and holds at least every change a run reported
// committed. Empty when sound.
QString checkHistory(const QString& programDir, const QByteArray& output, Tally& tally) {
    appdir::set(programDir);
    const QString path = appPath(QString::fromLatin1(PriceHistory::kFile));
    qint64 kept = 0;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("aurivex-history kept "))
            kept = std::max(kept, line.mid(21).toLongLong());
    HistoryStore store;
    if (!store.open(path) || QFile::exists(path + u".damaged"_s))
        return u"the price history does not open"_s;
    qint64 changes = 0;
    for (history::Series series : history::kAllSeries)
        changes += store.read(series, 0, std::numeric_limits<qint64>::max()).changes.size();
    if (changes < tally.historyChanges + kept)
        return u"the price history holds %1 changes; it held %2 and %3 more were committed"_s.arg(changes)
            .arg(tally.historyChanges)
            .arg(kept);
    tally.historyChanges = changes;
    tally.historyKept += kept;
    return {};
}

// One kill; an empty text when the files came through it sound.
QString killOnce(ProgramRun& run, int round, quint32 seed, QRandomGenerator& random, Tally& tally) {
    const bool inCommit = round % 2 == 1;
    static const QString places[] = {u"-mj"_s, u"property.edb-journal"_s, u"transactionrecord.edb-journal"_s};
    setDrillEnvironment(seed + quint32(round), inCommit ? places[random.bounded(3)] : QString(),
                        random.bounded(12));
    if (!run.startProgram(QProcess::SeparateChannels))
        return run.error();
    QProcess& program = run.program();
    QByteArray output;
    if (inCommit) {
        program.waitForFinished(60000);
        output += program.readAllStandardOutput();
        if (program.exitStatus() != QProcess::CrashExit)
            return u"the program did not die inside a commit:\n"_s + QString::fromUtf8(output.right(300));
        ++tally.commitKills;
    } else {
        if (!waitForOutput(program, output, "aurivex-drill ", 60000))
            return u"the drill did not start"_s;
        QThread::msleep(random.bounded(400));
        program.kill();
        program.waitForFinished(10000);
        output += program.readAllStandardOutput();
        ++tally.randomKills;
    }
    tally.steps += int(output.count("aurivex-drill "));
    if (output.contains(" failed"))
        return u"a drill step failed with the disk sound"_s;
    const QString problem = checkFiles(run.programDir());
    return problem.isEmpty() ? checkHistory(run.programDir(), output, tally) : problem;
}

// Runs the drill with DataBase/ made full (`mountDataBase` "tmpfs") or
// read-only ("ro") inside a mount namespace of its own.
QString brokenDisk(ProgramRun& run, const QString& how) {
    const QString dir = run.programDir();
    const QString before = contents(dir);
    const QString kept = dir + u"/../kept-"_s + how;
    // The tmpfs holds the files and is then filled up; its contents are copied
    // out once the program is gone, for checking.
    const QString script = uR"(set -e
db="$1/DataBase"; kept="$2/DataBase"; how="$3"; shift 3
mkdir -p "$kept"; cp -a "$db/." "$kept/"
if [ "$how" = tmpfs ]; then
  mount -t tmpfs -o size=1m tmpfs "$db"; cp -a "$kept/." "$db/"
  dd if=/dev/zero of="$db/filler" bs=1k 2>/dev/null || true
else
  mount --bind -o ro "$db" "$db"
fi
"$@" & echo "aurivex-pid $!"
wait $! 2>/dev/null || true
rm -f "$db/filler"; cp -a "$db/." "$kept/"
)"_s;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"AURIVEX_STATE_DUMP"_s, dir + u"/../state-"_s + how + u".json"_s);
    env.insert(u"AURIVEX_TRADE_DRILL"_s, u"7"_s);
    env.remove(u"LD_PRELOAD"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(u"unshare"_s,
                  {u"-rm"_s, u"sh"_s, u"-c"_s, script, u"sh"_s, dir, kept, how, dir + u"/Aurivex"_s});
    QByteArray output;
    if (!waitForOutput(program, output, " failed", 60000))
        return u"no step failed on a %1 DataBase/: "_s.arg(how) + QString::fromUtf8(output.right(300));
    const qint64 pid = output.mid(output.indexOf("aurivex-pid ") + 12).split('\n').first().toLongLong();
    const QString dumpPath = env.value(u"AURIVEX_STATE_DUMP"_s);
    const auto messageShown = [&] {
        QFile dump(dumpPath);
        return dump.open(QIODevice::ReadOnly) && dump.readAll().contains(kRecordMessage.toUtf8());
    };
    const QDeadlineTimer deadline(20000);
    while (!messageShown() && !deadline.hasExpired())
        QThread::msleep(100);
    const bool shown = messageShown();
    if (pid > 0)
        ::kill(pid_t(pid), SIGKILL);
    program.waitForFinished(20000);
    output += program.readAllStandardOutput();
    if (!shown)
        return u"the record-file message did not show on a %1 DataBase/"_s.arg(how);
    if (output.contains(" done"))
        return u"a step was reported as done on a %1 DataBase/"_s.arg(how);
    const QString problem = checkFiles(kept);
    if (!problem.isEmpty())
        return problem;
    if (contents(kept) != before)
        return u"the files changed on a %1 DataBase/"_s.arg(how);
    return {};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int kills = args.size() > 1 ? args[1].toInt() : 20;
    const quint32 seed = args.size() > 2 ? args[2].toUInt() : QRandomGenerator::global()->generate();
    std::printf("crash drill: %d kills, seed %u\n", kills, seed);
    QRandomGenerator random(seed);
    ProgramRun run;
    if (!run.prepare()) {
        std::fprintf(stderr, "crash drill: %s\n", qPrintable(run.error()));
        return 2;
    }
    Tally tally;
    for (int round = 0; round < kills; ++round) {
        const QString problem = killOnce(run, round, seed, random, tally);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "crash drill: after kill %d (seed %u): %s\n", round + 1, seed,
                         qPrintable(problem));
            return 1;
        }
        if ((round + 1) % 50 == 0)
            std::printf("%d kills, files sound\n", round + 1);
    }
    std::printf(
        "%d kills at random moments, %d inside a commit, %d drill steps: every file opens and agrees\n",
        tally.randomKills, tally.commitKills, tally.steps);
    std::printf("price history: %lld changes committed by the drills, all there after the kills\n",
                static_cast<long long>(tally.historyKept));
    // Containers often allow no user namespaces: then these two are left out, and said so.
    if (QProcess::execute(u"unshare"_s, {u"-rm"_s, u"true"_s}) != 0) {
        std::printf("no mount namespace here (unshare -rm): full and read-only DataBase/ not run\n");
        return 0;
    }
    for (const QString& how : {u"tmpfs"_s, u"ro"_s}) {
        const QString problem = brokenDisk(run, how);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "crash drill: %s\n", qPrintable(problem));
            return 1;
        }
    }
    std::printf("full and read-only DataBase/: the record-file message, nothing done, nothing lost\n");
    return 0;
}
