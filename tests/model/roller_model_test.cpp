// SPDX-License-Identifier: MIT
// What the main window's model decides, without a widget. Each row is a
// script of steps separated by "; ". An action is a verb and its words:
// type BOX [TEXT], step BOX VALUE, die INDEX, mode INDEX, check, roll, clear,
// option NAME 0|1, load, close, write normal|numbers, file NAME HEX, mkdir
// NAME, fifo NAME, readonly NAME. Boxes go by their keys in
// RollerModel::kEntryInfo. A check is VIEW[ ARG]=TEXT, compared with what the
// model says now (see views()).
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include <random>

#include "engine/die_type.h"
#include "engine/random_range.h"
#include "engine/texts.h"
#include "number_rule_model.h"
#include "ui/model/roller_model.h"

namespace alearo {

using Entry = RollerModel::Entry;

class RollerModelTest : public QObject {
    Q_OBJECT

    // The model in a fresh working folder, with what it has said so far.
    struct Run {
        QTemporaryDir folder;
        QString previous = QDir::currentPath();
        RollerModel model;
        QStringList rejected, errors;

        // A failure, as the player is told it.
        void told(const Outcome& outcome) {
            if (!outcome.ok) {
                errors << outcome.message +
                              (outcome.reason.isEmpty() ? QString() : QStringLiteral(" (why)"));
            }
        }

        Run() {
            QDir::setCurrent(folder.path());
            ResetRandomSource({[] { return std::time_t{1700000000}; }, [] { return 7U; }});
            QObject::connect(&model, &RollerModel::entryRejected,
                             [this](Entry e, const QString& m) { rejected << Name(e) + ':' + m; });
            // Every signal the model sends, by name, in order.
            const QMetaObject* meta = model.metaObject();
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
                const QMetaMethod method = meta->method(i);
                if (method.methodType() == QMetaMethod::Signal) {
                    spies.emplace_back(std::make_unique<QSignalSpy>(&model, method),
                                       QString::fromLatin1(method.name()));
                }
            }
        }
        ~Run() { QDir::setCurrent(previous); }
        QString signalsSinceLastLook() {
            QStringList names;
            for (auto& [spy, name] : spies) {
                if (!spy->isEmpty()) {
                    names << name + (spy->count() > 1 ? QStringLiteral("x%1").arg(spy->count())
                                                      : QString());
                    spy->clear();
                }
            }
            return names.join(QLatin1Char(' '));
        }
        std::vector<std::pair<std::unique_ptr<QSignalSpy>, QString>> spies;
    };

    static QString Name(Entry entry) { return QLatin1String(RollerModel::InfoOf(entry).key); }
    static Entry EntryNamed(const QString& box) {
        const auto& all = RollerModel::kEntries;
        const auto found =
            std::find_if(all.begin(), all.end(), [&](Entry e) { return Name(e) == box; });
        return found != all.end() ? *found : (qFatal("no box %s", qPrintable(box)), Entry{});
    }

