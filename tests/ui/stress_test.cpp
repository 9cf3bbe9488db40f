// Thousands of random user actions on a real main window, with what the user
// is promised checked after every one. The seed is printed; set
// ALEARO_STRESS_SEED to replay a run, ALEARO_STRESS_ACTIONS to change its
// length.
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <functional>
#include <random>
#include <vector>

#include "dialog_fixture.h"
#include "random_range.h"
#include "settings_byte.h"
#include "window_invariants.h"

namespace id = control_id;
namespace inv = window_invariants;

namespace {

constexpr int kDefaultActions = 10000;

const int kNumberBoxes[] = {id::kRolls, id::kDice, id::kEachModifier, id::kTotalModifier,
                            id::kCheckTarget};
const int kInstantBoxes[] = {id::kDice, id::kEachModifier, id::kTotalModifier};
const int kUpDowns[] = {id::kRollsUpDown, id::kDiceUpDown, id::kEachModifierUpDown,
                        id::kTotalModifierUpDown};

unsigned EnvNumber(const char* name, unsigned fallback) {
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// The offscreen platform warns at every new window that it cannot pass size
// hints on; the run opens dozens of windows, and the warning says nothing
// about the program.
QtMessageHandler gTestLogHandler = nullptr;

void DropSizeHintWarnings(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (!message.contains(QLatin1String("propagateSizeHints"))) {
        gTestLogHandler(type, context, message);
    }
}

struct SizeHintWarningFilter {
    SizeHintWarningFilter() { gTestLogHandler = qInstallMessageHandler(DropSizeHintWarnings); }
    ~SizeHintWarningFilter() { qInstallMessageHandler(gTestLogHandler); }
    SizeHintWarningFilter(const SizeHintWarningFilter&) = delete;
    SizeHintWarningFilter& operator=(const SizeHintWarningFilter&) = delete;
};

bool Contains(const int* begin, const int* end, int value) {
    return std::find(begin, end, value) != end;
}

// Replays one run: the actions and every die come from the seed.
class StressRun {
  public:
    explicit StressRun(unsigned seed) : m_rng(seed) {
        alearo::ResetRandomSource({[seed] { return std::time_t(seed); }, [seed] { return seed; }});
    }

    // Runs one random action; returns what went wrong, or nothing.
    std::string Step(std::string& described) {
        const int validationBefore = Validations();
        m_headerRefreshed = false;
        m_checkerRefreshed = false;
        m_rollRequested = false;
        std::string problem = RandomAction(described);
        if (!problem.empty()) {
            return problem;
        }
        const bool loaded = Validations() == validationBefore;
        if (problem = inv::CheckWindow(dialog()); !problem.empty()) {
            return problem;
        }
        if (m_rollRequested && loaded != m_formAccepts) {
            return loaded ? "a Roll loaded numbers the form must refuse"
                          : "a Roll refused numbers the form must take";
        }
        if (m_rollRequested && loaded) {
            ++m_rollsDone;
            if (problem = inv::CheckRollOutcome(dialog(), m_request); !problem.empty()) {
                return problem;
            }
        }
        if (m_rollRequested && !loaded && inv::RollOutputs(dialog()) != m_outputsBefore) {
            return "a Roll that failed to load changed what the window shows";
        }
        if (m_headerRefreshed && (loaded || !m_rollRequested)) {
            if (problem = inv::CheckHeaderFollowsFields(dialog()); !problem.empty()) {
                return problem;
            }
        }
        if (m_checkerRefreshed && loaded) {
            if (problem = inv::CheckCheckerCount(dialog()); !problem.empty()) {
                return problem;
            }
        }
        if (m_fixture.services.errors.size() != m_expectedErrors) {
            return "unexpected error message: " +
                   m_fixture.services.errors.value(m_fixture.services.errors.size() - 1)
                       .toStdString();
        }
        return {};
    }

    int RollsDone() const { return m_rollsDone; }

    QString Summary() const {
        return QStringLiteral(
                   "%1 rolls asked, %2 rolled, %3 validation messages, %4 files "
                   "written, %5 windows closed and reopened")
            .arg(m_rolls)
            .arg(m_rollsDone)
            .arg(Validations())
            .arg(m_filesWritten)
            .arg(m_reopens);
    }

  private:
    CDiceDlg& dialog() { return m_fixture.dialog(); }
    int Validations() const { return int(m_fixture.services.validationMessages.size()); }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_rng); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class Ids>
    int PickOf(const Ids& ids) {
        return ids[std::size_t(Pick(int(std::size(ids))))];
    }

    QString Digits(int count) {
        QString digits;
        for (int i = 0; i < count; ++i) {
            digits += QChar(u'0' + Pick(10));
        }
        return digits;
    }

    // Text a user might type or paste into a number box.
    QString RandomText() {
        static const char* const kOdd[] = {"-",   "+",   "--5", "+-3",   "1e3", "0x10",
                                           "12a", "abc", "3.5", "1,000", "- 4", "٣",
                                           "５",  "é",   "-0",  "+0",    "007", " "};
        static const int kEdges[] = {-32769, -32768, -101, -100, -1,    0,    1,
                                     99,     100,    101,  255,  32767, 32768};
        // Half the texts are numbers the form accepts, so that Rolls often
        // go ahead; the rest is everything else a user may enter.
        switch (Pick(14)) {
            case 0:
                return {};
            case 1:
                return QString::number(Pick(241) - 120);
            case 2:
                return QString::number(1 + Pick(100));
            case 3: {
                // Drawn one after the other, so that a seed replays the same
                // whatever order a compiler evaluates operands in.
                const QString sign = Chance(30) ? QStringLiteral("-") : QString();
                return sign + Digits(6 + Pick(35));
            }
            case 4:
                return QString::fromUtf8(kOdd[Pick(int(std::size(kOdd)))]);
            case 5:
                return QString::number(kEdges[Pick(int(std::size(kEdges)))]);
            case 6:
                return QStringLiteral(" %1 ").arg(Pick(201) - 100);
            case 7: {
                QString noise;
                for (int i = 1 + Pick(8); i > 0; --i) {
                    noise += QChar(char16_t(32 + Pick(95)));
                }
                return noise;
            }
            default:
                return QString::number(Pick(2) == 0 ? 1 + Pick(100) : Pick(41) - 20);
        }
    }

    // The test library types only ASCII by key; other characters arrive as
    // key events that carry just their text, as from an input method.
    void TypeAnyText(int boxId, const QString& text) {
        const bool ascii =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            m_fixture.type(boxId, text);
            return;
        }
        m_fixture.type(boxId, QString());
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, m_fixture.edit(boxId), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }

