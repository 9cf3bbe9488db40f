// SPDX-License-Identifier: MIT
// Times the whole Roll command of the main window: 100 rolls of 100 d100
// with both modifiers and all three options on, as the Roll command runs it, and then
// the refresh that makes the new results visible. Runs on the offscreen
// platform, so the window is laid out and painted into its backing store
// without a display.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <string>

#include "quiet_platform_services.h"
#include "ui/windows/main_window.h"

namespace {

using namespace alearo;

constexpr int kRolls = 100;
constexpr int kDice = 100;

// Counts the paint events a widget receives, to show that a refresh really
// painted what the handler changed.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

// A shown main window in a fresh working folder (it reads and writes its
// settings file there), set up through its own controls and menu commands.
class RollingWindow {
  public:
    RollingWindow() : m_previousFolder(QDir::currentPath()) {
        QDir::setCurrent(m_folder.path());
        m_dialog = std::make_unique<MainWindow>(m_services);
        m_dialog->show();
        for (int i = 0; i < 100 && !m_dialog->windowHandle()->isExposed(); ++i) {
            QCoreApplication::processEvents();
        }

        type("rollsEdit", QString::number(kRolls));
        type("diceEdit", QString::number(kDice));
        type("eachModifierEdit", QStringLiteral("-20"));
        type("totalModifierEdit", QStringLiteral("7"));
        m_dialog->findChild<QRadioButton*>("d100Radio")->click();
        for (const char* option :
             {"actionNoInstantUpdate", "actionNoRollsBelowOne", "actionDropLowest"}) {
            m_dialog->findChild<QAction*>(option)->trigger();
        }
        QCoreApplication::processEvents();
        m_resultsPaints = std::make_unique<PaintCounter>(
            m_dialog->findChild<QTextEdit*>("resultsBox")->viewport());
    }

    ~RollingWindow() {
        m_resultsPaints.reset();
        m_dialog.reset();
        QDir::setCurrent(m_previousFolder);
    }

    RollingWindow(const RollingWindow&) = delete;
    RollingWindow& operator=(const RollingWindow&) = delete;
    void repaint() { m_dialog->repaint(); }

    RollerModel& model() { return m_dialog->model(); }
    int resultsPaints() const { return m_resultsPaints->count; }

    // Empty when the window rolls what the benchmark claims to time.
    std::string checkSetup() {
        model().roll();
        QCoreApplication::processEvents();
        const RollerModel& m = model();
        const bool asClaimed = m.rolledAs() == RollSpec{kDice, 100, -20, 7, true, true} &&
                               m.noInstantUpdate() && m.results().size() == kRolls;
        return asClaimed ? std::string() : "the window did not take the roll set-up";
    }

  private:
    void type(const char* box, const QString& text) {
        m_dialog->findChild<QLineEdit*>(box)->setText(text);
    }

    QString m_previousFolder;
    QTemporaryDir m_folder;
    QuietPlatformServices m_services;
    std::unique_ptr<MainWindow> m_dialog;
    std::unique_ptr<PaintCounter> m_resultsPaints;
};

void ReportCounters(benchmark::State& state, const RollingWindow& window, int paintsBefore) {
    state.counters["results_paints_per_roll"] = benchmark::Counter(
        window.resultsPaints() - paintsBefore, benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * kRolls * kDice);
}

// The command alone: taking the form, the roll, the description and checker
// lines, and showing the results and the tidied boxes.
void BM_RollOnly(benchmark::State& state) {
    RollingWindow window;
    if (const std::string problem = window.checkSetup(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    for (auto _ : state) {
        window.model().roll();
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRolls * kDice);
}
BENCHMARK(BM_RollOnly)->Unit(benchmark::kMillisecond);

// What a click on Roll costs until the user sees the results: the handler,
// then the posted layout and update requests the event loop would handle
// next, which lay out the results text and paint what changed. With
// fullRepaint the whole window, every control of the form included, is then
// painted again: the upper bound of a refresh.
void RollAndRefresh(benchmark::State& state, bool fullRepaint) {
    RollingWindow window;
    if (const std::string problem = window.checkSetup(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    const int paintsBefore = window.resultsPaints();
    for (auto _ : state) {
        window.model().roll();
        QCoreApplication::processEvents();
        if (fullRepaint) {
            window.repaint();
        }
    }
    ReportCounters(state, window, paintsBefore);
}

void BM_RollAndRefresh(benchmark::State& state) {
    RollAndRefresh(state, false);
}
BENCHMARK(BM_RollAndRefresh)->Unit(benchmark::kMillisecond);

void BM_RollAndFullRepaint(benchmark::State& state) {
    RollAndRefresh(state, true);
}
BENCHMARK(BM_RollAndFullRepaint)->Unit(benchmark::kMillisecond);

// The offscreen platform warns that it cannot pass a fixed window size on;
// nothing is wrong, and the warning would bury the figures.
QtMessageHandler standardMessageHandler = nullptr;

void QuietSizeHints(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) {
        return;
    }
    if (standardMessageHandler != nullptr) {
        standardMessageHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Run by hand as often as by the measuring script: without a platform
    // chosen, it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    standardMessageHandler = qInstallMessageHandler(QuietSizeHints);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
