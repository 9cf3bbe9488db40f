// SPDX-License-Identifier: MIT
#include <QAbstractItemModelTester>
#include <QFile>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <csignal>
#include <set>

#include <gmock/gmock.h>

#include "await_chances.h"
#include "child_process.h"
#include "dice/parse.h"
#include "dice/roll_text.h"
#include "test_files.h"
#include "tray_waits.h"
#include "ui/model/dice_tray_model.h"
#include "ui/model/roll_sentence.h"

namespace alearo {
namespace {

using testing::HasSubstr;
using Tray = ScratchFolder;
using Clash = DiceTrayModel::Clash;

constexpr auto kFatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

QString Names(const SavedRollsModel& saved) {
    QStringList names;
    for (const SavedRoll& roll : saved.rolls()) {
        names << roll.name + QLatin1Char('=') + roll.expression;
    }
    return names.join(QLatin1Char(' '));
}

// The saved rolls a tray opened on `folder` shows.
QString StoredNames(const char* folder) {
    DiceTrayModel tray(QString::fromLatin1(folder));
    return AwaitOpened(tray) ? Names(*tray.saved()) : QStringLiteral("(not opened)");
}

// Every story a die can have, as one sentence for screen readers and as
// the text of a listing, rolled from fixed seeds and pinned in a golden file.
TEST(RollStory, IsToldAsOneSentenceAndAsText) {
    std::string told;
    for (const char* text :
         {"2d20kh1+5", "4d6dl1", "3d6!", "4d6r1", "4d6ro<3", "3d6min3", "4d8max5", "6d10>=8",
          "2d20kl1", "5dF", "2d6!+1d4-3", "3d10r10!", "5d6kh2>=3", "1d20+5 vs 15", "1d20 vs <=8",
          "2d6+3 vs 2d6-1d4", "4d6>=5 vs 2d6>=5"}) {
        const dice::Expression expression = *dice::ParseExpression(text).expression;
        dice::Generator generator(7);
        for (int i = 0; i < 3; ++i) {
            const dice::RollResult roll = dice::Roll(expression, generator);
            told += RollSentence(QStringLiteral("Label"), expression, roll).toStdString() + "\n  " +
                    dice::RollText(expression, roll) + "\n";
        }
    }
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/roll_stories.txt", told);
    // A high total is rare at the top: its chance of at least it is small.
    // The chance of a verdict is that of the one that came.
    HistoryEntry entry;
    entry.setChances({0.08, 0.95, 0.55, 0, 0.45});
    EXPECT_EQ(HistoryModel::ChancesText(entry).toStdString(), "top 8%, bottom 95%");
    for (const auto& [verdict, told] : std::vector<std::pair<dice::Verdict, std::string>>{
             {dice::Verdict::kHit, "55% to hit"},
             {dice::Verdict::kMiss, "45% to miss"},
             {dice::Verdict::kTie, "win 55%, tie 0%, loss 45%"}}) {
        entry.verdict = verdict;
        EXPECT_EQ(HistoryModel::ChancesText(entry).toStdString(), told);
    }
}

// A roll of what is typed: its entry, its chances from the exact chances,
// what is announced, and the completions.
TEST_F(Tray, RollsWhatIsTypedAndKeepsItsChances) {
    DiceTrayModel tray(QStringLiteral("data"));
    QAbstractItemModelTester tester(tray.history(), kFatal);
    QSignalSpy rolled(&tray, &DiceTrayModel::rolled);
    QSignalSpy inserted(tray.history(), &QAbstractItemModel::rowsInserted);

    for (const char* typed : {" 1d20 ", "1d1+4", "1D20"}) {
        ASSERT_TRUE(tray.roll(QString::fromLatin1(typed), QStringLiteral("Check")));
    }
    AwaitChances();
    ASSERT_EQ(inserted.count(), 3);
    EXPECT_EQ(rolled.count(), 3);
    EXPECT_EQ(tray.recentExpressions()->stringList().join(' '), QLatin1String("1D20 1d1+4 1d20"));
    ASSERT_TRUE(AwaitTaken(*tray.history()));
    for (const int row : {0, 2}) {
        const HistoryEntry entry = ShownEntry(*tray.history(), row);
        EXPECT_EQ(entry.expression, QLatin1String("1d20"));
        EXPECT_DOUBLE_EQ(entry.atLeast, (21 - entry.total) / 20.0);
        EXPECT_DOUBLE_EQ(entry.atMost, entry.total / 20.0);
    }
    // Chances that came after the roll: in its sentence and its copy, with
    // the time it shows, and not announced.
    const QModelIndex certain = tray.history()->index(1);
    EXPECT_EQ(certain.data(Qt::AccessibleTextRole).toString().toStdString(),
              "Check, 1d1+4: 5. Die 1. Chances: top 100%, bottom 100%.");
    EXPECT_EQ(tray.entryText(1).toStdString(),
              certain.data().toString().section("  ", 0, 0).toStdString() +
                  " Check 1d1+4: 5 = [1] + 4 (top 100%, bottom 100%)");

    // Chances slow to come: the roll shows at once, then says they are
    // awaited, then shows them; a tray closed meanwhile is left alone.
    const auto shown = [&tray] { return tray.history()->index(3).data().toString(); };
    {
        HeldWorkers held;
        ASSERT_TRUE(tray.roll(QStringLiteral("3d8"), {}));
        EXPECT_FALSE(tray.history()->entry(3).chancesKnown());
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown().endsWith("chances\u2026"); }));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown().contains(" bottom "); }));
    EXPECT_FALSE(tray.busy());
    std::make_unique<DiceTrayModel>(QStringLiteral("gone"))
        ->roll(QStringLiteral("100d100ro1kh50"), {});
    AwaitChances();
}