    // Typing or pasting refreshes the header, when instant update is on, if
    // the box's text really changed.
    std::string EditBox(std::string& described) {
        const int boxId = PickOf(kNumberBoxes);
        QLineEdit* box = m_fixture.edit(boxId);
        const QString before = box->text();
        const QString text = RandomText();
        if (Chance(70)) {
            described = "type \"" + text.toStdString() + "\" into box " + std::to_string(boxId);
            TypeAnyText(boxId, text);
        } else {
            described = "paste \"" + text.toStdString() + "\" into box " + std::to_string(boxId);
            box->setFocus();
            box->selectAll();
            box->insert(text);
        }
        NoteInstantUpdate(boxId, box->text() != before);
        return {};
    }

    void NoteInstantUpdate(int boxId, bool changed) {
        if (changed && !dialog().State().m_bNoInstantUpdate &&
            Contains(std::begin(kInstantBoxes), std::end(kInstantBoxes), boxId)) {
            m_headerRefreshed = true;
        }
    }

    std::string StepUpDown(std::string& described) {
        const int index = Pick(int(std::size(kUpDowns)));
        const int delta = Chance(50) ? 1 : -1;
        const int boxId = kNumberBoxes[index];
        const bool instantBefore = !dialog().State().m_bNoInstantUpdate;
        if (Chance(50)) {
            described =
                "arrow " + std::to_string(delta) + " on up-down " + std::to_string(kUpDowns[index]);
            m_fixture.step(kUpDowns[index], delta);
        } else {
            described = "key " + std::to_string(delta) + " in box " + std::to_string(boxId);
            m_fixture.edit(boxId)->setFocus();
            QTest::keyClick(m_fixture.edit(boxId), delta > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        const UpDown* upDown = m_fixture.control<UpDown>(kUpDowns[index]);
        if (upDown->Position() < upDown->Minimum() || upDown->Position() > upDown->Maximum()) {
            return "an up-down left its range";
        }
        // A step always rewrites its box, changed or not.
        NoteInstantUpdate(instantBefore ? boxId : 0, true);
        return {};
    }

    std::string Roll(std::string& described) {
        m_request = inv::ReadRequest(dialog());
        m_formAccepts = inv::FormAccepts(dialog());
        m_outputsBefore = inv::RollOutputs(dialog());
        m_rollRequested = true;
        m_headerRefreshed = true;
        m_checkerRefreshed = true;
        ++m_rolls;
        switch (Pick(4)) {
            case 0:
                described = "click Roll";
                m_fixture.click(id::kRoll);
                break;
            case 1:
                described = "click the die picture";
                m_fixture.click(id::kRollIcon);
                break;
            case 2:
                described = "menu Roll";
                m_fixture.command(command_id::kRoll);
                break;
            default: {
                const int boxId = PickOf(kNumberBoxes);
                described = "Enter in box " + std::to_string(boxId);
                m_fixture.edit(boxId)->setFocus();
                QTest::keyClick(m_fixture.edit(boxId), Qt::Key_Return);
            }
        }
        return {};
    }

    std::string Clear(std::string& described) {
        described = "clear";
        if (Chance(50)) {
            m_fixture.click(id::kClear);
        } else {
            m_fixture.command(command_id::kClearEntries);
        }
        const alearo::RollState& state = dialog().State();
        if (state.m_nResultCount != 0 || !inv::ResultsBoxText(dialog()).isEmpty() ||
            inv::HeaderText(dialog()) != QStringLiteral("Entries cleared.") ||
            m_fixture.edit(id::kRolls)->text() != QStringLiteral("1") ||
            m_fixture.edit(id::kDice)->text() != QStringLiteral("1") ||
            m_fixture.edit(id::kEachModifier)->text() != QStringLiteral("0") ||
            m_fixture.edit(id::kTotalModifier)->text() != QStringLiteral("0") ||
            m_fixture.edit(id::kCheckTarget)->text() != QStringLiteral("0")) {
            return "Clear Entries left something behind";
        }
        return {};
    }

    std::string WriteFile(std::string& described) {
        const bool numbersOnly = Chance(50);
        described = numbersOnly ? "results with no text" : "results in normal format";
        const QString name = QStringLiteral("Results.txt");
        const QByteArray before = m_fixture.read(name);
        const bool existed = m_fixture.exists(name);
        m_fixture.command(numbersOnly ? command_id::kResultsNoText
                                      : command_id::kResultsNormalFormat);
        return CheckWrittenFile(numbersOnly, before, existed);
    }

    std::string CheckWrittenFile(bool numbersOnly, const QByteArray& before, bool existed) {
        const QString name = QStringLiteral("Results.txt");
        const alearo::RollState& state = dialog().State();
        if (!alearo::HasResults(state)) {
            return m_fixture.exists(name) == existed && m_fixture.read(name) == before
                       ? std::string()
                       : "an output command wrote without results";
        }
        ++m_filesWritten;
        const QByteArray bytes = m_fixture.read(name);
        return numbersOnly ? inv::CheckNumbersOnlyFile(bytes, state)
                           : inv::CheckNormalResultsFile(bytes, state);
    }

    std::string PrintViaSpooler(std::string& described) {
        described = "send to printer via the text file";
        const QByteArray before = m_fixture.read(QStringLiteral("Results.txt"));
        const bool existed = m_fixture.exists(QStringLiteral("Results.txt"));
        const auto spooledBefore = m_fixture.services.spooledFiles.size();
        m_fixture.command(command_id::kSendToPrinterViaNotepad);
        if (std::string problem = CheckWrittenFile(false, before, existed); !problem.empty()) {
            return problem;
        }
        const bool asked = m_fixture.services.spooledFiles.size() != spooledBefore;
        if (asked != alearo::HasResults(dialog().State()) ||
            (asked &&
             m_fixture.services.spooledFiles.last() !=
                 QFileInfo(m_fixture.file(QStringLiteral("Results.txt"))).absoluteFilePath())) {
            return "the spooler was asked wrongly";
        }
        if (asked) {
            m_spoolWindows.push_back(m_generation);
        }
        return {};
    }

    // The spooler answers some time later, perhaps after the window closed.
    std::string AnswerSpool(std::string& described) {
        if (m_spoolWindows.empty()) {
            described = "nothing for the spooler to answer";
            return {};
        }
        const bool delivered = Chance(50);
        described = delivered ? "spooler delivers" : "spooler fails";
        const int window = m_spoolWindows.front();
        m_spoolWindows.erase(m_spoolWindows.begin());
        m_fixture.services.FinishSpool(delivered);
        if (!delivered && window == m_generation) {
            ++m_expectedErrors;
        }
        return {};
    }

    std::string PrintDirectly(std::string& described) {
        described = "send to printer";
        const bool choose = Chance(50);
        if (choose) {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(m_fixture.file(QStringLiteral("printout.pdf")));
            m_fixture.services.nextPrinter = std::move(printer);
        }
        const int choicesBefore = m_fixture.services.printerChoices;
        m_fixture.command(command_id::kSendToPrinter);
        m_fixture.services.nextPrinter.reset();
        if ((m_fixture.services.printerChoices != choicesBefore) !=
            alearo::HasResults(dialog().State())) {
            return "the printer was chosen wrongly";
        }
        return {};
    }

    std::string OtherCommand(std::string& described) {
        switch (Pick(5)) {
            case 0: {
                const bool opens = Chance(50);
                described = opens ? "website opens" : "website fails";
                m_fixture.services.urlsOpen = opens;
                m_fixture.command(command_id::kWebsite);
                m_expectedErrors += opens ? 0 : 1;
                return {};
            }
            case 1:
            case 2: {
                const int shownBefore = m_fixture.services.helpShown;
                if (Chance(50)) {
                    described = "help contents";
                    m_fixture.command(command_id::kHelpContents);
                } else {
                    described = "F1";
                    QTest::keyClick(&dialog(), Qt::Key_F1);
                }
                return m_fixture.services.helpShown == shownBefore + 1 ? std::string()
                                                                       : "help did not open";
            }
            case 3: {
                described = "about box";
                // The About box is modal: it is closed as soon as it runs.
                bool aboutShown = false;
                QTimer::singleShot(0, &dialog(), [this, &aboutShown] {
                    auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                    if (about != nullptr && about != &dialog()) {
                        aboutShown = true;
                        about->reject();
                    }
                });
                m_fixture.command(command_id::kAbout);
                // A window manager hands the keyboard back to the main window
                // when the box closes; the offscreen platform has none.
                dialog().activateWindow();
                if (!aboutShown || !QTest::qWaitForWindowActive(&dialog())) {
                    return "the About box did not open and close";
                }
                return {};
            }
            default: {
                static const int kOptions[] = {command_id::kNoInstantUpdate,
                                               command_id::kNoRollsBelowOne,
                                               command_id::kDropLowest};
                const int option = PickOf(kOptions);
                described = "toggle option " + std::to_string(option);
                const bool before = dialog().MenuCommand(option)->isChecked();
                m_fixture.command(option);
                return dialog().MenuCommand(option)->isChecked() != before
                           ? std::string()
                           : "an option did not toggle";
            }
        }
    }

    // Closing keeps the options and die in the settings file; the next
    // window starts with them.
    std::string CloseAndReopen(std::string& described) {
        const int how = Pick(4);
        described = "close the window by " + std::string(how == 0   ? "Exit"
                                                         : how == 1 ? "Cancel"
                                                         : how == 2 ? "Escape"
                                                                    : "close box");
        if (how == 0) {
            m_fixture.command(command_id::kExit);
        } else if (how == 1) {
            m_fixture.click(id::kCancel);
        } else if (how == 2) {
            QTest::keyClick(&dialog(), Qt::Key_Escape);
        } else {
            dialog().close();
        }
        if (dialog().isVisible()) {
            return "the window stayed open";
        }
        const alearo::RollState closed = dialog().State();
        const QByteArray stored = m_fixture.read(QStringLiteral("alear.dat"));
        if (stored.size() != 1 || std::uint8_t(stored[0]) != alearo::EncodeSettings(closed)) {
            return "the settings file does not hold the closing settings";
        }
        m_fixture.Open();
        ++m_generation;
        ++m_reopens;
        const alearo::RollState& opened = dialog().State();
        if (opened.m_nDieTypeIndex != closed.m_nDieTypeIndex ||
            opened.m_bNoInstantUpdate != closed.m_bNoInstantUpdate ||
            opened.m_bNoRollsBelowOne != closed.m_bNoRollsBelowOne ||
            opened.m_bDropLowest != closed.m_bDropLowest || opened.m_nResultCount != 0) {
            return "the reopened window did not start from the stored settings";
        }
        return {};
    }

    std::string ClickDieRadio(std::string& described) {
        described = "click a die radio";
        m_fixture.click(PickOf(inv::kDieRadios));
        m_headerRefreshed = true;
        return {};
    }

    std::string ClickCheckerRadio(std::string& described) {
        described = "click a checker radio";
        m_fixture.click(PickOf(inv::kCheckerRadios));
        m_checkerRefreshed = true;
        return {};
    }

    std::string Check(std::string& described) {
        described = "check";
        m_fixture.click(id::kCheck);
        m_checkerRefreshed = true;
        return {};
    }

    // How often each kind of action comes, in thousandths.
    struct WeightedAction {
        int weight;
        std::string (StressRun::*run)(std::string& described);
    };
    static constexpr WeightedAction kActions[] = {
        {300, &StressRun::EditBox},
        {150, &StressRun::StepUpDown},
        {150, &StressRun::Roll},
        {60, &StressRun::ClickDieRadio},
        {60, &StressRun::ClickCheckerRadio},
        {60, &StressRun::Check},
        {30, &StressRun::Clear},
        {50, &StressRun::WriteFile},
        {20, &StressRun::PrintViaSpooler},
        {20, &StressRun::AnswerSpool},
        {15, &StressRun::PrintDirectly},
        {80, &StressRun::OtherCommand},
        {5, &StressRun::CloseAndReopen},
    };

    std::string RandomAction(std::string& described) {
        int roll = Pick(1000);
        for (const WeightedAction& action : kActions) {
            if (roll < action.weight) {
                return (this->*action.run)(described);
            }
            roll -= action.weight;
        }
        return "the action weights do not add up to 1000";
    }

    std::mt19937 m_rng;
    DialogFixture m_fixture;
    inv::RollRequest m_request;
    bool m_formAccepts = false;
    std::string m_outputsBefore;
    bool m_headerRefreshed = false;
    bool m_checkerRefreshed = false;
    bool m_rollRequested = false;
    qsizetype m_expectedErrors = 0;
    std::vector<int> m_spoolWindows;  // the window generation that asked
    int m_generation = 0;
    int m_rolls = 0;
    int m_rollsDone = 0;
    int m_filesWritten = 0;
    int m_reopens = 0;
};

}  // namespace

class StressTest : public QObject {
    Q_OBJECT

  private slots:
    void randomActionsKeepEveryPromise() {
        const unsigned seed = EnvNumber("ALEARO_STRESS_SEED", std::random_device{}());
        const unsigned actions = EnvNumber("ALEARO_STRESS_ACTIONS", kDefaultActions);
        const SizeHintWarningFilter quiet;
        qInfo("stress seed %u, %u actions (replay with ALEARO_STRESS_SEED=%u)", seed, actions,
              seed);
        StressRun run(seed);
        for (unsigned action = 1; action <= actions; ++action) {
            std::string described;
            const std::string problem = run.Step(described);
            QVERIFY2(problem.empty(), qPrintable(QStringLiteral("seed %1, action %2 (%3): %4")
                                                     .arg(seed)
                                                     .arg(action)
                                                     .arg(QString::fromStdString(described),
                                                          QString::fromStdString(problem))));
        }
        qInfo("%s", qPrintable(run.Summary()));
        QVERIFY2(run.RollsDone() > 0, "no Roll went ahead, so the run checked little");
    }
};

QTEST_MAIN(StressTest)
#include "stress_test.moc"
