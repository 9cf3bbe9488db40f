// SPDX-License-Identifier: MIT
#include "ui/model/tray_store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QThread>
#include <QVariant>
#include <QtEndian>
#include <atomic>
#include <optional>

namespace alearo {

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("TrayStore", text);
}

QString NewConnectionName() {
    static std::atomic<int> made{0};
    return QStringLiteral("alearo-tray-%1").arg(++made);
}

// Every SQLite database begins with these 16 bytes. A file that cannot be
// read is not judged here: opening it then says why.
bool BeginsLikeADatabase(const QString& path) {
    QFile file(path);
    return !file.open(QIODevice::ReadOnly) || file.size() == 0 ||
           file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// Whether SQLite found the file damaged or not a database at all, rather
// than out of reach for now (a full disk, a lock, a permission).
bool IsDamaged(const QSqlError& error) {
    constexpr int kCorrupt = 11, kNotADatabase = 26;
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == kCorrupt || code == kNotADatabase;
}

// The schema version in a file's header (PRAGMA user_version, kept
// big-endian at byte 60), read without SQLite: any connection, even one
// that only reads, makes the -wal and -shm files beside a database in WAL
// mode, and a file left alone is to be left as it was found.
int HeaderVersion(const QString& path) {
    constexpr qint64 kUserVersionAt = 60;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(kUserVersionAt)) {
        return 0;
    }
    const QByteArray bytes = file.read(4);
    return bytes.size() == 4 ? qFromBigEndian<qint32>(bytes.constData()) : 0;
}

// Why SQLite failed, in its words, except for a full disk: SQLite says so
// when a write finds no room, but calls it an I/O error when the index it
// keeps beside a database in WAL mode (32 KiB at a time) cannot grow.
QString WhyFailed(const QSqlError& error, const QString& folder) {
    constexpr int kIoError = 10, kFull = 13;
    constexpr qint64 kIndexBlock = qint64{32} * 1024;
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == kFull ||
        (code == kIoError && QStorageInfo(folder).bytesAvailable() < kIndexBlock)) {
        return Tr("the disk is full");
    }
    return error.databaseText();
}

// How long a write waits while the other Alearo writes, in milliseconds, and
// how long a start waits before asking again for a file another holds.
constexpr int kBusyTimeout = 3000;
constexpr int kRetryPause = 5;

}  // namespace

TrayStore::TrayStore(const QString& folder) : m_connection(NewConnectionName()), m_folder(folder) {
    if (!QDir().mkpath(folder)) {
        m_problem = Tr("The dice tray cannot keep its rolls: the folder %1 cannot be made. "
                       "The rolls of this session are kept until Alearo closes.")
                        .arg(QDir::toNativeSeparators(folder));
        openInMemory();
        return;
    }
    if (!open(QDir(folder).filePath(QLatin1String(kFileName)))) {
        openInMemory();
    }
}

TrayStore::~TrayStore() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

QString TrayStore::takeProblem() {
    QString problem;
    problem.swap(m_problem);
    return problem;
}

bool TrayStore::open(const QString& path) {
    if (QFileInfo::exists(path) && !BeginsLikeADatabase(path)) {
        putAside(path, Tr("it is not a database of Alearo's"));
        if (QFileInfo::exists(path)) {
            return false;
        }
    }
    // Another Alearo starting at the same moment may hold the file for a
    // little while (making it, or switching it to WAL): ask again then.
    const QDeadlineTimer deadline(kBusyTimeout);
    for (bool putAsideOnce = false;;) {
        const Opening opening = openFile(path);
        closeUnless(opening.state == Opening::kServes);
        switch (opening.state) {
            case Opening::kServes:
                return true;
            case Opening::kBusy:
                if (!deadline.hasExpired()) {
                    QThread::msleep(kRetryPause);
                    continue;
                }
                [[fallthrough]];
            case Opening::kLeftAlone:
                m_problem += (m_problem.isEmpty() ? QString() : QStringLiteral(" ")) +
                             (opening.message.isEmpty()
                                  ? Tr("The dice tray cannot use %1 (%2). "
                                       "The rolls of this session are kept "
                                       "until Alearo closes.")
                                        .arg(QDir::toNativeSeparators(path), opening.why)
                                  : opening.message);
                return false;
            case Opening::kDamaged:
                if (putAsideOnce) {
                    return false;
                }
                putAsideOnce = true;
                putAside(path, opening.why);
                if (QFileInfo::exists(path)) {
                    return false;
                }
        }
    }
}