// A roll against a target or an opponent: its verdict agrees with its
// totals, is said in its sentence, shown with the odds, copied, kept in the
// file and exported in the columns at the end. 1d6 vs 1d6: 15 wins, 6 ties
// and 15 losses of 36.
TEST_F(Tray, TellsHowARollAgainstATargetOrAnOpponentCameOut) {
    constexpr int kRolls = 40;
    {
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray));
        // The last with its odds known as it is written.
        for (int i = 0; i < kRolls; ++i) {
            if (i == kRolls - 1) {
                AwaitChances();
            }
            ASSERT_TRUE(tray.roll(QStringLiteral("1d6 VS 1d6"), {}));
        }
        ASSERT_TRUE(tray.roll(QStringLiteral("1d4+1 vs 5"), QStringLiteral("Save")));
        AwaitChances();
        ASSERT_TRUE(AwaitTaken(*tray.history()));
    }
    DiceTrayModel tray(QStringLiteral("data"));
    ASSERT_TRUE(AwaitOpened(tray));
    std::set<std::string> seen;
    for (int row = 0; row < kRolls; ++row) {
        const HistoryEntry entry = ShownEntry(*tray.history(), row);
        const int us = entry.total;
        const int them = entry.opponentTotal;
        const std::string verdict = us > them ? "win" : us == them ? "tie" : "loss";
        seen.insert(verdict);
        const std::string told =
            tray.history()->index(row).data(Qt::AccessibleTextRole).toString().toStdString();
        EXPECT_EQ(told, "1d6 vs 1d6: " + std::to_string(us) + " against " + std::to_string(them) +
                            ", " + verdict + ". Die " + std::to_string(us) +
                            "; the opponent's die " + std::to_string(them) +
                            ". Chances: win 42%, tie 17%, loss 42%.");
        EXPECT_THAT(tray.history()->index(row).data().toString().toStdString(),
                    HasSubstr(" = " + std::to_string(us) + " vs " + std::to_string(them) + ", " +
                              verdict + "\n"));
    }
    EXPECT_EQ(seen.size(), 3u);
    const HistoryEntry save = ShownEntry(*tray.history(), kRolls);
    EXPECT_EQ(save.verdict, save.total == 5 ? dice::Verdict::kHit : dice::Verdict::kMiss);
    EXPECT_THAT(tray.entryText(kRolls).toStdString(),
                HasSubstr(save.total == 5 ? ", hit (25% to hit)" : ", miss (75% to miss)"));
    QSignalSpy exported(&tray, &DiceTrayModel::historyExported);
    tray.exportHistory(QStringLiteral("h.csv"));
    ASSERT_TRUE(exported.wait());
    const std::string csv = ReadFile("h.csv");
    EXPECT_THAT(csv,
                HasSubstr(",1d6 vs 1d6," + std::to_string(ShownEntry(*tray.history(), 0).total)));
    EXPECT_THAT(csv, HasSubstr(std::to_string(ShownEntry(*tray.history(), 0).opponentTotal) +
                               ",0.41666666667,0.16666666667,0.41666666667\r\n"));
    EXPECT_THAT(csv,
                testing::ContainsRegex(",Save,1d4\\+1 vs 5,[2-5],\\[[1-4]\\] \\+ 1,(hit|miss),,"
                                       "0.25,0,0.75\r\n$"));
}

