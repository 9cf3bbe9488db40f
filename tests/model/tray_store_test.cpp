// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <algorithm>
#include <csignal>

#include <gmock/gmock.h>

#include "child_process.h"
#include "tray_waits.h"
#include "ui/model/dice_tray_model.h"

namespace alearo {
namespace {

namespace fs = std::filesystem;

using TrayStoreFault = ScratchFolder;

// Writes `bytes` over the database's own at `offset`, as a fault of the disk
// or another program would.
void Overwrite(std::streamoff offset, const std::string& bytes) {
    std::fstream file("data/alearo.sqlite", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset) << bytes;
}

// A history of `rolls` rolls of 1d6, made as the program makes one.
void MakeHistory(int rolls) {
    DiceTrayModel tray(QStringLiteral("data"));
    ASSERT_TRUE(AwaitOpened(tray));
    for (int i = 0; i < rolls; ++i) {
        ASSERT_TRUE(tray.roll(QStringLiteral("1d6"), QStringLiteral("roll %1").arg(i)));
    }
}

// Rolls by a process that ends without closing the file: their journal is
// left beside it, not yet folded in.
void LeaveAJournal() {
    const pid_t child = ::fork();
    if (child == 0) {
        auto* tray = new DiceTrayModel(QStringLiteral("data"));  // never closed
        for (int i = 0; i < 50; ++i) {
            tray->roll(QStringLiteral("1d6"), {});
        }
        ::_exit(AwaitTaken(*tray->history()) ? 0 : 4);
    }
    ::waitpid(child, nullptr, 0);
}

void FillTheDisk() {
    std::ofstream fill("data/fill");
    while (fill << std::string(4096, 'f') << std::flush) {
    }
}

// Every fault as a normal user: what the player is told, that rolling goes
// on (in memory when the file cannot take it), and that the file found is
// kept as it was, put aside if it cannot be read.
TEST_F(TrayStoreFault, TellsThePlayerKeepsTheFileAndRollsOn) {
    // what is tried, how it is set up as a normal user (on a small disk of
    // its own when it says "disk"), what happens while the
    // tray is open, the words of the message, whether the file is put aside
    using Step = std::function<void()>;
    constexpr std::streamoff kUserVersion = 60;  // where the header keeps PRAGMA user_version
    // clang-format off
    const std::tuple<const char*, Step, Step, const char*, bool> rows[] = {
        {"no folder can be made", [] { fs::permissions(".", fs::perms(0555)); }, nullptr, "cannot be made", false},
        {"the folder is read-only", [] { fs::create_directory("data"), fs::permissions("data", fs::perms(0555)); }, nullptr, "cannot use", false},
        {"not a database", [] { fs::create_directory("data"), std::ofstream("data/alearo.sqlite") << "my notes"; }, nullptr, "put aside as", true},
        {"damaged in the middle", [] { MakeHistory(300), LeaveAJournal(), Overwrite(6 * 4096 + 100, std::string(3000, '\xee')); }, nullptr, "put aside as", true},
        {"a newer version", [] { MakeHistory(2), Overwrite(kUserVersion, std::string("\0\0\0\7", 4)); }, nullptr, "newer Alearo", false},
        {"a full disk", [] { MakeHistory(1), FillTheDisk(); }, nullptr, "cannot use data/alearo.sqlite (the disk is full)", false},
        {"the disk fills", [] { MakeHistory(1); }, FillTheDisk, "could not write to data/alearo.sqlite (the disk is full)", false},
    };
    // clang-format on
    fs::permissions(".", fs::perms(0755));  // SQLite opens files by their full path
    for (const auto& row : rows) {
        SCOPED_TRACE(std::get<0>(row));
        RunInChild([&] {
            const auto& [what, setUp, whileOpen, words, putAside] = row;
            fs::create_directory(what);
            fs::current_path(what);
            if (std::string_view(what).find("disk") == std::string_view::npos) {
                ASSERT_TRUE(BecomeNobody());
            } else if (!MountSmallDisk("data", "96k")) {
                GTEST_SKIP() << "no user namespace to mount a disk in";
            }
            setUp();
            const std::string before = ReadFile("data/alearo.sqlite");
            {
                DiceTrayModel tray(QStringLiteral("data"));
                QString told;
                QObject::connect(&tray, &DiceTrayModel::storeStatusChanged,
                                 [&told](const QString& status) { told += status; });
                ASSERT_TRUE(AwaitOpened(tray));
                const int shown = tray.history()->rowCount();
                if (whileOpen) {
                    whileOpen();
                }
                for (int i = 0; i < 3; ++i) {
                    ASSERT_TRUE(tray.roll(QStringLiteral("2d20kh1+5"), QString()));
                }
                ASSERT_TRUE(AwaitTaken(*tray.history()));
                EXPECT_THAT(told.toStdString(), testing::HasSubstr(words));
                EXPECT_EQ(tray.history()->rowCount(), shown + 3);
                EXPECT_EQ(ShownEntry(*tray.history(), shown + 2).expression,
                          QLatin1String("2d20kh1+5"));
            }
            // The file found is as it was: in its place (a newer one with no
            // journal left beside it), or beside a new one under a dated
            // name, which then holds the rolls.
            const QString date = QDate::currentDate().toString(Qt::ISODate);
            const std::string kept =
                putAside ? "data/alearo-unreadable-" + date.toStdString() + ".sqlite"
                         : "data/alearo.sqlite";
            EXPECT_TRUE(ReadFile(kept) == before) << kept << " changed";
            const bool journal = fs::exists(kept + "-wal") || fs::exists(kept + "-shm");
            EXPECT_FALSE(journal && std::string_view(what) == "a newer version") << "journal left";
            if (!putAside) {
                return;
            }
            DiceTrayModel again(QStringLiteral("data"));
            ASSERT_TRUE(AwaitOpened(again));
            EXPECT_EQ(again.storeStatus().toStdString(), "");
            EXPECT_EQ(again.history()->rowCount(), 3);
        });
    }
}

// Three Alearos starting and rolling at the same time, one killed while it
// rolls: every roll the store took is in the file, which still opens.
TEST_F(TrayStoreFault, KeepsEveryRollShownWithTwoWritersAndAKill) {
    constexpr int kRolls = 150;
    std::vector<pid_t> writers;
    int shown[2];
    ASSERT_EQ(::pipe(shown), 0);
    // Another program writes to a new file for a moment as they start: they wait for it.
    if (fs::create_directory("data"); ::fork() == 0) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QStringLiteral("data/alearo.sqlite"));
        const bool held = db.open() && db.transaction() &&
                          QSqlQuery(db).exec(QStringLiteral("CREATE TABLE held(x)"));
        ::_exit(::write(shown[1], held ? "h" : "-", 1) == 1 && ::usleep(300'000) == 0 ? 0 : 4);
    }
    char holds = 0;
    ASSERT_TRUE(::read(shown[0], &holds, 1) == 1 && holds == 'h');
    for (int writer = 0; writer < 3; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            DiceTrayModel tray(QStringLiteral("data"));
            const QString label = QStringLiteral("w%1").arg(writer);
            for (int i = 0; writer == 2 || i < kRolls; ++i) {
                const char mark = static_cast<char>('0' + writer);
                // Told once the store has taken it.
                if (!tray.roll(QStringLiteral("1d20"), label) || !AwaitTaken(*tray.history()) ||
                    ::write(shown[1], &mark, 1) != 1) {
                    ::_exit(4);
                }
            }
            ::_exit(0);
        }
        writers.push_back(child);
    }
    ::close(shown[1]);
    // The third is killed once the other two are done, in the middle of a roll.
    ::waitpid(writers[0], nullptr, 0);
    ::waitpid(writers[1], nullptr, 0);
    ::kill(writers[2], SIGKILL);
    ::waitpid(writers[2], nullptr, 0);
    const std::string marks = ReadFile("/dev/fd/" + std::to_string(shown[0]));
    ::close(shown[0]);
    TrayStore store(QStringLiteral("data"));
    EXPECT_EQ(store.takeProblem().toStdString(), "");
    std::map<QString, int> stored;
    for (const HistoryEntry& entry : store.history(0, store.historyCount())) {
        ++stored[entry.label];
    }
    EXPECT_EQ(stored[QStringLiteral("w0")], kRolls);
    EXPECT_EQ(stored[QStringLiteral("w1")], kRolls);
    EXPECT_GE(stored[QStringLiteral("w2")], std::count(marks.begin(), marks.end(), '2'));
}

}  // namespace
}  // namespace alearo

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
