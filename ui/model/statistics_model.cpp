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

// "most likely 10", "most likely 10 and 11", "most likely 1 to 5" (a run of
// more than two), or "every total equally likely".
QString MostLikelyText(const TotalDistribution& distribution, const std::vector<int>& totals) {
    if (totals.empty()) {
        return StatisticsModel::tr("most likely none");
    }
    const bool every = distribution.hasLowest && distribution.hasHighest && totals.size() > 1 &&
                       totals.size() == distribution.exactly.size();
    if (every) {
        return StatisticsModel::tr("every total equally likely");
    }
    const bool run =
        totals.size() > 2 && totals.back() - totals.front() + 1 == static_cast<int>(totals.size());
    if (run) {
        return StatisticsModel::tr("most likely %1 to %2").arg(totals.front()).arg(totals.back());
    }
    QStringList listed;
    for (const int total : totals) {
        listed << QString::number(total);
    }
    const QString last = listed.takeLast();
    return listed.isEmpty() ? StatisticsModel::tr("most likely %1").arg(last)
                            : StatisticsModel::tr("most likely %1 and %2")
                                  .arg(listed.join(QLatin1String(", ")), last);
}

// "Lowest 3, highest 18, mean 10.50, standard deviation 2.96, median 10, most
// likely 10 and 11." Exploding dice have no highest total (subtracted, no
// lowest).
QString SummaryOf(const TotalDistribution& distribution) {
    const DistributionSummary summary = Summarize(distribution);
    return StatisticsModel::tr(
               "Lowest %1, highest %2, mean %3, standard deviation %4, median "
               "%5, %6.")
        .arg(distribution.hasLowest ? QString::number(summary.minimum)
                                    : StatisticsModel::tr("none"))
        .arg(distribution.hasHighest ? QString::number(summary.maximum)
                                     : StatisticsModel::tr("none"))
        .arg(summary.mean, 0, 'f', 2)
        .arg(summary.standardDeviation, 0, 'f', 2)
        .arg(summary.median)
        .arg(MostLikelyText(distribution, summary.mostLikely));
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
    showOdds();
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
        showComparison({}, {});
        return;
    }
    // "vs 15" sets a target for the form's roll; "vs 2d6" is 2d6.
    const std::string typed = text.toStdString();
    const bool versusOnly = text.trimmed().startsWith(QLatin1String("vs"), Qt::CaseInsensitive);
    const dice::ParseResult parsed =
        versusOnly ? dice::ParseVersus(typed) : dice::ParseExpression(typed);
    if (!parsed.ok()) {
        // The last valid comparison stays while the player corrects the text.
        m_comparisonError = tr("Column %1: %2")
                                .arg(parsed.error.column)
                                .arg(QString::fromStdString(parsed.error.message));
    } else if (versusOnly && parsed.expression->opposed()) {
        compareWith(dice::OpponentSide(*parsed.expression));
    } else {
        compareWith(*parsed.expression);
    }
    emit changed();
}

void StatisticsModel::compareWith(const dice::Expression& typed) {
    if (typed.terms.empty()) {
        m_worker.drop(kComparisonLane);
        showComparison({}, typed);
        return;
    }
    // Every total the checker can name is listed, even past where the
    // table of an expression without end would stop.
    m_worker.run(
        kComparisonLane,
        [typed] {
            return Compared{dice::ExactChances(dice::RollSide(typed),
                                               dice::TotalRange{kCheckTargetRange.minimum,
                                                                kCheckTargetRange.maximum}),
                            typed.versus() ? dice::ExactOdds(typed) : std::nullopt};
        },
        [this, typed](Compared compared) { showComparison(std::move(compared), typed); });
}

void StatisticsModel::showComparison(Compared compared, const dice::Expression& typed) {
    m_comparison = std::move(compared.chances);
    m_comparedOdds = compared.odds;
    m_compared = typed;
    m_comparisonName = QString::fromStdString(dice::CanonicalText(dice::RollSide(typed)));
    m_comparedSummary = m_comparison
                            ? m_comparisonName + QLatin1String(": ") + SummaryOf(*m_comparison)
                            : QString();
    showTable();
    showOdds();
    refresh();
}

dice::Expression StatisticsModel::formVersus() const {
    dice::Expression versus;
    versus.target = m_compared.target;
    if (!versus.target && m_comparison) {
        versus.opponent = m_compared.terms;
    }
    return versus;
}

std::optional<dice::Odds> StatisticsModel::formOdds() const {
    if (m_compared.target) {
        return dice::OddsAgainstTarget(m_distribution, *m_compared.target);
    }
    return m_comparison ? dice::OddsAgainst(m_distribution, *m_comparison) : std::nullopt;
}

// The compared expression's summary, then the odds of the form's roll
// against it ("The roll vs 2d6: wins 40.28%, ...") and of its own "vs".
void StatisticsModel::showOdds() {
    QStringList lines;
    if (!m_comparedSummary.isEmpty()) {
        lines << m_comparedSummary;
    }
    const dice::Expression versus = formVersus();
    const auto oddsLine = [](const QString& name, const dice::Expression& versus,
                             const std::optional<dice::Odds>& odds) {
        return odds ? tr("%1: %2.").arg(name, OddsText(versus, *odds))
                    : tr("%1: a chance too small to work out.").arg(name);
    };
    if (m_shownSpec && versus.versus()) {
        const QString name =
            tr("The roll vs %1").arg(QString::fromStdString(dice::VersusText(versus)));
        lines << oddsLine(name, versus, formOdds());
    }
    if (!m_compared.terms.empty() && m_compared.versus() && m_comparison) {
        lines << oddsLine(QString::fromStdString(dice::CanonicalText(m_compared)), m_compared,
                          m_comparedOdds);
    }
    m_comparisonSummary = lines.join(QLatin1Char(' '));
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

// The table, then after an empty line the odds of the form's roll against
// the comparison or the target, when there are some.
std::string StatisticsModel::tableIn(TableFormat format) const {
    std::string text;
    const TextSink sink = [&text](std::string_view line) { text += line; };
    WriteTable(m_distribution, m_comparison ? &*m_comparison : nullptr, format, sink);
    const dice::Expression versus = formVersus();
    if (versus.versus()) {
        if (const std::optional<dice::Odds> odds = formOdds()) {
            text += LineEnd(format);
            WriteOddsTable(versus, *odds, format, sink);
        }
    }
    return text;
}

QString StatisticsModel::tableText() const {
    return QString::fromStdString(tableIn(TableFormat::kTabSeparated));
}

Outcome StatisticsModel::saveTable(const QString& path) {
    return RollerModel::WrittenOrWhy(QFileInfo(path).fileName(),
                                     ReplaceFileContents(QFile::encodeName(path).toStdString(),
                                                         tableIn(TableFormat::kCommaSeparated)));
}

}  // namespace alearo