// A long history opens at its newest rolls, fetches older ones on demand,
// reads every page back in order after a restart, and prunes the oldest.
TEST_F(Tray, ReadsALongHistoryBackAndPrunesTheOldest) {
    {
        TrayStore store(QStringLiteral("data"));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        HistoryEntry entry;
        entry.time = now;
        entry.expression = QStringLiteral("1d6");
        entry.total = 3;
        entry.dice = QStringLiteral("3 = [3]");
        entry.atLeast = entry.atMost = 1;
        for (int i = 0; i < 1500; ++i) {
            entry.label = i == 1450 ? QStringLiteral("say \"hi\"") : QString::number(i);
            store.append(entry);
        }
        EXPECT_EQ(store.prune(1300), 200);
    }
    DiceTrayModel tray(QStringLiteral("data"));
    HistoryModel& history = *tray.history();
    ASSERT_TRUE(AwaitOpened(tray));
    ASSERT_EQ(history.rowCount(), 1024);
    EXPECT_EQ(ShownEntry(history, 0).label, QLatin1String("476"));
    QSignalSpy older(&history, &QAbstractItemModel::rowsInserted);
    QAbstractItemModelTester tester(&history, kFatal);
    history.fetchOlder();
    ASSERT_EQ(history.rowCount(), 1300);
    EXPECT_FALSE(history.canFetchOlder());
    EXPECT_EQ(older.count(), 1);
    for (const int row : {1299, 0, 300, 256, 255, 511, 512, 1024}) {
        EXPECT_EQ(ShownEntry(history, row).label, QString::number(row + 200)) << row;
    }
    TrayStore(QStringLiteral("data")).prune(1200);  // as another Alearo would
    ASSERT_TRUE(tray.roll(QStringLiteral("1d1"), QStringLiteral("Hit, hard")));
    ASSERT_TRUE(AwaitTaken(history));
    ASSERT_EQ(history.rowCount(), 1201);
    EXPECT_EQ(ShownEntry(history, 0).label + ShownEntry(history, 1199).label,
              QLatin1String("3001499"));
    QSignalSpy exported(&tray, &DiceTrayModel::historyExported);
    tray.exportHistory(QStringLiteral("h.csv"));
    ASSERT_TRUE(exported.wait());
    EXPECT_TRUE(exported[0][0].value<Outcome>().ok);
    const QByteArray csv = QByteArray::fromStdString(ReadFile("h.csv"));
    EXPECT_EQ(csv.count("\r\n"), 1202);
    EXPECT_THAT(
        csv.constData(),
        testing::ContainsRegex("^time,label,expression,total,dice,outcome,opponent total,hit or "
                               "win,tie,miss or loss\r\n.*"
                               "Z,\"say \"\"hi\"\"\",1d6,3,\\[3\\],,,,,\r\n.*"
                               "\r\n20[0-9-]{8}T[0-9:]{8}Z,\"Hit, hard\",1d1,1,\\[1\\],,,,,\r\n$"));
}

