// SPDX-License-Identifier: MIT
// The dice tray over a history of 100,000 rolls: opening it, a roll from the
// Enter key to the entry painted (also while another process holds the
// file), and a roll appended to the store alone;
// then the memory the long history costs over an empty one, and the longest
// the window stops answering while the chances of slow dice are worked out. Runs on the
// offscreen platform, so the window is laid out and painted without a display.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "quiet_platform_services.h"
#include "ui/model/dice_tray_model.h"
#include "ui/windows/dice_tray_window.h"

namespace {

using namespace alearo;

constexpr int kStoredRolls = 100000;

QuietPlatformServices g_services;
QTemporaryDir* g_full;   // a data folder holding kStoredRolls rolls
QTemporaryDir* g_empty;  // one holding none

// kStoredRolls rolls of 2d20kh1+5 with a label, written in one go.
void FillHistory(const QString& folder) {
    { TrayStore made(folder); }  // the schema
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(QDir(folder).filePath(QLatin1String(TrayStore::kFileName)));
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("BEGIN"));
        query.exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO history (time, label, expression, total, dice, spoken, at_least, "
                "at_most) "
                "SELECT '2026-12-07T10:00:00.000Z', 'Longsword attack', '2d20kh1+5', 5 + i % 20, "
                "'22 = [17 (15)] + 5', 'Longsword attack, 2d20kh1+5: 22. Dice 17 and 15, the 15 "
                "dropped.', 0.36, 0.72 FROM n")
                .arg(kStoredRolls));
        query.exec(QStringLiteral("COMMIT"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

// A shown tray, once its store has opened the file and read the newest rolls, painted.
struct OpenTray {
    explicit OpenTray(const QString& folder) : model(folder), window(model, g_services, nullptr) {
        window.show();
        const HistoryModel& history = *model.history();
        const bool shown = QTest::qWaitFor([&] {
            return model.storeOpened() &&
                   (history.rowCount() == 0 ||
                    !history.entry(history.rowCount() - 1).expression.isEmpty());
        });
        if (!shown) {
            std::fprintf(stderr, "the tray did not open\n");
            std::exit(1);
        }
        window.findChild<QListView*>(QStringLiteral("historyView"))->viewport()->repaint();
    }
    DiceTrayModel model;
    DiceTrayWindow window;
};

void BM_OpenTray(benchmark::State& state) {
    for (auto _ : state) {
        auto tray = std::make_unique<OpenTray>(g_full->path());
        state.PauseTiming();  // closing is not part of opening
        tray.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTray)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RollFromKeyToEntryShown(benchmark::State& state) {
    OpenTray tray(g_full->path());
    auto* expression = tray.window.findChild<QLineEdit*>(QStringLiteral("expressionEdit"));
    auto* history = tray.window.findChild<QListView*>(QStringLiteral("historyView"));
    expression->setText(QStringLiteral("2d20kh1+5"));
    for (auto _ : state) {
        QTest::keyClick(expression, Qt::Key_Return);
        history->viewport()->repaint();
        // The store's answer to the roll before, as the event loop takes it
        // between two keys.
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RollFromKeyToEntryShown)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AppendRoll(benchmark::State& state) {
    TrayStore store(g_full->path());
    HistoryEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.label = QStringLiteral("Longsword attack");
    entry.expression = QStringLiteral("2d20kh1+5");
    entry.total = 22;
    entry.dice = QStringLiteral("22 = [17 (15)] + 5");
    entry.spoken = QStringLiteral("Longsword attack, 2d20kh1+5: 22.");
    entry.setChances({0.36, 0.72});
    for (auto _ : state) {
        store.append(entry);
    }
}
BENCHMARK(BM_AppendRoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Holds the write lock of the file of rolls in `folder` for `seconds`, as
// another program would, in a process of its own: says "held" once it holds it.
int HoldTheFile(const QString& folder, int seconds) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QDir(folder).filePath(QLatin1String(TrayStore::kFileName)));
    if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    QThread::sleep(static_cast<unsigned long>(seconds));
    QSqlQuery(db).exec(QStringLiteral("COMMIT"));
    return 0;
}

// From the Enter key to the entry painted, as above, while another process
// holds the file's write lock for ten seconds: the longest of the rolls.
void BM_RollWhileAnotherHoldsTheFile(benchmark::State& state) {
    constexpr int kHeldSeconds = 10;
    OpenTray tray(g_full->path());
    auto* expression = tray.window.findChild<QLineEdit*>(QStringLiteral("expressionEdit"));
    auto* history = tray.window.findChild<QListView*>(QStringLiteral("historyView"));
    expression->setText(QStringLiteral("2d20kh1+5"));
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--hold"), g_full->path(), QString::number(kHeldSeconds)});
    if (!holder.waitForReadyRead() || !holder.readAll().startsWith("held")) {
        state.SkipWithError("no other process could hold the file");
        return;
    }
    double longest = 0.0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(expression, Qt::Key_Return);
        history->viewport()->repaint();
        longest = std::max(longest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    state.counters["longest_ms"] = longest;
    holder.waitForFinished((kHeldSeconds + 5) * 1000);
}
BENCHMARK(BM_RollWhileAnotherHoldsTheFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(200);

// The longest wait of the window's event loop while the chances of the dice
// the parser takes that are slowest to work out (the slowest the search of
// the adversarial bench found) are worked out, in a tray
// that has not worked them out before: from the roll's entry painted to the
// entry painted with its chances. A timer due every millisecond tells how late
// it comes.
void BM_LongestStallWhileChancesComeIn(benchmark::State& state) {
    double longest = 0.0;
    for (auto _ : state) {
        OpenTray tray(g_empty->path());
        auto* expression = tray.window.findChild<QLineEdit*>(QStringLiteral("expressionEdit"));
        expression->setText(QStringLiteral(
            "50d1000+50d999+50d998+50d997+50d996+50d995+50d994+50d993+50d992+50d991"));
        QTest::keyClick(expression, Qt::Key_Return);
        QCoreApplication::processEvents();  // the window's first paint, and the roll's
        QElapsedTimer clock;
        qint64 last = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, static_cast<double>(clock.nsecsElapsed() - last) / 1e6);
            last = clock.nsecsElapsed();
        });
        ticker.start(1);
        clock.start();
        const HistoryModel& history = *tray.model.history();
        while (!history.entry(history.rowCount() - 1).chancesKnown()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        QCoreApplication::processEvents();  // the entry painted with them
        longest = std::max(longest, static_cast<double>(clock.nsecsElapsed() - last) / 1e6);
    }
    state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_LongestStallWhileChancesComeIn)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// The heap in use, large blocks (which malloc maps on their own) included.
double HeapMiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// The heap a shown tray over `folder` takes.
double HeapWithTrayMiB(const QString& folder) {
    const double before = HeapMiB();
    const OpenTray tray(folder);
    return HeapMiB() - before;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string_view(argv[1]) == "--hold") {
        const QCoreApplication holding(argc, argv);
        return HoldTheFile(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir full, empty;
    g_full = &full;
    g_empty = &empty;
    FillHistory(full.path());
    HeapWithTrayMiB(empty.path());  // what only the first window pays (fonts, styles) aside
    const double emptyHeap = HeapWithTrayMiB(empty.path());
    const double fullHeap = HeapWithTrayMiB(full.path());
    std::printf(
        "heap with the tray open: %.2f MiB over %d rolls, %.2f MiB over none: %.2f MiB more\n",
        fullHeap, kStoredRolls, emptyHeap, fullHeap - emptyHeap);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