// Opens the file and tells whether it serves. It is checked first through a
// connection that only reads: closing the last connection that may write
// folds the journal into the file, which would change a damaged file before
// it is put aside, or a newer one left alone. A file whose header says it is
// newer gets no connection at all.
TrayStore::Opening TrayStore::openFile(const QString& path) {
    const auto failed = [this](const QSqlError& error) {
        const int code = error.nativeErrorCode().toInt() & 0xff;
        constexpr int kBusyCode = 5, kLockedCode = 6;
        return Opening{IsDamaged(error)                           ? Opening::kDamaged
                       : code == kBusyCode || code == kLockedCode ? Opening::kBusy
                                                                  : Opening::kLeftAlone,
                       WhyFailed(error, m_folder),
                       {}};
    };
    const auto newer = [&path] {
        return Opening{Opening::kLeftAlone,
                       {},
                       Tr("%1 was written by a newer Alearo and is left as it is. The rolls of "
                          "this session are kept until Alearo closes.")
                           .arg(QDir::toNativeSeparators(path))};
    };
    if (QFileInfo::exists(path)) {
        if (HeaderVersion(path) > kSchemaVersion) {
            return newer();
        }
        connect(path, QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery query(m_db);
        if (!m_db.open()) {
            return failed(m_db.lastError());
        }
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next()) {
            return failed(query.lastError());
        }
        if (query.value(0).toInt() > kSchemaVersion) {
            return newer();  // by a journal of a newer Alearo not yet folded in
        }
        if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
            return failed(query.lastError());
        }
        if (query.value(0).toString() != QLatin1String("ok")) {
            return {Opening::kDamaged, Tr("it is damaged"), {}};
        }
        query.finish();
        closeUnless(false);
    }
    connect(path, {});
    QSqlQuery query(m_db);
    // In WAL mode, NORMAL keeps every committed roll through a crash of the
    // program and needs no wait for the disk at each roll. While another
    // Alearo has a new file open, SQLite neither waits for it nor switches
    // the file to WAL, but answers with the mode it keeps: ask again then.
    if (!m_db.open() || !query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next()) {
        return failed(m_db.isOpen() ? query.lastError() : m_db.lastError());
    }
    if (query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        return {Opening::kBusy, Tr("another program holds the file"), {}};
    }
    query.finish();
    if (!query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        return failed(query.lastError());
    }
    query.finish();
    if (const std::optional<QSqlError> error = migrate()) {
        return failed(*error);
    }
    return {Opening::kServes, {}, {}};
}

void TrayStore::connect(const QString& path, const QString& options) {
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeout) +
                           (options.isEmpty() ? QString() : QLatin1Char(';') + options));
}

// Closes the connection, unless it is to be kept.
void TrayStore::closeUnless(bool kept) {
    if (!kept) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

void TrayStore::openInMemory() {
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    if (m_db.open()) {
        migrate();
    }
}

// The schema, made or brought up to date in one transaction that takes the
// write lock at once, so that two Alearos starting together do it once.
// Why it could not be, if it could not.
std::optional<QSqlError> TrayStore::migrate() {
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return query.lastError();
    }
    bool done = query.exec(QStringLiteral("PRAGMA user_version")) && query.next();
    const int version = done ? query.value(0).toInt() : 0;
    query.finish();
    if (done && version < 1) {
        done = query.exec(QStringLiteral(
                   "CREATE TABLE history (id INTEGER PRIMARY KEY, time TEXT NOT NULL, "
                   "label TEXT NOT NULL, expression TEXT NOT NULL, total INTEGER NOT NULL, "
                   "dice TEXT NOT NULL, spoken TEXT NOT NULL, at_least REAL NOT NULL, "
                   "at_most REAL NOT NULL)")) &&
               query.exec(QStringLiteral(
                   "CREATE TABLE saved (position INTEGER PRIMARY KEY, name TEXT NOT NULL, "
                   "expression TEXT NOT NULL)")) &&
               query.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    }
    if (done && query.exec(QStringLiteral("COMMIT"))) {
        return std::nullopt;
    }
    const QSqlError error = query.lastError();
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    return error;
}