// A roll the file cannot take for a while (another Alearo holds it past the
// busy timeout) is kept, said, and written with the next roll the file takes.
TEST_F(Tray, WritesWhatAFailedWriteLeftOnceItCan) {
    // Another program holds the file until a write gives up waiting for it.
    const auto whileHeld = [](const std::function<void()>& act) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            other.setDatabaseName(QStringLiteral("data/alearo.sqlite"));
            ASSERT_TRUE(other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE")));
            act();
            QSqlQuery(other).exec(QStringLiteral("COMMIT"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    };
    {
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray));
        QStringList told;
        QObject::connect(&tray, &DiceTrayModel::storeStatusChanged,
                         [&told](const QString& status) { told << status; });
        const auto rollUntilToldWhy = [&tray](const char* label) {
            QSignalSpy toldWhy(&tray, &DiceTrayModel::storeStatusChanged);
            ASSERT_TRUE(tray.roll(QStringLiteral("1d6"), QString::fromLatin1(label)));
            ASSERT_TRUE(toldWhy.wait(10000));
        };
        whileHeld([&] { rollUntilToldWhy("a"); });
        // Without another roll, the tray writes it once the file is free.
        QSignalSpy toldAgain(&tray, &DiceTrayModel::storeStatusChanged);
        ASSERT_TRUE(toldAgain.wait(3 * DiceTrayModel::kPendingRetryMs));
        EXPECT_THAT(told.join('|').toStdString(),
                    testing::MatchesRegex("[^|]*could not write[^|]*\\|[^|]*again.*"));
        ASSERT_EQ(TrayStore(QStringLiteral("data")).historyCount(), 1);
        // And at close, with its chances, which come while it waits.
        whileHeld([&] {
            rollUntilToldWhy("b");
            AwaitChances();
        });
    }
    const std::vector<HistoryEntry> kept = TrayStore(QStringLiteral("data")).history(0, 2);
    ASSERT_EQ(kept.size(), 2U);
    EXPECT_EQ(kept[0].label + kept[1].label, QLatin1String("ab"));
    // Each with its own chances, though both were kept in memory a while.
    EXPECT_TRUE(kept[0].chancesKnown() && kept[1].chancesKnown());
}

// Saved rolls: each change kept at once, Undo, moves by key and by drag.
TEST_F(Tray, KeepsSavedRollsInOrderWithUndo) {
    {
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray));
        SavedRollsModel& saved = *tray.saved();
        QAbstractItemModelTester tester(&saved, kFatal);
        QSignalSpy canUndo(&saved, &SavedRollsModel::canUndoChanged);
        EXPECT_FALSE(tray.saveTyped(QStringLiteral("d"), {}));
        for (const char* name : {"A", "B", "C", "D"}) {
            ASSERT_TRUE(tray.saveTyped(QStringLiteral("1d%1").arg(name[0] - 'A' + 4),
                                       QString::fromLatin1(name)));
        }
        saved.move(0, 2);                        // B C A D
        saved.rename(3, QStringLiteral("Dee"));  // B C A Dee
        saved.setExpression(1, QStringLiteral("2d6"));
        std::unique_ptr<QMimeData> dragged(saved.mimeData({saved.index(3)}));
        saved.dropMimeData(dragged.get(), Qt::MoveAction, 0, 0, {});  // Dee B C A
        dragged.reset(saved.mimeData({saved.index(0)}));
        saved.dropMimeData(dragged.get(), Qt::MoveAction, 2, 0, {});  // B Dee C A
        saved.remove(2);
        saved.remove(0);  // Dee A
        EXPECT_EQ(canUndo.count(), 1);
        saved.undoRemove();  // B Dee A
        EXPECT_EQ(Names(saved), QLatin1String("B=1d5 Dee=1d7 A=1d4"));
    }
    DiceTrayModel again(QStringLiteral("data"));
    ASSERT_TRUE(AwaitOpened(again));
    EXPECT_EQ(Names(*again.saved()), QLatin1String("B=1d5 Dee=1d7 A=1d4"));
}

