// SPDX-License-Identifier: MIT
#include "ui/model/roll_sentence.h"

#include <QCoreApplication>
#include <QStringList>

#include "dice/odds.h"
#include "ui/model/chance_sentences.h"

namespace alearo {

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("RollSentence", text);
}

// "4", "4 and 2", "6, 4 and 2".
QString Listed(const QStringList& items) {
    if (items.size() < 2) {
        return items.join(QString());
    }
    return Tr("%1 and %2")
        .arg(items.mid(0, items.size() - 1).join(QLatin1String(", ")), items.last());
}

// `first` for the term that opens the sentence's dice: later ones go on in
// lower case after a semicolon.
QString TermSentence(const dice::DiceTerm& term, const dice::TermRoll& roll, bool first) {
    QStringList values, dropped, rerolled, exploded, limited, successes;
    for (const dice::DieRoll& die : roll.dice) {
        const QString value = QString::number(die.value);
        values << value;
        if (die.dropped) {
            dropped << value;
        }
        for (const int face : die.rerolled) {
            rerolled << Tr("a %1 rolled again as %2").arg(face).arg(die.faces.front());
        }
        int sum = 0;
        QStringList chain;
        for (const int face : die.faces) {
            sum += face;
            chain << QString::number(face);
        }
        if (chain.size() > 1) {
            exploded << Tr("%1 from %2").arg(sum).arg(chain.join(QLatin1Char('+')));
        }
        if (sum + term.faceOffset != die.value) {
            limited << (die.value > sum + term.faceOffset ? Tr("%1 raised to %2")
                                                          : Tr("%1 lowered to %2"))
                           .arg(sum + term.faceOffset)
                           .arg(die.value);
        }
        if (die.success && !die.dropped) {
            successes << value;
        }
    }
    QString sentence = (values.size() == 1 ? (first ? Tr("Die %1") : Tr("die %1"))
                                           : (first ? Tr("Dice %1") : Tr("dice %1")))
                           .arg(Listed(values));
    const auto add = [&sentence](const QString& clause) {
        sentence += QLatin1String(", ") + clause;
    };
    if (!exploded.isEmpty()) {
        add(Tr("exploding: %1").arg(Listed(exploded)));
    }
    if (!rerolled.isEmpty()) {
        add(Listed(rerolled));
    }
    if (!limited.isEmpty()) {
        add(Listed(limited));
    }
    if (!dropped.isEmpty()) {
        add(Tr("the %1 dropped").arg(Listed(dropped)));
    }
    if (term.success) {
        add(successes.isEmpty() ? Tr("no success")
            : successes.size() == 1
                ? Tr("1 success: the %1").arg(successes.front())
                : Tr("%1 successes: the %2").arg(successes.size()).arg(Listed(successes)));
    }
    return sentence;
}

}  // namespace

QString RollSentence(const QString& label, const dice::Expression& expression,
                     const dice::RollResult& roll) {
    QString sentence = label.isEmpty() ? QString() : label + QLatin1String(", ");
    sentence += QString::fromStdString(dice::CanonicalText(expression)) + QLatin1String(": ") +
                QString::number(roll.total);
    if (expression.opposed()) {
        sentence += Tr(" against %1").arg(roll.opponentTotal);
    }
    if (expression.versus()) {
        sentence += QLatin1String(", ") +
                    VerdictWord(dice::VerdictOf(expression, roll.total, roll.opponentTotal));
    }
    sentence += QLatin1Char('.');
    QStringList terms;
    for (std::size_t i = 0; i < expression.terms.size() && i < roll.terms.size(); ++i) {
        if (expression.terms[i].isDice) {
            terms << TermSentence(expression.terms[i].dice, roll.terms[i], terms.isEmpty());
        }
    }
    for (std::size_t i = 0; i < expression.opponent.size() && i < roll.opponentTerms.size(); ++i) {
        if (expression.opponent[i].isDice) {
            const QString dice =
                TermSentence(expression.opponent[i].dice, roll.opponentTerms[i], false);
            terms
                << (terms.isEmpty() ? Tr("The opponent's %1") : Tr("the opponent's %1")).arg(dice);
        }
    }
    if (!terms.isEmpty()) {
        sentence += QLatin1Char(' ') + terms.join(QLatin1String("; ")) + QLatin1Char('.');
    }
    return sentence;
}

}  // namespace alearo