// The file, and the journal beside it, renamed with the date; the message
// says where. A file that cannot be moved stays as it is.
void TrayStore::putAside(const QString& path, const QString& why) {
    const QFileInfo info(path);
    const QString stem = info.completeBaseName() + QLatin1String("-unreadable-") +
                         QDate::currentDate().toString(Qt::ISODate);
    QString aside = info.dir().filePath(stem + QLatin1String(".sqlite"));
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = info.dir().filePath(stem + QStringLiteral("-%1.sqlite").arg(n));
    }
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    if (!QFile::rename(path, aside)) {
        m_problem = Tr("%1 cannot be read (%2) and cannot be put aside. The rolls of this "
                       "session are kept until Alearo closes.")
                        .arg(QDir::toNativeSeparators(path), why);
        return;
    }
    for (const char* journal : {"-wal", "-shm"}) {
        QFile::rename(path + QLatin1String(journal), aside + QLatin1String(journal));
    }
    m_problem = Tr("%1 could not be read (%2). It was put aside as %3, and the dice tray "
                   "begins a new one.")
                    .arg(QDir::toNativeSeparators(path), why, QDir::toNativeSeparators(aside));
}

// A write that failed: told once, until one succeeds again.
void TrayStore::writeFailed(const QString& why) {
    if (!m_failing) {
        m_problem = Tr("The dice tray could not write to %1 (%2). It keeps the rolls of this "
                       "session and writes them as soon as it can.")
                        .arg(QDir::toNativeSeparators(m_db.databaseName()), why);
    }
    m_failing = true;
}

void TrayStore::writeSucceeded() {
    if (m_failing) {
        m_problem = Tr("The dice tray writes to %1 again: every roll is kept.")
                        .arg(QDir::toNativeSeparators(m_db.databaseName()));
    }
    m_failing = false;
}

// Runs `write` in one transaction; false, with the failure told, when it
// could not be done.
bool TrayStore::inTransaction(const std::function<bool(QSqlQuery&)>& write) {
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("BEGIN IMMEDIATE")) && write(query) &&
        query.exec(QStringLiteral("COMMIT"))) {
        writeSucceeded();
        return true;
    }
    const QString why = WhyFailed(query.lastError(), m_folder);
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    writeFailed(why);
    return false;
}

int TrayStore::firstId() {
    QSqlQuery query(m_db);
    return query.exec(QStringLiteral("SELECT MIN(id) FROM history")) && query.next()
               ? query.value(0).toInt()
               : 0;
}

int TrayStore::storedCount() {
    // The ids run without gaps: each roll takes the next, and only the
    // oldest are ever removed. (Each end on its own: SQLite looks up a lone
    // MIN or MAX in the index, but scans the table for both at once.)
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral(
            "SELECT (SELECT MIN(id) FROM history), (SELECT MAX(id) FROM history)")) &&
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
    query.prepare(QStringLiteral(
        "SELECT id, time, label, expression, total, dice, spoken, at_least, at_most FROM history "
        "WHERE id >= (SELECT MIN(id) FROM history) + ? ORDER BY id LIMIT ?"));
    query.addBindValue(first);
    query.addBindValue(count);
    if (query.exec()) {
        while (query.next()) {
            HistoryEntry entry;
            entry.id = query.value(0).toLongLong();
            entry.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODate);
            entry.label = query.value(2).toString();
            entry.expression = query.value(3).toString();
            entry.total = query.value(4).toInt();
            entry.dice = query.value(5).toString();
            entry.spoken = query.value(6).toString();
            entry.atLeast = query.value(7).toDouble();
            entry.atMost = query.value(8).toDouble();
            entries.push_back(std::move(entry));
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
    m_unsaved.push_back(entry);
    qint64 last = 0;
    const bool written = writeUnsaved(last);
    // Kept in memory, a roll goes by an id of its own below 0, never given
    // twice: its chances may come after it is written, under a file id.
    entry.id = written ? last : --m_lastMemoryId;
    if (!written) {
        m_unsaved.back().id = entry.id;
    }
}

