// Long and random use of a real main window. Thousands of random user
// actions, with what the user is promised checked after every one: the seed
// is printed, ALEARO_STRESS_SEED replays a run and ALEARO_STRESS_ACTIONS sets
// its length. Then ten thousand of the largest Rolls (ALEARO_LONG_USE_ROLLS).
#include <QCoreApplication>
#include <QRegularExpression>
#include <random>

#include "dialog_fixture.h"
#include "engine/random_range.h"
#include "engine/summary_lines.h"
#include "window_checks.h"

namespace alearo {
namespace {

namespace id = control_id;
namespace cmd = command_id;
using namespace window_checks;

class StressRun {
  public:
    explicit StressRun(unsigned seed) : m_rng(seed) {
        ResetRandomSource({[seed] { return std::time_t(seed); }, [seed] { return seed; }});
    }

    // Runs one random action; returns what went wrong, or nothing.
    std::string Step(std::string& described) {
        const auto messagesBefore = f.services.messages.size();
        m_header = m_checker = m_rolled = false;
        int pick = Pick(1000);
        auto action = kActions.begin();
        for (; pick >= action->weight; ++action) {
            pick -= action->weight;
        }
        described = action->name;
        std::string problem = (this->*action->run)();
        const bool loaded = f.services.messages.size() == messagesBefore;
        const RollState& s = f.dialog().State();
        if (problem.empty()) {
            problem = CheckWindow(f.dialog());
        }
        if (problem.empty() && m_rolled) {
            problem = loaded != m_accepts     ? "a Roll went against the form's number rule"
                      : loaded                ? (++m_rollsDone, CheckRoll(f.dialog(), m_asked))
                      : Outputs() != m_before ? "a refused Roll changed what the window shows"
                                              : "";
        }
        if (problem.empty() && m_header && (loaded || !m_rolled) &&
            (Text(f.dialog(), id::kHeader).toStdString() != BuildHeader(s) ||
             s.m_strHeader != BuildHeader(s))) {
            problem = "the header does not describe the fields";
        }
        if (problem.empty() && m_checker && loaded) {
            problem = CheckCheckerLine(f.dialog());
        }
        return problem.empty() && !f.services.errors.isEmpty() ? "an error message" : problem;
    }

    int RollsDone() const { return m_rollsDone; }

  private:
    struct Action {
        const char* name;
        int weight;  // in thousandths
        std::string (StressRun::*run)();
    };
    static const std::array<Action, 5> kActions;

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_rng); }
    template <class List>
    auto PickOf(const List& list) {
        return list[std::size_t(Pick(int(std::size(list))))];
    }

    // Everything a Roll may change.
    std::string Outputs() {
        const RollState& s = f.dialog().State();
        std::string outputs = std::to_string(s.m_nResultCount) + s.m_strResults;
        for (int k = 1; k <= s.m_nResultCount; ++k) {
            outputs +=
                s.m_pResultLines[std::size_t(k)] + std::to_string(s.m_pTotals[std::size_t(k)]);
        }
        for (const int control : {id::kResults, id::kHeader, id::kCheckerLine}) {
            outputs += '|' + Text(f.dialog(), control).toStdString();
        }
        return outputs;
    }

    // Text a user might type or paste, half of it numbers the form takes.
    QString RandomText() {
        static const char* const kOdd[] = {
            "",   "-",  "+",  "--5", "+-3", "1e3",    "0x10",   "12a",  "3.5",   "- 4",   "٣",
            "５", "-0", "+0", "007", " ",   "-32769", "-32768", "-101", "32767", "32768", " 12 "};
        const int kind = Pick(8);
        QString text = Pick(3) == 0 ? QStringLiteral("-") : QString();
        for (int n = 1 + Pick(kind == 1 ? 40 : 8); kind > 0 && kind < 3 && n > 0; --n) {
            text += kind == 1 ? QChar(u'0' + Pick(10)) : QChar(char16_t(32 + Pick(95)));
        }
        return kind == 0  ? QString::fromUtf8(PickOf(kOdd))
               : kind < 3 ? text
                          : QString::number(Pick(2) ? 1 + Pick(100) : Pick(241) - 120);
    }

    // Typing refreshes the header when instant update is on and the text of
    // a dice or modifier box changed; an arrow step always writes its box.
    std::string EditBox() {
        const NumberBox box = PickOf(kNumberBoxes);
        QLineEdit* edit = f.edit(box.editId);
        const QString before = edit->text();
        const bool step = box.upDownId != 0 && Pick(3) == 0;
        if (step) {
            Pick(2) ? f.control<UpDown>(box.upDownId)->Step(Pick(2) ? 1 : -1)
                    : QTest::keyClick(edit, Pick(2) ? Qt::Key_Up : Qt::Key_Down);
            const int position = f.control<UpDown>(box.upDownId)->Position();
            if (position < box.minimum || position > box.maximum) {
                return "an up-down left its range";
            }
        } else if (const QString text = RandomText();
                   Pick(3) != 0 && text.toLatin1() == text.toUtf8()) {
            DialogFixture::type(edit, text);
        } else {  // pasted, or from an input method
            edit->setFocus();
            edit->selectAll();
            edit->insert(text);
        }
        m_header = !f.dialog().State().m_bNoInstantUpdate && box.upDownId != 0 &&
                   box.editId != id::kRolls && (step || edit->text() != before);
        return {};
    }

