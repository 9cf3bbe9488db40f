// SPDX-License-Identifier: MIT
#include "ui/model/dice_tray_model.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cmath>

#include "dice/chances.h"
#include "dice/parse.h"
#include "dice/roll_text.h"
#include "files/replace_file.h"
#include "ui/model/roll_sentence.h"
#include "ui/model/roller_model.h"
#include "ui/model/tray_files.h"

namespace alearo {

namespace {

// Rolls past kKeptRolls before the oldest are removed, in one go.
constexpr int kPruneBatch = 1000;
constexpr int kRecentKept = 20;
constexpr int kChancesKept = 64;

// Why an expression cannot be read ("Column 4: ..."), or empty.
QString ProblemText(const dice::ParseResult& parsed) {
    return parsed.ok() ? QString()
                       : DiceTrayModel::tr("Column %1: %2")
                             .arg(parsed.error.column)
                             .arg(QString::fromStdString(parsed.error.message));
}

Outcome WriteFile(const QString& path, const QByteArray& bytes) {
    return RollerModel::WrittenOrWhy(
        QFileInfo(path).fileName(),
        ReplaceFileContents(
            QFile::encodeName(path).toStdString(),
            std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size()))));
}

}  // namespace

DiceTrayModel::DiceTrayModel(const QString& folder, QObject* parent)
    : QObject(parent),
      m_store(folder),
      m_history(std::make_unique<HistoryModel>(m_store)),
      m_saved(std::make_unique<SavedRollsModel>(m_store)) {
    connect(&m_store, &TrayStoreThread::opened, this, &DiceTrayModel::opened);
    connect(&m_store, &TrayStoreThread::changed, this, &DiceTrayModel::changed);
    connect(&m_store, &TrayStoreThread::problem, this, &DiceTrayModel::setStoreStatus);
    connect(&m_worker, &ChanceWorker::busyChanged, m_history.get(), &HistoryModel::setWorking);
}

void DiceTrayModel::opened(const TrayStoreState& state) {
    m_history->reset(state.historyCount, state.firstId);
    m_saved->reload(state);
    if (!m_storeOpened) {
        // The completions start with the expressions of the last rolls.
        m_store.run(
            [count = state.historyCount](TrayStore& store) {
                return store.history(std::max(0, count - kRecentKept), kRecentKept);
            },
            [this](const std::vector<HistoryEntry>& last) {
                for (const HistoryEntry& entry : last) {
                    remember(entry.expression);
                }
            });
        m_storeOpened = true;
        emit storeOpenedChanged();
    }
}

void DiceTrayModel::changed(const TrayStoreState& state) {
    m_history->refresh(state.historyCount, state.firstId);
    m_saved->reload(state);
}

void DiceTrayModel::setStoreStatus(const QString& status) {
    m_storeStatus = status;
    emit storeStatusChanged(status);
}

QString DiceTrayModel::DataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void DiceTrayModel::setExpressionError(const QString& error) {
    if (m_expressionError != error) {
        m_expressionError = error;
        emit expressionErrorChanged(error);
    }
}

void DiceTrayModel::remember(const QString& expression) {
    QStringList recent = m_recent.stringList();
    recent.removeAll(expression);
    recent.prepend(expression);
    m_recent.setStringList(recent.mid(0, kRecentKept));
}

DiceTrayModel::ExpressionChances DiceTrayModel::ChancesOf(const dice::Expression& expression) {
    ExpressionChances chances{dice::ExactChances(expression), std::nullopt};
    if (expression.versus()) {
        chances.odds = dice::ExactOdds(expression, chances.totals);
    }
    return chances;
}

RollChances DiceTrayModel::ExpressionChances::of(int total) const {
    RollChances chances{static_cast<double>(totals.chanceAtLeast(total)),
                        static_cast<double>(totals.chanceAtMost(total))};
    if (odds) {
        chances.win = static_cast<double>(odds->win);
        chances.tie = static_cast<double>(odds->tie);
        chances.loss = static_cast<double>(odds->loss);
    }
    return chances;
}