void TrayStore::writePending() {
    qint64 last = 0;
    if (!m_unsaved.empty()) {
        writeUnsaved(last);
    }
    if (m_savedRollsUnsaved) {
        setSavedRolls(m_unsavedRolls);
    }
}

// The rolls kept in memory, in one transaction; the id the last one has in
// the file. Each keeps its id in memory as another name for it, for the
// chances that come later.
bool TrayStore::writeUnsaved(qint64& last) {
    std::vector<std::pair<qint64, qint64>> ids;
    const bool written = inTransaction([this, &last, &ids](QSqlQuery& query) {
        query.prepare(QStringLiteral(
            "INSERT INTO history (time, label, expression, total, dice, spoken, at_least, "
            "at_most) VALUES (?, COALESCE(?, ''), ?, ?, COALESCE(?, ''), COALESCE(?, ''), ?, ?)"));
        for (const HistoryEntry& kept : m_unsaved) {
            for (const QVariant& value :
                 {QVariant(kept.time.toUTC().toString(Qt::ISODateWithMs)), QVariant(kept.label),
                  QVariant(kept.expression), QVariant(kept.total), QVariant(kept.dice),
                  QVariant(kept.spoken), QVariant(kept.atLeast), QVariant(kept.atMost)}) {
                query.addBindValue(value);
            }
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

void TrayStore::setChances(qint64 id, double atLeast, double atMost) {
    if (const auto written = m_writtenIds.find(id); written != m_writtenIds.end()) {
        id = written->second;
    }
    for (HistoryEntry& kept : m_unsaved) {
        if (kept.id == id) {
            kept.atLeast = atLeast;
            kept.atMost = atMost;
            return;
        }
    }
    inTransaction([id, atLeast, atMost](QSqlQuery& query) {
        query.prepare(QStringLiteral("UPDATE history SET at_least = ?, at_most = ? WHERE id = ?"));
        query.addBindValue(atLeast);
        query.addBindValue(atMost);
        query.addBindValue(id);
        return query.exec();
    });
}

int TrayStore::prune(int keep) {
    if (!m_unsaved.empty()) {
        return 0;
    }
    QSqlQuery query(m_db);
    query.prepare(
        QStringLiteral("DELETE FROM history WHERE id <= (SELECT MAX(id) FROM history) - ?"));
    query.addBindValue(keep);
    return query.exec() ? query.numRowsAffected() : 0;
}

void TrayStore::clearHistory() {
    m_unsaved.clear();
    inTransaction(
        [](QSqlQuery& query) { return query.exec(QStringLiteral("DELETE FROM history")); });
}

std::vector<SavedRoll> TrayStore::savedRolls() {
    if (m_savedRollsUnsaved) {
        return m_unsavedRolls;
    }
    std::vector<SavedRoll> rolls;
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("SELECT name, expression FROM saved ORDER BY position"))) {
        while (query.next()) {
            rolls.push_back({query.value(0).toString(), query.value(1).toString()});
        }
    }
    return rolls;
}

void TrayStore::setSavedRolls(const std::vector<SavedRoll>& rolls) {
    m_savedRollsUnsaved = !inTransaction([&rolls](QSqlQuery& query) {
        if (!query.exec(QStringLiteral("DELETE FROM saved"))) {
            return false;
        }
        query.prepare(
            QStringLiteral("INSERT INTO saved (position, name, expression) VALUES (?, ?, ?)"));
        for (std::size_t i = 0; i < rolls.size(); ++i) {
            query.addBindValue(static_cast<int>(i));
            query.addBindValue(rolls[i].name);
            query.addBindValue(rolls[i].expression);
            if (!query.exec()) {
                return false;
            }
        }
        return true;
    });
    m_unsavedRolls = m_savedRollsUnsaved ? rolls : std::vector<SavedRoll>();
}

}  // namespace alearo