// Import names each bad entry and takes the rest, asking about each name
// taken; an export reads back the same.
TEST_F(Tray, ImportsWhatPassesAndAsksAboutNamesTaken) {
    DiceTrayModel tray(QStringLiteral("data"));
    ASSERT_TRUE(AwaitOpened(tray));
    for (const char* name : {"Attack", "Damage", "Save"}) {
        tray.saved()->add({QString::fromLatin1(name), QStringLiteral("1d20")});
    }
    std::ofstream("in.json") << R"({"format": "alearo-saved-rolls", "version": 1, "rolls": [
        {"name": "Attack", "expression": "1d20+5"}, {"name": "Damage", "expression": "2d6"},
        {"name": "Save", "expression": "1d4"}, {"name": "", "expression": "1d6"},
        {"name": "Odd", "expression": "2d"}, {"name": "Odd", "expression": 7}, 12,
        {"name": 5, "expression": "1d6"}, {"name": "Odd"}, {"name": "New", "expression": "4d6dl1"}]})";
    QStringList asked;
    const QString report =
        tray.importSaved(
                QStringLiteral("in.json"),
                [&](const SavedRoll& kept, const SavedRoll& imported) {
                    asked << kept.name + QLatin1Char('>') + imported.expression;
                    const Clash choices[] = {Clash::kReplace, Clash::kKeepBoth, Clash::kSkip};
                    return choices[asked.size() - 1];
                })
            .message;
    EXPECT_EQ(asked.join(' '), QLatin1String("Attack>1d20+5 Damage>2d6 Save>1d4"));
    EXPECT_EQ(Names(*tray.saved()),
              QLatin1String("Attack=1d20+5 Damage=1d20 Save=1d20 Damage (2)=2d6 New=4d6dl1"));
    EXPECT_EQ(report.toStdString(),
              "3 saved rolls imported. Not imported:\n"
              "Roll 4 (no name): it has no name\n"
              "Roll 5 (Odd): at column 3 of \"2d\": " +
                  dice::ParseExpression("2d").error.message +
                  "\nRoll 6 (Odd): its expression is not text\n"
                  "Roll 7 (no name): it is not a name with an expression\n"
                  "Roll 8 (no name): its name is not text\nRoll 9 (Odd): it has no expression");

    ASSERT_TRUE(tray.exportSaved(QStringLiteral("out.json")).ok);
    DiceTrayModel other(QStringLiteral("other"));
    ASSERT_TRUE(AwaitOpened(other));
    other.importSaved(QStringLiteral("out.json"), nullptr);
    EXPECT_EQ(Names(*other.saved()), Names(*tray.saved()));
    std::ofstream("newer.json") << R"({"format": "alearo-saved-rolls", "version": 2, "rolls": []})";
    std::ofstream("broken.json") << R"({"format": )";
    std::ofstream("other.json")
        << R"({"format": "x", "rolls": [{"name": "A", "expression": "d6"}]})";
    for (const auto& [file, words] : {std::pair{"newer.json", "newer Alearo"},
                                      {"broken.json", "not a JSON file"},
                                      {"other.json", "not a file of saved rolls"},
                                      {"missing.json", "cannot be read"}}) {
        EXPECT_THAT(tray.importSaved(QString::fromLatin1(file), nullptr).message.toStdString(),
                    HasSubstr(words));
    }
    EXPECT_EQ(tray.saved()->rowCount(), 5);
}