void DiceTrayModel::askChances(const QString& key, const dice::Expression& expression,
                               Awaiting roll) {
    const auto known = m_chances.constFind(key);
    if (known == m_chances.cend()) {
        std::vector<Awaiting>& awaiting = m_awaiting[key];
        awaiting.push_back(roll);
        if (awaiting.size() == 1) {
            m_worker.run(
                ChanceWorker::kOwnLane, [expression] { return ChancesOf(expression); },
                [this, key, expression](ExpressionChances chances) {
                    chancesCame(key, expression, std::move(chances));
                });
        }
    } else if (known->totals.knows(roll.total)) {
        setChances(roll.id, known->of(roll.total));
    } else {
        // Past the totals listed: worked out for this one alone.
        m_worker.run(
            ChanceWorker::kOwnLane,
            [expression, odds = known->odds, total = roll.total] {
                return ExpressionChances{
                    dice::ExactChances(expression, dice::TotalRange{total, total}), odds}
                    .of(total);
            },
            [this, id = roll.id](const RollChances& chances) { setChances(id, chances); });
    }
}

void DiceTrayModel::chancesCame(const QString& key, const dice::Expression& expression,
                                ExpressionChances chances) {
    if (m_chances.size() >= kChancesKept) {
        m_chances.clear();
    }
    m_chances.emplace(key, std::move(chances));
    for (const Awaiting& roll : m_awaiting.take(key)) {
        askChances(key, expression, roll);
    }
}

void DiceTrayModel::setChances(qint64 id, const RollChances& chances) {
    m_history->setChances(id, chances);
    m_store.run([id, chances](TrayStore& store) { store.setChances(id, chances); });
}

QString DiceTrayModel::ProblemOf(const QString& expression) {
    return ProblemText(dice::ParseExpression(expression.toStdString()));
}

bool DiceTrayModel::saveTyped(const QString& expression, const QString& label) {
    setExpressionError(ProblemOf(expression));
    if (!m_expressionError.isEmpty()) {
        return false;
    }
    m_saved->add(
        {label.trimmed().isEmpty() ? expression.trimmed() : label.trimmed(), expression.trimmed()});
    return !m_saved->unreadable();
}

bool DiceTrayModel::roll(const QString& expression, const QString& label) {
    const dice::ParseResult parsed = dice::ParseExpression(expression.toStdString());
    setExpressionError(ProblemText(parsed));
    if (!parsed.ok()) {
        return false;
    }
    const dice::Expression& typed = *parsed.expression;
    dice::Roll(typed, m_generator, m_roll);
    const std::string canonical = dice::CanonicalText(typed);
    const int total = m_roll.total;
    HistoryEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.label = label.trimmed();
    entry.expression = QString::fromStdString(canonical);
    entry.total = total;
    entry.dice = QString::fromStdString(dice::RollText(typed, m_roll));
    entry.spoken = RollSentence(entry.label, typed, m_roll);
    if (typed.versus()) {
        entry.verdict = dice::VerdictOf(typed, total, m_roll.opponentTotal);
        entry.opponentTotal = m_roll.opponentTotal;
    }
    const auto known = m_chances.constFind(entry.expression);
    entry.setChances(known != m_chances.cend() && known->totals.knows(total) ? known->of(total)
                                                                             : RollChances{});
    entry.id = --m_lastNewId;
    m_history->append(entry);
    m_store.run(
        [entry](TrayStore& store) mutable {
            store.append(entry);
            return std::tuple{entry.id, store.historyCount(), store.firstId()};
        },
        [this, id = entry.id](std::tuple<qint64, int, int> stored) {
            const auto [storedId, count, firstId] = stored;
            m_history->written(id, storedId, count, firstId);
            if (!m_pruneDue && count > kKeptRolls + kPruneBatch) {
                m_pruneDue = true;
                prune();
            }
        });
    if (!entry.chancesKnown()) {
        askChances(entry.expression, typed, {entry.id, total});
    }
    remember(expression.trimmed());
    // Chances that come later are not announced again: the entry's
    // sentence takes them.
    emit rolled(HistoryModel::SpokenText(entry));
    return true;
}

bool DiceTrayModel::rollAgain(int historyRow) {
    const HistoryEntry entry = m_history->entry(historyRow);
    return !entry.expression.isEmpty() && roll(entry.expression, entry.label);
}

bool DiceTrayModel::rollSaved(int savedRow) {
    if (savedRow < 0 || savedRow >= m_saved->rowCount()) {
        return false;
    }
    // A roll saved under its own expression has no label to repeat.
    const SavedRoll& saved = m_saved->rolls()[static_cast<std::size_t>(savedRow)];
    return roll(saved.expression, saved.name == saved.expression ? QString() : saved.name);
}

