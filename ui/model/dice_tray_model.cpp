// SPDX-License-Identifier: MIT
#include "ui/model/dice_tray_model.h"

#include <QDir>
#include <QFile>
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
    return parsed.Ok() ? QString()
                       : DiceTrayModel::tr("Column %1: %2")
                             .arg(parsed.error.column)
                             .arg(QString::fromStdString(parsed.error.message));
}

QString WriteFile(const QString& path, const QByteArray& bytes) {
    const std::error_code error =
        ReplaceFileContents(QFile::encodeName(path).toStdString(),
                            std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    return error ? QString::fromStdString(error.message()) : QString();
}

}  // namespace

DiceTrayModel::DiceTrayModel(const QString& folder, QObject* parent)
    : QObject(parent),
      m_store(std::make_unique<TrayStore>(folder)),
      m_history(std::make_unique<HistoryModel>(*m_store)),
      m_saved(std::make_unique<SavedRollsModel>(*m_store)) {
    connect(m_saved.get(), &SavedRollsModel::stored, this, &DiceTrayModel::tellProblems);
    m_pendingTimer.setInterval(kPendingRetryMs);
    connect(&m_pendingTimer, &QTimer::timeout, this, &DiceTrayModel::writePending);
    m_watchTimer.setInterval(kWatchMs);
    connect(&m_watchTimer, &QTimer::timeout, this, &DiceTrayModel::readChangesElsewhere);
    m_watchTimer.start();
    tellProblems();  // what opening the file came to
    connect(&m_worker, &ChanceWorker::busyChanged, m_history.get(), &HistoryModel::setWorking);
    // The completions start with the expressions of the last rolls.
    const int count = m_history->rowCount();
    for (int row = std::max(0, count - kRecentKept); row < count; ++row) {
        remember(m_history->entry(row).expression);
    }
}

// What a failed write left in memory is tried once more at close.
DiceTrayModel::~DiceTrayModel() {
    m_store->writePending();
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

void DiceTrayModel::askChances(const QString& key, const dice::Expression& expression,
                               Awaiting roll) {
    const auto known = m_chances.constFind(key);
    if (known == m_chances.cend()) {
        std::vector<Awaiting>& awaiting = m_awaiting[key];
        awaiting.push_back(roll);
        if (awaiting.size() == 1) {
            m_worker.run(
                ChanceWorker::kOwnLane, [expression] { return dice::ExactChances(expression); },
                [this, key, expression](dice::TotalDistribution chances) {
                    chancesCame(key, expression, std::move(chances));
                });
        }
    } else if (known->Knows(roll.total)) {
        setChances(roll.id, static_cast<double>(known->AtLeast(roll.total)),
                   static_cast<double>(known->AtMost(roll.total)));
    } else {
        // Past the totals listed: worked out for this one alone.
        m_worker.run(
            ChanceWorker::kOwnLane,
            [expression, total = roll.total] {
                const dice::TotalDistribution far =
                    dice::ExactChances(expression, dice::TotalRange{total, total});
                return std::pair{static_cast<double>(far.AtLeast(total)),
                                 static_cast<double>(far.AtMost(total))};
            },
            [this, id = roll.id](std::pair<double, double> chances) {
                setChances(id, chances.first, chances.second);
            });
    }
}

void DiceTrayModel::chancesCame(const QString& key, const dice::Expression& expression,
                                dice::TotalDistribution chances) {
    if (m_chances.size() >= kChancesKept) {
        m_chances.clear();
    }
    m_chances.emplace(key, std::move(chances));
    for (const Awaiting& roll : m_awaiting.take(key)) {
        askChances(key, expression, roll);
    }
}

void DiceTrayModel::setChances(qint64 id, double atLeast, double atMost) {
    m_store->setChances(id, atLeast, atMost);
    m_history->chancesChanged();
    tellProblems();
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
    return m_saved->readable();
}

bool DiceTrayModel::roll(const QString& expression, const QString& label) {
    const dice::ParseResult parsed = dice::ParseExpression(expression.toStdString());
    setExpressionError(ProblemText(parsed));
    if (!parsed.Ok()) {
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
    const auto known = m_chances.constFind(entry.expression);
    if (known != m_chances.cend() && known->Knows(total)) {
        entry.atLeast = static_cast<double>(known->AtLeast(total));
        entry.atMost = static_cast<double>(known->AtMost(total));
    } else {
        entry.atLeast = entry.atMost = HistoryEntry::kUnknownChance;
    }
    m_store->append(entry);
    m_history->appended();
    if (!entry.chancesKnown()) {
        askChances(entry.expression, typed, {entry.id, total});
    }
    remember(expression.trimmed());
    // Chances that come later are not announced again: the entry's
    // sentence takes them.
    emit rolled(HistoryModel::SpokenText(entry));
    tellProblems();
    if (!m_pruneDue && m_store->historyCount() > kKeptRolls + kPruneBatch) {
        m_pruneDue = true;
        QTimer::singleShot(0, this, &DiceTrayModel::prune);
    }
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
    m_pruneDue = false;
    if (m_store->prune(kKeptRolls) > 0) {
        m_history->appended();
    }
    tellProblems();
}

void DiceTrayModel::clearHistory() {
    m_store->clearHistory();
    m_history->reset();
    tellProblems();
}

void DiceTrayModel::writePending() {
    if (m_store->writePending()) {
        m_history->reset();  // the file came into use, with its rolls
    }
    m_saved->reload();
    tellProblems();
}

void DiceTrayModel::readChangesElsewhere() {
    if (m_store->changedElsewhere()) {
        m_history->refresh();
        m_saved->reload();
        tellProblems();
    }
}

// A write that failed leaves its rolls in memory, tried again every few
// seconds until the file takes them; saved rolls that could not be read are
// read again as often.
void DiceTrayModel::tellProblems() {
    if (!m_store->hasPending() && m_saved->readable()) {
        m_pendingTimer.stop();
    } else if (!m_pendingTimer.isActive()) {
        m_pendingTimer.start();
    }
    const QString problem = m_store->takeProblem();
    if (!problem.isEmpty()) {
        m_storeStatus = problem;
        emit storeStatusChanged(problem);
    }
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

QString DiceTrayModel::WriteErrorMessage(const QString& fileName) {
    return RollerModel::writeErrorMessage(fileName);
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

DiceTrayModel::ImportReport DiceTrayModel::importSaved(const QString& path,
                                                       const ClashChoice& choose) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {
            tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString())};
    }
    const SavedRollsRead read = ReadSavedRollsJson(file.readAll());
    if (!read.error.isEmpty()) {
        return {tr("%1 holds no saved rolls. %2").arg(QDir::toNativeSeparators(path), read.error)};
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
    return {report, true};
}

QString DiceTrayModel::exportSaved(const QString& path) const {
    return WriteFile(path, SavedRollsJson(m_saved->rolls()));
}

QString DiceTrayModel::exportHistory(const QString& path) const {
    // One query, so that one snapshot: another Alearo's prune meanwhile
    // neither repeats nor skips a roll.
    return WriteFile(path, HistoryCsv(m_store->history(0, m_store->historyCount())));
}

}  // namespace alearo