// A file of the first version, as Alearo left it, is brought up to date
// with every roll kept, and each saved roll then changes on its own.
TEST_F(Tray, BringsAFirstVersionFileUpToDate) {
    std::filesystem::create_directory("data");
    std::filesystem::copy_file(ALEARO_GOLDEN_DIR "/tray-v1.sqlite", "data/alearo.sqlite");
    {
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray));
        EXPECT_EQ(tray.storeStatus().toStdString(), "");
        EXPECT_EQ(Names(*tray.saved()),
                  QLatin1String("Longsword=1d20+5 Fireball=8d6 Stats=4d6dl1"));
        ASSERT_EQ(tray.history()->rowCount(), 3);
        const HistoryEntry first = ShownEntry(*tray.history(), 0);
        const HistoryEntry last = ShownEntry(*tray.history(), 2);
        EXPECT_EQ(first.time, QDateTime::fromString("2026-12-01T18:02:03.004Z", Qt::ISODateWithMs));
        EXPECT_EQ(last.label + last.dice, QLatin1String("Damage9 = [1, 5] + 3"));
        EXPECT_DOUBLE_EQ(first.atLeast + first.atMost, 1.05);
        EXPECT_FALSE(last.chancesKnown() || last.verdict || last.oddsKnown());
        tray.renameSaved(1, QStringLiteral("Big fireball"));
        tray.moveSaved(2, 0);
    }
    EXPECT_EQ(ReadFile("data/alearo.sqlite").substr(60, 4), std::string("\0\0\0\3", 4));
    EXPECT_EQ(StoredNames("data"), QLatin1String("Stats=4d6dl1 Longsword=1d20+5 Big fireball=8d6"));
}

// Two Alearos on one tray, the other in a process of its own: each sees
// the other's rolls and saved rolls within a second, and neither's change
// undoes the other's; of two edits of one roll, the later stands.
TEST_F(Tray, SharesOneTrayLiveWithAnotherAlearo) {
    constexpr int kRolls = 20;
    {
        DiceTrayModel first(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(first));
        for (const char* name : {"Old", "Keep1", "Keep2"}) {
            first.saveTyped(QStringLiteral("1d4"), QString::fromLatin1(name));
        }
    }
    int go[2];
    int done[2];
    ASSERT_TRUE(::pipe(go) == 0 && ::pipe(done) == 0);
    char step = 0;
    const QString shared = QStringLiteral("Renamed=1d4 Keep1=3d3 Keep2=2d2 Alpha=1d20");
    const pid_t other = ::fork();
    // Each side keeps only its own ends, so that a side that ends early is
    // read as the end of its pipe rather than waited for.
    ::close(other == 0 ? go[1] : go[0]);
    ::close(other == 0 ? done[0] : done[1]);
    // The other says how far it got by its exit status. Waits are long: the
    // two share the processor with the rest of the suite.
    constexpr int kPatience = 30000;
    if (other == 0) {
        int failed = 0;
        {
            DiceTrayModel tray(QStringLiteral("data"));
            failed = !AwaitOpened(tray, kPatience) ? 3 : ::read(go[0], &step, 1) != 1 ? 4 : 0;
            tray.saveTyped(QStringLiteral("1d20"), QStringLiteral("Alpha"));
            tray.editSaved(2, QStringLiteral("2d2"));
            tray.editSaved(1, QStringLiteral("1d1"));
            for (int i = 0; i < kRolls && failed == 0; ++i) {
                failed = tray.roll(QStringLiteral("1d6"), QStringLiteral("theirs")) &&
                                 AwaitTaken(*tray.history(), kPatience)
                             ? 0
                             : 5;
            }
            if (failed == 0 && (::write(done[1], "d", 1) != 1 || ::read(go[0], &step, 1) != 1)) {
                failed = 6;
            }
        }
        ::_exit(failed);
    }
    // Not left waiting for a word that never comes, whatever fails here.
    const auto ended = qScopeGuard([other] {
        ::kill(other, SIGKILL);
        ::waitpid(other, nullptr, 0);
    });
    {
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray, kPatience) && ::write(go[1], "g", 1) == 1);
        for (int i = 0; i < kRolls; ++i) {  // as the other rolls too
            ASSERT_TRUE(tray.roll(QStringLiteral("1d6"), QStringLiteral("ours")) &&
                        AwaitTaken(*tray.history(), kPatience));
        }
        int status = -1;
        ASSERT_EQ(::read(done[0], &step, 1), 1)
            << "the other ended with " << (::waitpid(other, &status, 0), status);
        tray.renameSaved(0, QStringLiteral("Renamed"));  // as this one still lists them
        tray.editSaved(1, QStringLiteral("3d3"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Names(*tray.saved()) == shared; }, kPatience))
            << Names(*tray.saved()).toStdString();
        // Every roll of both, in the order they were written.
        const auto labels = [](const std::vector<HistoryEntry>& entries) {
            QString text;
            for (const HistoryEntry& entry : entries) {
                text += entry.label.left(1);
            }
            return text;
        };
        const QString stored = labels(TrayStore(QStringLiteral("data")).history(0, 2 * kRolls));
        EXPECT_EQ(stored.count(QLatin1Char('t')), kRolls);
        QString shown;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                std::vector<HistoryEntry> entries;
                for (int row = 0; row < tray.history()->rowCount(); ++row) {
                    entries.push_back(tray.history()->entry(row));
                }
                shown = labels(entries);
                return shown == stored;
            },
            kPatience))
            << shown.toStdString() << " shown, " << stored.toStdString() << " stored";
    }
    int status = -1;
    ASSERT_TRUE(::write(go[1], "q", 1) == 1 && ::waitpid(other, &status, 0) == other);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(StoredNames("data"), shared);
}