    std::string Roll() {
        m_asked = Requested(f.dialog());
        m_accepts = FormAccepts(f.dialog());
        m_before = Outputs();
        m_rolled = m_header = m_checker = true;
        QLineEdit* box = f.edit(PickOf(kNumberBoxes).editId);
        const int way = Pick(4);
        way == 0   ? f.click(id::kRoll)
        : way == 1 ? f.click(id::kRollIcon)
        : way == 2 ? f.command(cmd::kRoll)
                   : (box->setFocus(), QTest::keyClick(box, Qt::Key_Return));
        return {};
    }
    std::string ClickRadio() {
        m_header = Pick(2);
        m_checker = !m_header;
        f.click(m_header ? PickOf(kDieTypes).controlId : PickOf(kCheckerRadios));
        return {};
    }
    std::string Check() {
        m_checker = true;
        f.click(id::kCheck);
        return {};
    }
    std::string ToggleOption() {
        const int option =
            PickOf(std::array{cmd::kNoInstantUpdate, cmd::kNoRollsBelowOne, cmd::kDropLowest});
        const bool before = Option(f.dialog(), option);
        f.command(option);
        return Option(f.dialog(), option) != before ? "" : "an option did not toggle";
    }

    std::mt19937 m_rng;
    DialogFixture f;
    RollState m_asked;
    std::string m_before;
    bool m_accepts = false, m_header = false, m_checker = false, m_rolled = false;
    int m_rollsDone = 0;
};

const std::array<StressRun::Action, 5> StressRun::kActions{{
    {"type, paste or step in a box", 500, &StressRun::EditBox},
    {"roll", 200, &StressRun::Roll},
    {"click a radio button", 130, &StressRun::ClickRadio},
    {"check", 70, &StressRun::Check},
    {"toggle an option", 100, &StressRun::ToggleOption},
}};

// The process's peak resident set so far, in kB.
long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    static const QRegularExpression peak(QStringLiteral("VmHWM:\\s*(\\d+)"));
    return peak.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
}

}  // namespace

class StressTest : public QObject {
    Q_OBJECT

  private slots:
    void randomActionsKeepEveryPromise() {
        const unsigned seed = qEnvironmentVariableIsSet("ALEARO_STRESS_SEED")
                                  ? qEnvironmentVariable("ALEARO_STRESS_SEED").toUInt()
                                  : std::random_device{}();
        const int actions = qEnvironmentVariableIntValue("ALEARO_STRESS_ACTIONS");
        qInfo("stress seed %u (replay with ALEARO_STRESS_SEED=%u)", seed, seed);
        StressRun run(seed);
        for (int action = 1; action <= (actions > 0 ? actions : 10000); ++action) {
            std::string described;
            const std::string problem = run.Step(described);
            QVERIFY2(problem.empty(), qPrintable(QStringLiteral("action %1 (%2): %3")
                                                     .arg(action)
                                                     .arg(QString::fromStdString(described),
                                                          QString::fromStdString(problem))));
        }
        QVERIFY2(run.RollsDone() > 0, "no Roll went ahead, so the run checked little");
    }

    // Many Rolls of the largest size in one window, as in a long evening of
    // play: memory must stay flat, and the leak checker of the sanitizer
    // build must find nothing when the program ends.
    void tenThousandLargestRollsKeepMemoryFlat() {
        const int asked = qEnvironmentVariableIntValue("ALEARO_LONG_USE_ROLLS");
        const int rolls = asked > 100 ? asked : 10000;
        DialogFixture f;
        f.command(command_id::kNoInstantUpdate);  // else a lone minus sign is reported
        f.command(command_id::kDropLowest);
        f.command(command_id::kNoRollsBelowOne);
        f.click(control_id::kD100);
        f.type(control_id::kDice, QStringLiteral("100"));
        f.type(control_id::kEachModifier, QStringLiteral("-20"));
        f.click(control_id::kGreaterThan);
        f.type(control_id::kRolls, QStringLiteral("100"));
        long afterHundred = 0;
        for (int k = 1; k <= rolls; ++k) {
            f.dialog().OnRoll();
            QCoreApplication::processEvents();  // lays out and paints the new results
            afterHundred = k == 100 ? PeakResidentKb() : afterHundred;
        }
        const long growth = PeakResidentKb() - afterHundred;
        qInfo("peak resident set after 100 Rolls: %ld kB, grown by %ld kB since", afterHundred,
              growth);
        QVERIFY(f.services.messages.isEmpty() && f.dialog().State().m_nResultCount == 100);
#if !defined(__SANITIZE_ADDRESS__)
        // A program that kept even the results text of every Roll would grow
        // by tens of megabytes. (AddressSanitizer holds freed memory back on
        // purpose, so there only its leak check counts.)
        QVERIFY2(afterHundred > 0 && growth <= 2048, qPrintable(QString::number(growth)));
#endif
    }
};

}  // namespace alearo

QTEST_MAIN(alearo::StressTest)
#include "stress_test.moc"
