// SPDX-License-Identifier: MIT
#include "ui/model/statistics_model.h"

#include <QFile>
#include <QFileInfo>

#include "dice/chances.h"
#include "dice/parse.h"
#include "engine/limits.h"
#include "engine/texts.h"
#include "files/replace_file.h"
#include "stats/checker_chance.h"
#include "stats/distribution_table.h"
#include "stats/goodness_of_fit.h"
#include "ui/model/chance_sentences.h"
#include "ui/model/roller_model.h"

namespace alearo {

namespace {

enum Lane { kFormLane, kComparisonLane };

}  // namespace

StatisticsModel::StatisticsModel(const RollerModel& roller, QObject* parent)
    : QObject(parent), m_roller(roller) {
    connect(&roller, &RollerModel::formChanged, this, &StatisticsModel::refresh);
    connect(&m_worker, &ChanceWorker::busyChanged, this, &StatisticsModel::changed);
    refresh();
}

QString StatisticsModel::working() const {
    return m_worker.busy() ? tr("Working out the chances\u2026") : QString();
}

void StatisticsModel::refresh() {
    const RollerModel::FormReading form = m_roller.readForm();
    const bool valid = !form.invalidEntry.has_value();
    if (valid) {
        m_checker = form.checker;
        m_rolls = form.rolls;
        if (!m_hasForm || form.spec != m_spec) {
            m_spec = form.spec;
            m_hasForm = true;
            requestDistribution();
        }
    }
    if (!m_shownSpec) {
        return;
    }
    showResults(valid, valid ? QString() : RollerModel::NameOf(*form.invalidEntry));
    emit changed();
}

namespace {

// "Lowest 3, highest 18, mean 10.50, standard deviation 2.96, median 10, most
// likely 10." Exploding dice have no highest total (subtracted, no lowest).
QString SummaryOf(const TotalDistribution& distribution) {
    const DistributionSummary summary = Summarize(distribution);
    return StatisticsModel::tr(
               "Lowest %1, highest %2, mean %3, standard deviation %4, median "
               "%5, most likely %6.")
        .arg(distribution.hasLowest ? QString::number(summary.minimum)
                                    : StatisticsModel::tr("none"))
        .arg(distribution.hasHighest ? QString::number(summary.maximum)
                                     : StatisticsModel::tr("none"))
        .arg(summary.mean, 0, 'f', 2)
        .arg(summary.standardDeviation, 0, 'f', 2)
        .arg(summary.median)
        .arg(summary.mostLikely);
}

}  // namespace

void StatisticsModel::requestDistribution() {
    const RollSpec spec = m_spec;
    m_worker.run(
        kFormLane, [spec] { return ComputeDistribution(spec); },
        [this, spec](TotalDistribution distribution) {
            showDistribution(std::move(distribution), spec);
        });
}

void StatisticsModel::showDistribution(TotalDistribution distribution, const RollSpec& spec) {
    m_distribution = std::move(distribution);
    m_shownSpec = spec;
    m_description = QString::fromStdString(DescriptionLine(spec));
    m_summary = SummaryOf(m_distribution);
    showTable();
    refresh();
}

void StatisticsModel::showTable() {
    m_table.setDistributions(m_distribution, m_comparison);
}

void StatisticsModel::setComparisonText(const QString& text) {
    m_comparisonText = text;
    m_comparisonError.clear();
    if (text.trimmed().isEmpty()) {
        m_worker.drop(kComparisonLane);
        showComparison(std::nullopt, {});
        return;
    }
    const dice::ParseResult parsed = dice::ParseExpression(text.toStdString());
    if (!parsed.ok()) {
        // The last valid comparison stays while the player corrects the text.
        m_comparisonError = tr("Column %1: %2")
                                .arg(parsed.error.column)
                                .arg(QString::fromStdString(parsed.error.message));
    } else {
        const dice::Expression expression = *parsed.expression;
        // Every total the checker can name is listed, even past where the
        // table of an expression without end would stop.
        m_worker.run(
            kComparisonLane,
            [expression] {
                return dice::ExactChances(expression, dice::TotalRange{kCheckTargetRange.minimum,
                                                                       kCheckTargetRange.maximum});
            },
            [this, name = QString::fromStdString(dice::CanonicalText(expression))](
                TotalDistribution chances) { showComparison(std::move(chances), name); });
    }
    emit changed();
}

void StatisticsModel::showComparison(std::optional<TotalDistribution> chances,
                                     const QString& name) {
    m_comparison = std::move(chances);
    m_comparisonName = name;
    m_comparisonSummary =
        m_comparison ? name + QLatin1String(": ") + SummaryOf(*m_comparison) : QString();
    showTable();
    refresh();
}

void StatisticsModel::showResults(bool formValid, const QString& invalidName) {
    const std::optional<RollSpec>& rolled = m_roller.rolledAs();
    const std::vector<RollResult>& results = m_roller.results();
    const bool compare = rolled && *rolled == *m_shownSpec && !results.empty();

    std::vector<int> totals;
    m_chart = {m_distribution.minTotal,
               {m_distribution.exactly.begin(), m_distribution.exactly.end()},
               {},
               0,
               {},
               m_comparisonName};
    if (m_comparison) {
        m_chart.comparedFirstTotal = m_comparison->minTotal;
        m_chart.compared.assign(m_comparison->exactly.begin(), m_comparison->exactly.end());
    }
    if (compare) {
        m_chart.observed.assign(m_distribution.exactly.size(), 0.0);
        for (const RollResult& result : results) {
            totals.push_back(result.total);
            m_chart.observed.at(static_cast<std::size_t>(result.total - m_distribution.minTotal)) +=
                1.0 / static_cast<double>(results.size());
        }
    }

    if (!formValid) {
        m_status = tr("The %1 box holds no valid number; the chances shown are for the form "
                      "before it.")
                       .arg(invalidName);
    } else if (rolled && !compare) {
        m_status = tr("The results were rolled as %1; roll again to compare.")
                       .arg(QString::fromStdString(RollExpression(*rolled)));
    } else {
        m_status.clear();
    }

    if (const std::optional<dice::Chance> chance = CheckerChance(m_distribution, m_checker)) {
        m_checkerChance = Forecast(m_checker, *chance, m_distribution.relativeError, m_rolls);
        if (compare) {
            const int rolls = static_cast<int>(results.size());
            m_checkerChance +=
                QLatin1Char(' ') + CheckOutcome(m_checker, static_cast<double>(*chance), rolls,
                                                CountMatches(m_checker, results));
        }
        if (m_comparison) {
            m_checkerChance +=
                QLatin1Char(' ') + ComparedChance(m_comparisonName,
                                                  *CheckerChance(*m_comparison, m_checker),
                                                  m_comparison->relativeError);
        }
    } else {
        m_checkerChance =
            tr("Choose Greater Than, Less Than or Equal To to see the chance of "
               "meeting the checker.");
    }
    m_fairness = compare ? FitSentence(TestFit(m_distribution, totals))
                         : tr("Roll to test these dice for fairness.");
}

QString StatisticsModel::tableText() const {
    return QString::fromStdString(
        TabSeparatedTable(m_distribution, m_comparison ? &*m_comparison : nullptr));
}

Outcome StatisticsModel::saveTable(const QString& path) {
    return RollerModel::WrittenOrWhy(
        QFileInfo(path).fileName(),
        ReplaceFileContents(QFile::encodeName(path).toStdString(),
                            CsvTable(m_distribution, m_comparison ? &*m_comparison : nullptr)));
}

}  // namespace alearo
