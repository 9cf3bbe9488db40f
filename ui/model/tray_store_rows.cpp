// SPDX-License-Identifier: MIT
// The rows of the dice tray's file: the history and the saved rolls, read
// and written by the names of their columns.
#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include "ui/model/tray_schema.h"
#include "ui/model/tray_store.h"

namespace alearo {

namespace {

namespace history = tray_schema::history;
namespace saved = tray_schema::saved;

// The place of each column of the history in a query's rows, found once a query.
struct HistoryColumns {
    explicit HistoryColumns(const QSqlRecord& record)
        : id(record.indexOf(history::kId)),
          time(record.indexOf(history::kTime)),
          label(record.indexOf(history::kLabel)),
          expression(record.indexOf(history::kExpression)),
          total(record.indexOf(history::kTotal)),
          dice(record.indexOf(history::kDice)),
          spoken(record.indexOf(history::kSpoken)),
          atLeast(record.indexOf(history::kAtLeast)),
          atMost(record.indexOf(history::kAtMost)),
          verdict(record.indexOf(history::kVerdict)),
          opponentTotal(record.indexOf(history::kOpponentTotal)),
          win(record.indexOf(history::kWin)),
          tie(record.indexOf(history::kTie)),
          loss(record.indexOf(history::kLoss)) {}

    HistoryEntry entryAt(const QSqlQuery& query) const {
        HistoryEntry entry;
        entry.id = query.value(id).toLongLong();
        entry.time = QDateTime::fromString(query.value(time).toString(), Qt::ISODate);
        entry.label = query.value(label).toString();
        entry.expression = query.value(expression).toString();
        entry.total = query.value(total).toInt();
        entry.dice = query.value(dice).toString();
        entry.spoken = query.value(spoken).toString();
        entry.atLeast = query.value(atLeast).toDouble();
        entry.atMost = query.value(atMost).toDouble();
        entry.verdict = dice::VerdictNamed(query.value(verdict).toString().toStdString());
        entry.opponentTotal = query.value(opponentTotal).toInt();
        entry.win = query.value(win).toDouble();
        entry.tie = query.value(tie).toDouble();
        entry.loss = query.value(loss).toDouble();
        return entry;
    }