    static void Act(Run& r, const QString& verb, const QStringList& w) {
        RollerModel& m = r.model;
        const QString arg = w.value(0);
        if (verb == "type") {
            m.setEntryText(EntryNamed(arg), w.mid(1).join(QLatin1Char(' ')));
        } else if (verb == "step") {
            m.stepEntry(EntryNamed(arg), w.at(1).toInt());
        } else if (verb == "die") {
            m.chooseDie(arg.toInt());
        } else if (verb == "mode") {
            m.chooseCheckMode(static_cast<CheckMode>(arg.toInt()));
        } else if (verb == "option") {
            const bool on = w.at(1) == "1";
            arg == "noinstant" ? m.setNoInstantUpdate(on)
            : arg == "raise"   ? m.setNoRollsBelowOne(on)
                               : m.setDropLowest(on);
        } else if (verb == "write") {
            r.told(m.writeResults(arg == "normal" ? ResultsFormat::kNormal
                                                  : ResultsFormat::kNumbersOnly));
        } else if (verb == "file") {
            QFile file(arg);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromHex(w.value(1).toLatin1()));
        } else if (verb == "mkdir") {
            QVERIFY(QDir().mkdir(arg));
        } else if (verb == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(arg).constData(), 0644) == 0);
        } else if (verb == "readonly") {
            QVERIFY(QFile::setPermissions(arg, QFileDevice::ReadOwner));
        } else {
            const QHash<QString, std::function<void()>> commands{
                {"check", [&m] { m.check(); }},
                {"roll", [&m] { m.roll(); }},
                {"clear", [&m] { m.clearEntries(); }},
                {"load", [&m] { m.loadSettings(); }},
                {"close", [&r, &m] { r.told(m.close()); }}};
            QVERIFY2(commands.contains(verb), qPrintable(verb));
            commands[verb]();
        }
    }

    // What the model says now.
    static QString View(Run& r, const QString& what, const QString& arg) {
        const RollerModel& m = r.model;
        if (what == "description" || what == "checker") {
            return what == "description" ? m.description() : m.checkerLine();
        }
        if (what == "boxes") {  // the typed texts, then the values taken
            QStringList texts, values;
            for (const Entry entry : RollerModel::kEntries) {
                texts << m.entryText(entry);
                values << QString::number(m.entryValue(entry));
            }
            return texts.join(' ') + " / " + values.join(' ');
        }
        if (what == "choices") {  // the die, the checker mode and the three options
            return QStringLiteral("%1 %2 %3%4%5")
                .arg(m.dieIndex())
                .arg(static_cast<int>(m.checkMode()))
                .arg(int(m.noInstantUpdate()))
                .arg(int(m.noRollsBelowOne()))
                .arg(int(m.dropLowest()));
        }
        // How many results, and whether the box shows them as the engine writes them.
        if (what == "results") {
            return QString::number(m.results().size()) +
                   (m.resultsText().toStdString() == ResultsText(m.results()) ? "" : " unlike");
        }
        if (what == "form") {  // what the statistics read of the typed form
            const RollerModel::FormReading f = m.readForm();
            return f.invalidEntry
                       ? "invalid " + Name(*f.invalidEntry)
                       : QString::asprintf("%d x %dd%d each %d total %d mode %d target %d", f.rolls,
                                           f.spec.dice, f.spec.sides, f.spec.eachModifier,
                                           f.spec.totalModifier, static_cast<int>(f.checker.mode),
                                           f.checker.target);
        }
        if (what == "rejected" || what == "errors") {
            return std::exchange(what == "rejected" ? r.rejected : r.errors, {}).join('|');
        }
        if (what == "signals") {
            return r.signalsSinceLastLook();
        }
        if (what == "file") {
            QFile file(arg);
            return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toHex())
                                                  : QStringLiteral("-");
        }
        qFatal("no view %s", qPrintable(what));
    }

  private slots:
    // Thousands of random edits and commands; ALEARO_RANDOM_SEED replays a run.
    // A Roll goes ahead exactly when the plain model of the number rule takes
    // every typed box, and rolls what they say; a refused one changes nothing;
    // the lines always follow the values taken.
    void randomUseKeepsEveryPromise() {
        const unsigned seed = qEnvironmentVariableIsSet("ALEARO_RANDOM_SEED")
                                  ? qEnvironmentVariable("ALEARO_RANDOM_SEED").toUInt()
                                  : std::random_device{}();
        qInfo("seed %u", seed);
        std::mt19937 rng(seed);
        const auto pick = [&rng](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(rng);
        };
        static const char* const kOdd[] = {"",  "-",     "+5",     "-0",   "007", " 12 ", "1e3",
                                           "٣", "32768", "-32768", "-101", "101", "x"};
        Run r;
        int rolled = 0;
        for (int action = 0; action < 5000; ++action) {
            RollerModel& m = r.model;
            const Entry entry = RollerModel::kEntries[std::size_t(pick(5))];
            const auto accepted = [&m] {
                return std::all_of(RollerModel::kEntries.begin(), RollerModel::kEntries.end(),
                                   [&m](Entry e) {
                                       const Range range = RollerModel::RangeOf(e);
                                       return number_rule_model::Load(m.entryText(e).toStdString(),
                                                                      range.minimum, range.maximum)
                                                  .status == NumberLoad::kValue;
                                   });
            };
            const QString before = m.resultsText();
            const bool accepts = accepted();
            // Whether the action rebuilds the description, or the checker line.
            const bool edits =
                entry != Entry::kRolls && entry != Entry::kCheckTarget && !m.noInstantUpdate();
            bool describes = false, counts = false;
            switch (pick(8)) {
                case 0:
                    m.setEntryText(entry, QString::fromUtf8(kOdd[pick(13)])), describes = edits;
                    break;
                case 1:
                    m.setEntryText(entry, QString::number(pick(230) - 115)), describes = edits;
                    break;
                case 2:
                    m.stepEntry(entry, pick(201) - 100), describes = edits;
                    break;
                case 3: {
                    const int die = pick(8) - 1;
                    m.chooseDie(die);
                    describes = die >= 0;
                    break;
                }
                case 4:
                    m.chooseCheckMode(static_cast<CheckMode>(pick(4) - 1)), counts = true;
                    break;
                case 5:
                    m.setDropLowest(pick(2)), m.setNoRollsBelowOne(pick(2));
                    break;
                case 6:
                    m.setNoInstantUpdate(pick(2));
                    break;
                default:
                    describes = counts = accepts;
                    m.roll();
                    QVERIFY2(r.rejected.isEmpty() == accepts, qPrintable(QString::number(action)));
                    QVERIFY(accepts ? int(m.results().size()) == m.entryValue(Entry::kRolls) &&
                                          m.rolledAs()->dice == m.entryValue(Entry::kDice)
                                    : m.resultsText() == before);
                    rolled += accepts;
            }
            r.rejected.clear();
            const RollSpec values{m.entryValue(Entry::kDice),
                                  SidesOfDie(m.dieIndex()),
                                  m.entryValue(Entry::kEachModifier),
                                  m.entryValue(Entry::kTotalModifier),
                                  m.noRollsBelowOne(),
                                  m.dropLowest()};
            const Checker checker{m.checkMode(), m.entryValue(Entry::kCheckTarget)};
            QVERIFY(!counts || m.checkerLine().toStdString() ==
                                   CheckerLine(checker, CountMatches(checker, m.results())));
            QVERIFY(!describes || m.description().toStdString() == DescriptionLine(values));
        }
        QVERIFY(rolled > 0);
    }

    void script_data();
    void script() {
        QFETCH(QString, script);
        Run r;
        r.signalsSinceLastLook();
        for (const QString& step : script.split(QStringLiteral("; "))) {
            const qsizetype equals = step.indexOf(QLatin1Char('='));
            const QString head = step.left(equals);
            if (equals > 0) {
                const QString shown = View(r, head.section(' ', 0, 0), head.section(' ', 1));
                QVERIFY2(shown == step.mid(equals + 1),
                         qPrintable(step + QStringLiteral(", shown: ") + shown));
            } else {
                Act(r, step.section(' ', 0, 0), step.section(' ', 1).split(' '));
                QVERIFY2(!QTest::currentTestFailed(), qPrintable(step));
            }
        }
        QVERIFY2(r.rejected.isEmpty() && r.errors.isEmpty(),
                 qPrintable("unchecked messages: " + (r.rejected + r.errors).join('|')));
    }
};