// Saved rolls that cannot be read are said so, and refuse changes rather
// than have them written over the rolls stored, until they can be read.
TEST_F(Tray, RefusesChangesToSavedRollsItCannotRead) {
    const auto renameTable = [](const char* from, const char* to) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
            other.setDatabaseName(QStringLiteral("data/alearo.sqlite"));
            ASSERT_TRUE(other.open() &&
                        QSqlQuery(other).exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2")
                                                  .arg(QLatin1String(from), QLatin1String(to))));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    };
    {
        DiceTrayModel first(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(first) &&
                    first.saveTyped(QStringLiteral("1d6"), QStringLiteral("Kept")));
    }
    renameTable("saved", "hidden");
    {
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray));
        EXPECT_THAT(tray.storeStatus().toStdString(), HasSubstr("saved rolls cannot be read"));
        EXPECT_FALSE(tray.saveTyped(QStringLiteral("1d8"), QStringLiteral("Lost")));
        EXPECT_EQ(tray.saved()->rowCount(), 0);
        renameTable("hidden", "saved");
        ASSERT_TRUE(QTest::qWaitFor([&] { return tray.saved()->rowCount() == 1; },
                                    3 * DiceTrayModel::kPendingRetryMs));
        EXPECT_THAT(tray.storeStatus().toStdString(), HasSubstr("read again"));
        ASSERT_TRUE(tray.saveTyped(QStringLiteral("1d8"), QStringLiteral("New")));
    }
    EXPECT_EQ(StoredNames("data"), QLatin1String("Kept=1d6 New=1d8"));
}

// A new file another program holds as the tray opens: the rolls wait in
// memory and go to the file once it is free, with no other roll.
TEST_F(Tray, TakesAFileHeldAtTheStartOnceItIsFree) {
    std::filesystem::create_directory("data");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        other.setDatabaseName(QStringLiteral("data/alearo.sqlite"));
        ASSERT_TRUE(other.open() && other.transaction() &&
                    QSqlQuery(other).exec(QStringLiteral("CREATE TABLE held (x)")));
        DiceTrayModel tray(QStringLiteral("data"));
        ASSERT_TRUE(AwaitOpened(tray));
        EXPECT_THAT(tray.storeStatus().toStdString(), HasSubstr("Another program holds"));
        ASSERT_TRUE(tray.roll(QStringLiteral("1d6"), QStringLiteral("waited")));
        EXPECT_FALSE(tray.saveTyped(QStringLiteral("1d4"), {}));
        other.rollback();
        other.close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return tray.storeStatus().contains("again"); },
                                    3 * DiceTrayModel::kPendingRetryMs));
        EXPECT_EQ(ShownEntry(*tray.history(), 0).label, QLatin1String("waited"));
        // The message comes just before the rolls the file holds.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !tray.saved()->unreadable(); }));
        EXPECT_TRUE(tray.saveTyped(QStringLiteral("1d4"), {}));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    TrayStore store(QStringLiteral("data"));
    ASSERT_EQ(store.historyCount(), 1);
    EXPECT_EQ(store.history(0, 1)[0].label, QLatin1String("waited"));
}

}  // namespace
}  // namespace alearo