    int id, time, label, expression, total, dice, spoken, atLeast, atMost;
    int verdict, opponentTotal, win, tie, loss;
};

QString Bind(QLatin1String column) {
    return QStringLiteral(":%1").arg(column);
}

// A statement with the tables' and columns' names put in for %1, %2, ...
QString Sql(const char* text, std::initializer_list<QLatin1String> names) {
    QString statement = QString::fromLatin1(text);
    for (const QLatin1String name : names) {
        statement = statement.arg(name);
    }
    return statement;
}

}  // namespace

bool TrayStore::usable() const {
    return m_db.isOpen();
}

int TrayStore::firstId() {
    QSqlQuery query(m_db);
    return usable() && query.exec(Sql("SELECT MIN(%1) FROM %2", {history::kId, history::kTable})) &&
                   query.next()
               ? query.value(0).toInt()
               : 0;
}

int TrayStore::storedCount() {
    // The ids run without gaps: each roll takes the next, and only the
    // oldest are ever removed. (Each end on its own: SQLite looks up a lone
    // MIN or MAX in the index, but scans the table for both at once.)
    QSqlQuery query(m_db);
    if (usable() &&
        query.exec(Sql("SELECT (SELECT MIN(%1) FROM %2), (SELECT MAX(%1) FROM %2)",
                       {history::kId, history::kTable})) &&
        query.next() && !query.value(0).isNull()) {
        return static_cast<int>(query.value(1).toLongLong() - query.value(0).toLongLong() + 1);
    }
    return 0;
}

int TrayStore::historyCount() {
    return storedCount() + static_cast<int>(m_unsaved.size());
}

std::vector<HistoryEntry> TrayStore::history(int first, int count) {
    std::vector<HistoryEntry> entries;
    QSqlQuery query(m_db);
    if (usable()) {
        query.prepare(
            Sql("SELECT * FROM %1 WHERE %2 >= (SELECT MIN(%2) FROM %1) + :first "
                "ORDER BY %2 LIMIT :count",
                {history::kTable, history::kId}));
        query.bindValue(QStringLiteral(":first"), first);
        query.bindValue(QStringLiteral(":count"), count);
    }
    if (usable() && query.exec()) {
        const HistoryColumns columns(query.record());
        while (query.next()) {
            entries.push_back(columns.entryAt(query));
        }
    }
    const int stored = storedCount();
    for (int row = std::max(first, stored); row < first + count; ++row) {
        if (row - stored >= static_cast<int>(m_unsaved.size())) {
            break;
        }
        entries.push_back(m_unsaved[static_cast<std::size_t>(row - stored)]);
    }
    return entries;
}

void TrayStore::append(HistoryEntry& entry) {
    // With the rolls a failed write left in memory, in order, as soon as
    // the file takes them again.
    if (entry.id >= 0) {
        entry.id = --m_lastMemoryId;
    }
    m_unsaved.push_back(entry);
    qint64 last = 0;
    const bool written = writeUnsaved(last);
    // Kept in memory, a roll goes by an id of its own below 0, never given
    // twice (the caller's, if it gave one): its chances may come after it is
    // written, under a file id.
    if (written) {
        entry.id = last;
    }
}

bool TrayStore::writePending() {
    const bool opened = !m_waitingFor.isEmpty() && openAgain();
    if (!m_waitingFor.isEmpty()) {
        return false;
    }
    qint64 last = 0;
    if (!m_unsaved.empty()) {
        writeUnsaved(last);
    }
    if (!m_savedChanges.empty()) {
        writeSavedChanges();
    }
    return opened;
}

// The rolls kept in memory, in one transaction; the id the last one has in
// the file. Each keeps its id in memory as another name for it, for the
// chances that come later.
bool TrayStore::writeUnsaved(qint64& last) {
    std::vector<std::pair<qint64, qint64>> ids;
    const bool written = inTransaction([this, &last, &ids](QSqlQuery& query) {
        query.prepare(
            Sql("INSERT INTO %1 (%2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, %14) "
                "VALUES (:%2, COALESCE(:%3, ''), :%4, :%5, COALESCE(:%6, ''), "
                "COALESCE(:%7, ''), :%8, :%9, :%10, :%11, :%12, :%13, :%14)",
                {history::kTable, history::kTime, history::kLabel, history::kExpression,
                 history::kTotal, history::kDice, history::kSpoken, history::kAtLeast,
                 history::kAtMost, history::kVerdict, history::kOpponentTotal, history::kWin,
                 history::kTie, history::kLoss}));
        for (const HistoryEntry& kept : m_unsaved) {
            query.bindValue(Bind(history::kTime), kept.time.toUTC().toString(Qt::ISODateWithMs));
            query.bindValue(Bind(history::kLabel), kept.label);
            query.bindValue(Bind(history::kExpression), kept.expression);
            query.bindValue(Bind(history::kTotal), kept.total);
            query.bindValue(Bind(history::kDice), kept.dice);
            query.bindValue(Bind(history::kSpoken), kept.spoken);
            query.bindValue(Bind(history::kAtLeast), kept.atLeast);
            query.bindValue(Bind(history::kAtMost), kept.atMost);
            query.bindValue(Bind(history::kVerdict),
                            kept.verdict ? QString::fromLatin1(dice::VerdictText(*kept.verdict))
                                         : QLatin1String(""));
            query.bindValue(Bind(history::kOpponentTotal), kept.opponentTotal);
            query.bindValue(Bind(history::kWin), kept.win);
            query.bindValue(Bind(history::kTie), kept.tie);
            query.bindValue(Bind(history::kLoss), kept.loss);
            if (!query.exec()) {
                return false;
            }
            last = query.lastInsertId().toLongLong();
            ids.emplace_back(kept.id, last);
        }
        return true;
    });
    if (written) {
        m_writtenIds.insert(ids.begin(), ids.end());
        m_unsaved.clear();
    }
    return written;
}

void TrayStore::setChances(qint64 id, const RollChances& chances) {
    if (const auto written = m_writtenIds.find(id); written != m_writtenIds.end()) {
        id = written->second;
    }
    for (HistoryEntry& kept : m_unsaved) {
        if (kept.id == id) {
            kept.setChances(chances);
            return;
        }
    }
    inTransaction([id, chances](QSqlQuery& query) {
        query.prepare(
            Sql("UPDATE %1 SET %2 = :%2, %3 = :%3, %4 = :%4, %5 = :%5, %6 = :%6 "
                "WHERE %7 = :%7",
                {history::kTable, history::kAtLeast, history::kAtMost, history::kWin, history::kTie,
                 history::kLoss, history::kId}));
        query.bindValue(Bind(history::kAtLeast), chances.atLeast);
        query.bindValue(Bind(history::kAtMost), chances.atMost);
        query.bindValue(Bind(history::kWin), chances.win);
        query.bindValue(Bind(history::kTie), chances.tie);
        query.bindValue(Bind(history::kLoss), chances.loss);
        query.bindValue(Bind(history::kId), id);
        return query.exec();
    });
}

int TrayStore::prune(int keep) {
    if (!m_unsaved.empty() || !usable()) {
        return 0;
    }
    QSqlQuery query(m_db);
    query.prepare(Sql("DELETE FROM %1 WHERE %2 <= (SELECT MAX(%2) FROM %1) - :keep",
                      {history::kTable, history::kId}));
    query.bindValue(QStringLiteral(":keep"), keep);
    return query.exec() ? query.numRowsAffected() : 0;
}

void TrayStore::clearHistory() {
    m_unsaved.clear();
    inTransaction(
        [](QSqlQuery& query) { return query.exec(Sql("DELETE FROM %1", {history::kTable})); });
}

std::optional<std::vector<SavedRoll>> TrayStore::savedRolls() {
    QSqlQuery query(m_db);
    const bool read = usable() && query.exec(Sql("SELECT %1, %2, %3 FROM %4 ORDER BY %5, %1",
                                                 {saved::kId, saved::kName, saved::kExpression,
                                                  saved::kTable, saved::kPosition}));
    if (!read) {
        // Waiting for the file, as the player was told.
        if (!m_savedUnreadable && m_waitingFor.isEmpty()) {
            tell(tr("The saved rolls cannot be read from %1 (%2). They cannot be changed "
                    "until they are read; the dice tray tries again every few seconds.")
                     .arg(QDir::toNativeSeparators(m_path),
                          usable() ? query.lastError().databaseText()
                                   : tr("another program holds the file")));
        }
        m_savedUnreadable = true;
        return std::nullopt;
    }
    std::vector<SavedRoll> rolls;
    while (query.next()) {
        rolls.push_back(
            {query.value(1).toString(), query.value(2).toString(), query.value(0).toLongLong()});
    }
    if (m_savedUnreadable && usable()) {
        tell(tr("The saved rolls are read again and can be changed."));
    }
    m_savedUnreadable = false;
    return rolls;
}

void TrayStore::changeSavedRolls(const std::vector<SavedChange>& changes) {
    ++m_savedChangesMade;
    m_savedChanges.insert(m_savedChanges.end(), changes.begin(), changes.end());
    writeSavedChanges();
}

// The changes kept in memory, in one transaction, in the order made.
bool TrayStore::writeSavedChanges() {
    std::vector<qint64> added;
    const bool written = inTransaction([this, &added](QSqlQuery& query) {
        for (const SavedChange& change : m_savedChanges) {
            if (!writeSavedChange(query, change, added)) {
                return false;
            }
        }
        return true;
    });
    if (written) {
        m_savedChanges.clear();
    } else {
        for (const qint64 id : added) {
            m_savedIds.erase(id);  // rolled back
        }
    }
    return written;
}

qint64 TrayStore::savedFileId(qint64 id) const {
    const auto written = m_savedIds.find(id);
    return written != m_savedIds.end() ? written->second : id;
}

bool TrayStore::writeSavedChange(QSqlQuery& query, const SavedChange& change,
                                 std::vector<qint64>& added) {
    switch (change.kind) {
        case SavedChange::kAdd:
            query.prepare(
                Sql("INSERT INTO %1 (%2, %3, %4) VALUES ((SELECT IFNULL(MAX(%2), 0) + "
                    "1 FROM %1), :%3, :%4)",
                    {saved::kTable, saved::kPosition, saved::kName, saved::kExpression}));
            break;
        case SavedChange::kUpdate:
            query.prepare(Sql("UPDATE %1 SET %2 = :%2, %3 = :%3 WHERE %4 = :%4",
                              {saved::kTable, saved::kName, saved::kExpression, saved::kId}));
            query.bindValue(Bind(saved::kId), savedFileId(change.roll.id));
            break;
        case SavedChange::kRemove:
            query.prepare(Sql("DELETE FROM %1 WHERE %2 = :%2", {saved::kTable, saved::kId}));
            query.bindValue(Bind(saved::kId), savedFileId(change.roll.id));
            return query.exec();
        case SavedChange::kOrder:
            return writeSavedOrder(query, change.order);
    }
    query.bindValue(Bind(saved::kName), change.roll.name);
    query.bindValue(Bind(saved::kExpression), change.roll.expression);
    if (!query.exec()) {
        return false;
    }
    if (change.kind == SavedChange::kAdd) {
        m_savedIds[change.roll.id] = query.lastInsertId().toLongLong();
        added.push_back(change.roll.id);
    }
    return true;
}

bool TrayStore::writeSavedOrder(QSqlQuery& query, const std::vector<qint64>& order) {
    query.prepare(Sql("UPDATE %1 SET %2 = :%2 WHERE %3 = :%3",
                      {saved::kTable, saved::kPosition, saved::kId}));
    for (std::size_t position = 0; position < order.size(); ++position) {
        query.bindValue(Bind(saved::kPosition), static_cast<qint64>(position) + 1);
        query.bindValue(Bind(saved::kId), savedFileId(order[position]));
        if (!query.exec()) {
            return false;
        }
    }
    return true;
}

bool TrayStore::changedElsewhere() {
    QSqlQuery query(m_db);
    if (!usable() || !query.exec(QStringLiteral("PRAGMA data_version")) || !query.next()) {
        return false;
    }
    const qint64 version = query.value(0).toLongLong();
    const bool changed = m_dataVersion != 0 && version != m_dataVersion;
    m_dataVersion = version;
    return changed;
}

}  // namespace alearo
