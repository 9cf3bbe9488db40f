#include "ui/windows/stats_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "engine/summary_lines.h"
#include "output/file_replace.h"
#include "stats/checker_chance.h"
#include "stats/distribution_table.h"
#include "stats/goodness_of_fit.h"
#include "ui/forms/control_text.h"
#include "ui/platform/platform_services.h"
#include "ui/widgets/distribution_chart.h"
#include "ui/windows/dice_dlg.h"
#include "ui/windows/message_texts.h"
#include "ui/windows/stats_table_model.h"

namespace alearo {

namespace {

QLabel* AddLine(QVBoxLayout* layout, const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(label);
    return label;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

// The lines are written through SetControlText, which tells assistive tools
// when a line's text changes, so that a screen reader says the new chances.
StatsWindow::StatsWindow(CDiceDlg& dialog, PlatformServices& services)
    : QWidget(&dialog, Qt::Window),
      m_dialog(dialog),
      m_services(services),
      m_chart(new DistributionChart),
      m_model(new StatsTableModel(this)),
      m_table(new QTableView) {
    setObjectName(QStringLiteral("statsWindow"));
    setWindowTitle(QStringLiteral("Alearo Statistics"));
    auto* layout = new QVBoxLayout(this);
    m_description = AddLine(layout, QStringLiteral("descriptionLine"));
    QFont bold = m_description->font();
    bold.setBold(true);
    m_description->setFont(bold);
    m_summary = AddLine(layout, QStringLiteral("summaryLine"));
    m_status = AddLine(layout, QStringLiteral("statusLine"));
    m_chart->setObjectName(QStringLiteral("chart"));
    m_chart->setAccessibleName(QStringLiteral("Chart of the chances"));
    m_chart->setAccessibleDescription(
        QStringLiteral("A bar for the chance of each total. The lines above it and the table "
                       "below it give the same numbers as text."));
    layout->addWidget(m_chart, 3);
    m_checker = AddLine(layout, QStringLiteral("checkerChanceLine"));
    m_fairness = AddLine(layout, QStringLiteral("fairnessLine"));

    m_table->setObjectName(QStringLiteral("chanceTable"));
    m_table->setAccessibleName(QStringLiteral("Chance of every total"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setTabKeyNavigation(false);
    layout->addWidget(m_table, 2);

    auto* buttons = new QDialogButtonBox;
    auto* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    auto* save = buttons->addButton(QStringLiteral("&Save..."), QDialogButtonBox::ActionRole);
    auto* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    auto* close = buttons->addButton(QStringLiteral("C&lose"), QDialogButtonBox::RejectRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    save->setObjectName(QStringLiteral("saveButton"));
    help->setObjectName(QStringLiteral("helpButton"));
    close->setObjectName(QStringLiteral("closeButton"));
    layout->addWidget(buttons);

    auto showHelp = [this] { m_services.ShowHelp(this, QStringLiteral("statistics")); };
    connect(copy, &QPushButton::clicked, this, &StatsWindow::OnCopy);
    connect(save, &QPushButton::clicked, this, &StatsWindow::OnSave);
    connect(help, &QPushButton::clicked, this, showHelp);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    const auto inWindow = Qt::WindowShortcut;
    connect(new QShortcut(QKeySequence::Copy, this, nullptr, nullptr, inWindow),
            &QShortcut::activated, this, &StatsWindow::OnCopy);
    connect(new QShortcut(Qt::Key_Escape, this, nullptr, nullptr, inWindow), &QShortcut::activated,
            this, &QWidget::close);
    connect(new QShortcut(Qt::Key_F1, this, nullptr, nullptr, inWindow), &QShortcut::activated,
            this, showHelp);

    connect(&dialog, &CDiceDlg::FormChanged, this, &StatsWindow::Refresh);
    resize(640, 720);
    Refresh();
}

void StatsWindow::Refresh() {
    const CDiceDlg::FormReading form = m_dialog.ReadForm();
    if (form.invalidBox.isEmpty()) {
        m_form = form.fields;
        m_hasForm = true;
    }
    if (!m_hasForm) {
        return;
    }
    if (const RollSpec spec = RollSpecOf(m_form);
        m_distribution.exactly.empty() || spec != m_spec) {
        m_spec = spec;
        m_distribution = ComputeDistribution(spec);
        ShowDistribution();
    }
    ShowResults(form.invalidBox);
    m_status->setVisible(!m_status->text().isEmpty());
}

void StatsWindow::ShowDistribution() {
    SetControlText(m_description, Text(BuildHeader(m_form)));
    const DistributionSummary summary = Summarize(m_distribution);
    SetControlText(m_summary,
                   QStringLiteral("Lowest %1, highest %2, mean %3, standard deviation %4, "
                                  "median %5, most likely %6.")
                       .arg(summary.minimum)
                       .arg(summary.maximum)
                       .arg(summary.mean, 0, 'f', 2)
                       .arg(summary.standardDeviation, 0, 'f', 2)
                       .arg(summary.median)
                       .arg(summary.mostLikely));
    m_model->SetDistribution(m_distribution);
}

void StatsWindow::ShowResults(const QString& invalidBox) {
    const RollState& state = m_dialog.State();
    const std::optional<CDiceDlg::RolledAs> rolled = m_dialog.ResultsRolledAs();
    const bool compare = rolled && rolled->spec == m_spec && state.m_nResultCount > 0;

    std::vector<int> totals;
    std::vector<double> shares;
    if (compare) {
        totals.assign(state.m_pTotals.begin() + 1,
                      state.m_pTotals.begin() + 1 + state.m_nResultCount);
        shares.assign(m_distribution.exactly.size(), 0.0);
        for (const int total : totals) {
            shares.at(static_cast<std::size_t>(total - m_distribution.minTotal)) +=
                1.0 / totals.size();
        }
    }
    m_chart->SetData(m_distribution.minTotal, m_distribution.exactly, shares);
    // "Results for (3d6)" names the roll as "(3d6)", as every other description does.
    const QString rolledAs =
        rolled ? QString(rolled->header).remove(QLatin1String("Results for ")) : QString();
    SetControlText(m_status, !invalidBox.isEmpty()
                                 ? QStringLiteral("The %1 box holds no valid number; the chances "
                                                  "shown are for the form before it.")
                                       .arg(invalidBox)
                             : rolled && !compare
                                 ? QStringLiteral("The results were rolled as %1; roll again to "
                                                  "compare.")
                                       .arg(rolledAs)
                                 : QString());

    const int mode = m_form.m_nCheckMode;
    const int target = m_form.m_nCheckTarget;
    QString checker = Text(CheckerForecast(m_distribution, mode, target, m_form.m_nRolls));
    if (compare && mode != kCheckNone) {
        RollState counted = state;
        counted.m_nCheckMode = mode;
        counted.m_nCheckTarget = static_cast<std::int16_t>(target);
        checker +=
            QLatin1Char(' ') + Text(CheckerOutcome(m_distribution, mode, target,
                                                   state.m_nResultCount, CountMatches(counted)));
    }
    SetControlText(m_checker, mode == kCheckNone
                                  ? QStringLiteral("Choose Greater Than, Less Than or "
                                                   "Equal To to see the chance of meeting "
                                                   "the checker.")
                                  : checker);
    SetControlText(m_fairness, compare ? Text(FitSentence(TestFit(m_distribution, totals)))
                                       : QStringLiteral("Roll to test these dice for fairness."));
}

void StatsWindow::OnCopy() {
    m_services.SetClipboardText(Text(TabSeparatedTable(m_distribution)));
}

void StatsWindow::OnSave() {
    const QString path = m_services.ChooseSaveFile(this, QStringLiteral("Save Chances"),
                                                   QStringLiteral("alearo-chances.csv"),
                                                   QStringLiteral("CSV files (*.csv)"));
    if (!path.isEmpty() &&
        !ReplaceFileContents(QFile::encodeName(path).toStdString(), CsvTable(m_distribution))) {
        m_services.ShowError(this, QLatin1String(kTableWriteError) + QFileInfo(path).fileName());
    }
}

}  // namespace alearo