void RollerModelTest::script_data() {
    QTest::addColumn<QString>("script");
    const auto row = [](const char* name, const char* script) {
        QTest::newRow(name) << QString::fromUtf8(script);
    };
    // clang-format off
    row("start", "description=Results; checker=; boxes=1 1 0 0 0 / 1 1 0 0 0; choices=1 -1 000; results=0; form=1 x 1d6 each 0 total 0 mode -1 target 0");
    // Taking the form: the first wrong box stops it, earlier boxes keep their new
    // values, an out-of-range number is kept as typed, later boxes keep their old ones.
    row("a rejected Roll rolls nothing", "option noinstant 1; type eachModifier 5; type dice 3; type rolls 150; signals=optionsChanged formChangedx4; roll; rejected=rolls:Please enter an integer between 1 and 100.; boxes=150 3 5 0 0 / 150 3 0 0 0; results=0; signals=entryRejected; description=Results");
    row("the target is taken before the dice", "option noinstant 1; type dice 101; type checkTarget 101; check; rejected=checkTarget:Please enter an integer between 0 and 100.");
    row("a word is not a number and keeps the old value", "type checkTarget 7; type rolls 2; roll; type totalModifier x; type dice 4; type rolls 3; check; rejected=totalModifier:Please enter an integer.|totalModifier:Please enter an integer.|totalModifier:Please enter an integer.; boxes=3 4 0 x 7 / 2 4 0 0 7");
    row("each box names its range", "option noinstant 1; type dice 101; roll; type dice 1; type totalModifier -101; roll; type totalModifier 0; type checkTarget 101; roll; type checkTarget 0; type eachModifier -32768; roll; type eachModifier 0; type rolls 32768; roll; rejected=dice:Please enter an integer between 1 and 100.|totalModifier:Please enter an integer between -100 and 100.|checkTarget:Please enter an integer between 0 and 100.|eachModifier:Please enter an integer between -100 and 100.|rolls:Please enter an integer.; results=0");
    // A Roll, and what it leaves.
    row("a Roll lists, describes, counts and tidies the boxes", "type rolls 007; type dice 3; type checkTarget  3 ; mode 0; roll; results=7; description=Results for (3d6); checker=Rolls greater or equal to 3:    7; boxes=7 3 0 0 3 / 7 3 0 0 3; signals=entryTextChangedx2 descriptionChanged checkerLineChangedx2 resultsTextChanged checkModeChanged formChangedx5");
    row("a dropped die shows with two dice or more", "option drop 1; type dice 1; roll; results=1; description=Results for (1d6); type dice 4; type totalModifier -1; type rolls 30; roll; results=30; description=(4d6)  -1 - lowest roll");
    row("a new Roll replaces the results", "type rolls 100; roll; type rolls 3; roll; results=3");
    row("Clear forgets results and entries only", "die 3; option drop 1; mode 1; type dice 6; type eachModifier 6; type totalModifier 6; type checkTarget 6; roll; clear; description=Entries cleared.; boxes=1 1 0 0 0 / 1 1 0 0 0; results=0; checker=; choices=3 1 001; form=1 x 1d10 each 0 total 0 mode 1 target 0");
    row("a Roll from the start", "roll; signals=descriptionChanged resultsTextChanged formChanged; type dice 2; signals=descriptionChanged formChanged; results=1");
    // The description.
    row("the description follows the dice and modifier boxes", "type dice 3; description=Results for (3d6); type eachModifier -3; description=(3d6-3); type totalModifier 5; description=(3d6-3) + 5; type eachModifier 0; type totalModifier -5; description=(3d6)  -5; type rolls 9; type checkTarget 9; description=(3d6)  -5");
    row("instant update off waits for a Roll or a die", "option noinstant 1; type dice 2; type eachModifier 2; description=Results; die 2; description=(2d8+2); option noinstant 0; type dice -; rejected=dice:Please enter an integer.; description=(2d8+2)");
    row("a wrong box is reported as it is typed", "type dice 150; rejected=dice:Please enter an integer between 1 and 100.; description=Results for (150d6); boxes=1 150 0 0 0 / 1 150 0 0 0");
    row("an option waits for the next description", "type dice 3; option drop 1; description=Results for (3d6); die 1; description=Results for (3d6) - lowest roll");
    row("every die names its sides", "die 0; description=Results for (1d4); die 4; description=Results for (1d12); die 5; description=Results for (1d20); die 6; description=Results for (1d100); die 7; choices=6 -1 000; signals=descriptionChangedx4 dieIndexChangedx4 formChangedx4");
    // The arrows write their box, and the dice and modifiers describe at once.
    row("an arrow step writes its box", "type rolls 7; step rolls 2; boxes=2 1 0 0 0 / 2 1 0 0 0; description=Results; step eachModifier -1; boxes=2 1 -1 0 0 / 2 1 -1 0 0; description=(1d6-1); option noinstant 1; step dice 2; description=(1d6-1)");
    row("a step to the same text still describes", "option noinstant 1; type dice 2; option noinstant 0; step dice 2; signals=descriptionChanged optionsChangedx2 formChangedx4; description=Results for (2d6)");
    // The checker.
    row("the checker counts the last Roll in every mode", "type rolls 20; type dice 2; roll; mode 0; checker=Rolls greater or equal to 0:   20; type checkTarget 2; check; checker=Rolls greater or equal to 2:   20; mode 1; type checkTarget 1; check; checker=Rolls less or equal to 1:    0; type checkTarget 13; mode 2; checker=Rolls equal to 13:    0; mode 0; checker=Rolls greater or equal to 13:    0");
    row("choosing a mode with a wrong box says so once", "type checkTarget 101; mode 2; rejected=checkTarget:Please enter an integer between 0 and 100.; checker=Rolls equal to 101:    0; type checkTarget x; check; rejected=checkTarget:Please enter an integer.; checker=Rolls equal to 101:    0");
    row("no mode counts nothing", "mode 0; check; checker=Rolls greater or equal to 0:    0; mode -1; check; checker=");
    row("negative totals are counted as numbers", "die 0; type eachModifier -5; type rolls 10; mode 1; type checkTarget 0; roll; checker=Rolls less or equal to 0:   10; type checkTarget 1; mode 0; checker=Rolls greater or equal to 1:    0");
    row("no die counts below one", "die 0; type eachModifier -5; option raise 1; type rolls 10; type dice 3; mode 2; type checkTarget 3; roll; checker=Rolls equal to 3:   10");
    // What the statistics read.
    row("the form as typed, and the first wrong box", "type rolls 5; type dice 2; type eachModifier -3; type totalModifier 4; die 5; mode 2; type checkTarget 9; form=5 x 2d20 each -3 total 4 mode 2 target 9; type totalModifier x; type rolls 0; form=invalid totalModifier; type rolls 1; form=invalid totalModifier; rejected=totalModifier:Please enter an integer.; type totalModifier 4; type eachModifier x; form=invalid eachModifier; rejected=eachModifier:Please enter an integer.; type rolls 0; form=invalid rolls; type totalModifier x; type dice 0; form=invalid dice; type checkTarget x; form=invalid checkTarget; rejected=totalModifier:Please enter an integer.|dice:Please enter an integer between 1 and 100.");
    // Files.
    row("the settings are kept at close", "file alear.dat 34; load; choices=5 -1 001; form=1 x 1d20 each 0 total 0 mode -1 target 0; die 6; option raise 1; option drop 0; close; file alear.dat=3a");
    row("a settings file that cannot be written is reported", "mkdir alear.dat; load; choices=1 -1 000; close; errors=Error Writing to File: alear.dat (why)");
    row("a pipe for the settings file does not hold up the start", "fifo alear.dat; load; choices=1 -1 000; close; errors=Error Writing to File: alear.dat (why)");
    row("the results are written only after a Roll", "write normal; write numbers; file Results.txt=-; roll; clear; write normal; file Results.txt=-");
    row("an unwritable results file is reported and kept", "file Results.txt 6b656570; readonly Results.txt; roll; write normal; write numbers; errors=Error Writing to File: Results.txt (why)|Error Writing to File: Results.txt (why); file Results.txt=6b656570");
    // clang-format on
}

}  // namespace alearo

QTEST_GUILESS_MAIN(alearo::RollerModelTest)
#include "roller_model_test.moc"
