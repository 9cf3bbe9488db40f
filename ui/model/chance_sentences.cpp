// SPDX-License-Identifier: MIT
#include "ui/model/chance_sentences.h"

#include <QCoreApplication>
#include <QStringList>

#include "stats/checker_chance.h"
#include "stats/decimal_text.h"
#include "stats/distribution_table.h"

namespace alearo {

namespace {

// The sentences' translation context.
struct Sentences {
    Q_DECLARE_TR_FUNCTIONS(ChanceSentences)
};

constexpr int kPercentDecimals = 1;
// The binomial tails of Boost.Math are within a few units of the last place
// of a double.
constexpr double kBinomialError = 1e-14;

QString Percent(dice::Chance chance, double relativeError) {
    return QString::fromStdString(PercentText(chance, kPercentDecimals, relativeError));
}

QString OneDecimal(double value) {
    return QString::fromStdString(FixedText(value, 1));
}

QString Rolls(int rolls) {
    return rolls == 1 ? Sentences::tr("1 roll") : Sentences::tr("%1 rolls").arg(rolls);
}

}  // namespace

QString Forecast(const Checker& checker, dice::Chance chance, double relativeError, int rolls) {
    QString sentence;
    switch (checker.mode) {
        case CheckMode::kAtLeast:
            sentence = Sentences::tr("Chance that one roll reaches %1: %2; expected %3 of %4.");
            break;
        case CheckMode::kAtMost:
            sentence =
                Sentences::tr("Chance that one roll stays at or below %1: %2; expected %3 of %4.");
            break;
        case CheckMode::kEqual:
            sentence =
                Sentences::tr("Chance that one roll comes out exactly %1: %2; expected %3 of %4.");
            break;
        case CheckMode::kNone:
            return {};
    }
    return sentence.arg(checker.target)
        .arg(Percent(chance, relativeError), OneDecimal(static_cast<double>(chance) * rolls),
             Rolls(rolls));
}

// "12 of 20 rolls reached 15; expected 8.2; 12 or more happens 4.1% of the
// time." The chance is that of a count at least as far from the expected one
// on the side where it fell.
QString CheckOutcome(const Checker& checker, double chance, int rolls, int matches) {
    QString sentence;
    switch (checker.mode) {
        case CheckMode::kAtLeast:
            sentence =
                Sentences::tr("%1 of %2 reached %3; expected %4; %5 happens %6 of the time.");
            break;
        case CheckMode::kAtMost:
            sentence = Sentences::tr(
                "%1 of %2 stayed at or below %3; expected %4; %5 happens %6 of the time.");
            break;
        case CheckMode::kEqual:
            sentence = Sentences::tr(
                "%1 of %2 came out exactly %3; expected %4; %5 happens %6 of the time.");
            break;
        case CheckMode::kNone:
            return {};
    }
    const CountTail tail = TailOfCount(matches, rolls, chance);
    QString extreme;
    if (tail.high) {
        extreme = matches >= rolls ? Sentences::tr("%1 of %1").arg(rolls)
                                   : Sentences::tr("%1 or more").arg(matches);
    } else {
        extreme = matches <= 0 ? Sentences::tr("0 of %1").arg(rolls)
                               : Sentences::tr("%1 or fewer").arg(matches);
    }
    return sentence.arg(matches)
        .arg(Rolls(rolls))
        .arg(checker.target)
        .arg(OneDecimal(chance * rolls), extreme, Percent(tail.chance, kBinomialError));
}

QString VerdictWord(dice::Verdict verdict) {
    switch (verdict) {
        case dice::Verdict::kHit:
            return Sentences::tr("hit");
        case dice::Verdict::kMiss:
            return Sentences::tr("miss");
        case dice::Verdict::kWin:
            return Sentences::tr("win");
        case dice::Verdict::kTie:
            return Sentences::tr("tie");
        case dice::Verdict::kLoss:
            return Sentences::tr("loss");
    }
    return {};
}

QString OddsText(const dice::Expression& versus, const dice::Odds& odds) {
    QStringList percents;
    for (const std::string& percent : OddsPercents(versus, odds)) {
        percents << QString::fromStdString(percent);
    }
    // In the order of dice::PossibleVerdicts.
    if (versus.target) {
        return Sentences::tr("hits %1, misses %2").arg(percents[0], percents[1]);
    }
    return Sentences::tr("wins %1, ties %2, loses %3").arg(percents[0], percents[1], percents[2]);
}

QString ComparedChance(const QString& name, dice::Chance chance, double relativeError) {
    return Sentences::tr("With %1: %2.").arg(name, Percent(chance, relativeError));
}

namespace {

QString PValue(double p) {
    if (p < 0.001) {
        return Sentences::tr("p < 0.001");
    }
    return Sentences::tr("p = %1").arg(
        QString::fromStdString(FixedText(p, p < kUnfitPValue ? 4 : 2)));
}

}  // namespace

QString FitSentence(const GoodnessOfFit& fit) {
    switch (fit.verdict) {
        case FitVerdict::kImpossibleTotal:
            return fit.impossibleTotals == 1
                       ? Sentences::tr(
                             "1 total cannot come from this roll, so these totals "
                             "were not rolled with it.")
                       : Sentences::tr(
                             "%1 totals cannot come from this roll, so these "
                             "totals were not rolled with it.")
                             .arg(fit.impossibleTotals);
        case FitVerdict::kTooFewRolls:
            if (fit.rollsNeeded == 0) {
                return Sentences::tr(
                    "Every roll of this kind gives the same total, so there is nothing to test.");
            }
            return Sentences::tr("Too few rolls to test fairness: at least %1 are needed.")
                .arg(fit.rollsNeeded);
        case FitVerdict::kTested:
            break;
    }
    const QString chiSquare = QString::fromStdString(FixedText(fit.chiSquare, 2));
    const QString numbers =
        fit.degreesOfFreedom == 1
            ? Sentences::tr("(chi-square %1, 1 degree of freedom, %2)")
                  .arg(chiSquare, PValue(fit.pValue))
            : Sentences::tr("(chi-square %1, %2 degrees of freedom, %3)")
                  .arg(chiSquare, QString::number(fit.degreesOfFreedom), PValue(fit.pValue));
    if (fit.pValue < kUnfitPValue) {
        return Sentences::tr(
                   "The totals differ from the chances of this roll more than luck usually "
                   "explains %1.")
            .arg(numbers);
    }
    return Sentences::tr("The totals fit the chances of this roll %1.").arg(numbers);
}

}  // namespace alearo