void DiceTrayModel::prune() {
    m_store.run(
        [](TrayStore& store) {
            store.prune(kKeptRolls);
            return std::pair{store.historyCount(), store.firstId()};
        },
        [this](std::pair<int, int> state) {
            m_pruneDue = false;
            m_history->sync(state.first, state.second);
        });
}

void DiceTrayModel::clearHistory() {
    m_history->clear();
    m_store.run(
        [](TrayStore& store) {
            store.clearHistory();
            return std::pair{store.historyCount(), store.firstId()};
        },
        [this](std::pair<int, int> state) { m_history->sync(state.first, state.second); });
}

SavedRoll DiceTrayModel::savedRollOf(int historyRow) const {
    const HistoryEntry entry = m_history->entry(historyRow);
    return {entry.label.isEmpty() ? entry.expression : entry.label, entry.expression};
}

SavedRoll DiceTrayModel::savedRoll(int savedRow) const {
    const std::vector<SavedRoll>& rolls = m_saved->rolls();
    return savedRow >= 0 && savedRow < static_cast<int>(rolls.size())
               ? rolls[static_cast<std::size_t>(savedRow)]
               : SavedRoll{};
}

void DiceTrayModel::saveEntry(int historyRow) {
    if (historyRow >= 0 && historyRow < m_history->rowCount()) {
        m_saved->add(savedRollOf(historyRow));
    }
}

void DiceTrayModel::renameSaved(int savedRow, const QString& name) {
    m_saved->rename(savedRow, name);
}

void DiceTrayModel::editSaved(int savedRow, const QString& expression) {
    m_saved->setExpression(savedRow, expression);
}

void DiceTrayModel::removeSaved(int savedRow) {
    m_saved->remove(savedRow);
}

void DiceTrayModel::undoRemoveSaved() {
    m_saved->undoRemove();
}

bool DiceTrayModel::moveSaved(int savedRow, int to) {
    return m_saved->move(savedRow, to);
}

QString DiceTrayModel::entryText(int historyRow) const {
    return HistoryModel::CopiedText(m_history->entry(historyRow));
}

Outcome DiceTrayModel::importSaved(const QString& path, const ClashChoice& choose) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Outcome::Failed(
            tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    const SavedRollsRead read = ReadSavedRollsJson(file.readAll());
    if (!read.error.isEmpty()) {
        return Outcome::Failed(
            tr("%1 holds no saved rolls. %2").arg(QDir::toNativeSeparators(path), read.error));
    }
    // Worked out on a copy and kept in one write: an import stopped half
    // way leaves the saved rolls as they were.
    std::vector<SavedRoll> rolls = m_saved->rolls();
    const auto named = [&rolls](const QString& name) {
        return std::find_if(rolls.begin(), rolls.end(),
                            [&name](const SavedRoll& kept) { return kept.name == name; });
    };
    int imported = 0;
    for (SavedRoll roll : read.rolls) {
        const auto taken = named(roll.name);
        if (taken != rolls.end()) {
            const Clash choice = choose(*taken, roll);
            if (choice == Clash::kSkip) {
                continue;
            }
            if (choice == Clash::kReplace) {
                *taken = {roll.name, roll.expression, taken->id};
                ++imported;
                continue;
            }
            const QString base = roll.name;
            for (int n = 2; named(roll.name) != rolls.end(); ++n) {
                roll.name = tr("%1 (%2)").arg(base).arg(n);
            }
        }
        rolls.push_back(roll);
        ++imported;
    }
    m_saved->setRolls(rolls);
    QString report =
        imported == 1 ? tr("1 saved roll imported.") : tr("%1 saved rolls imported.").arg(imported);
    if (!read.problems.isEmpty()) {
        report += QLatin1Char(' ') + tr("Not imported:") + QLatin1Char('\n') +
                  read.problems.join(QLatin1Char('\n'));
    }
    return Outcome::Done(report);
}

Outcome DiceTrayModel::exportSaved(const QString& path) const {
    return WriteFile(path, SavedRollsJson(m_saved->rolls()));
}

void DiceTrayModel::exportHistory(const QString& path) {
    // One query, so that one snapshot: another Alearo's prune meanwhile
    // neither repeats nor skips a roll.
    m_store.run(
        [path](TrayStore& store) {
            return WriteFile(path, HistoryCsv(store.history(0, store.historyCount())));
        },
        [this](const Outcome& written) { emit historyExported(written); });
}

}  // namespace alearo
