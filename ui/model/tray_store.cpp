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

#include "ui/model/tray_schema.h"

namespace alearo {

namespace {

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
        return TrayStore::tr("the disk is full");
    }
    return error.databaseText();
}

// How long a write waits while the other Alearo writes, in milliseconds; how
// long a start asks again for a file another holds, and how often, before
// it goes on without it and asks again later.
constexpr int kBusyTimeout = 3000;
constexpr int kStartWait = 1000;
constexpr int kRetryPause = 5;

}  // namespace

TrayStore::TrayStore(const QString& folder) : m_connection(NewConnectionName()), m_folder(folder) {
    if (!QDir().mkpath(folder)) {
        tell(tr("The dice tray cannot keep its rolls: the folder %1 cannot be made. "
                "The rolls of this session are kept until Alearo closes.")
                 .arg(QDir::toNativeSeparators(folder)));
        openInMemory();
        return;
    }
    if (!open(QDir(folder).filePath(QLatin1String(kFileName)))) {
        openInMemory();
    }
    changedElsewhere();  // from here on
}

TrayStore::~TrayStore() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

// Said after what happened before it since the player was last told.
void TrayStore::tell(const QString& problem) {
    m_problem += (m_problem.isEmpty() ? QString() : QStringLiteral(" ")) + problem;
}

QString TrayStore::takeProblem() {
    QString problem;
    problem.swap(m_problem);
    return problem;
}

bool TrayStore::open(const QString& path) {
    if (QFileInfo::exists(path) && !BeginsLikeADatabase(path)) {
        putAside(path, tr("it is not a database of Alearo's"));
        if (QFileInfo::exists(path)) {
            return false;
        }
    }
    // Another Alearo starting at the same moment may hold the file for a
    // little while (making it, or switching it to WAL): ask again then.
    const QDeadlineTimer deadline(kStartWait);
    for (bool putAsideOnce = false;;) {
        const Opening opening = openFile(path);
        closeUnless(opening.state == Opening::kServes);
        switch (opening.state) {
            case Opening::kServes:
                m_path = path;
                return true;
            case Opening::kBusy:
                if (!deadline.hasExpired()) {
                    QThread::msleep(kRetryPause);
                    continue;
                }
                waitFor(path);
                return true;
            case Opening::kLeftAlone:
                tell(CannotUse(path, opening));
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

// Why the file is not used, for the player.
QString TrayStore::CannotUse(const QString& path, const Opening& opening) {
    return opening.message.isEmpty()
               ? tr("The dice tray cannot use %1 (%2). The rolls of this session are kept until "
                    "Alearo closes.")
                     .arg(QDir::toNativeSeparators(path), opening.why)
               : opening.message;
}

// Another program holds the file past the start: the rolls wait in memory,
// and writePending() asks for the file again.
void TrayStore::waitFor(const QString& path) {
    m_waitingFor = path;
    tell(tr("Another program holds %1, so the dice tray cannot use it yet. It keeps the "
            "rolls of this session and writes them there once the file is free.")
             .arg(QDir::toNativeSeparators(path)));
}

// One more try at the file another program held at the start; true once it
// serves. A file found unfit meanwhile is left, as at a start.
bool TrayStore::openAgain() {
    const Opening opening = openFile(m_waitingFor);
    closeUnless(opening.state == Opening::kServes);
    if (opening.state == Opening::kBusy) {
        return false;
    }
    const QString path = std::exchange(m_waitingFor, QString());
    if (opening.state != Opening::kServes) {
        tell(CannotUse(path, opening));
        openInMemory();
        return false;
    }
    m_path = path;
    tell(tr("The dice tray keeps its rolls in %1 again.").arg(QDir::toNativeSeparators(path)));
    changedElsewhere();
    return true;
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
                       tr("%1 was written by a newer Alearo and is left as it is. The rolls of "
                          "this session are kept until Alearo closes.")
                           .arg(QDir::toNativeSeparators(path))};
    };
    if (QFileInfo::exists(path)) {
        if (HeaderVersion(path) > tray_schema::kVersion) {
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
        if (query.value(0).toInt() > tray_schema::kVersion) {
            return newer();  // by a journal of a newer Alearo not yet folded in
        }
        if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
            return failed(query.lastError());
        }
        if (query.value(0).toString() != QLatin1String("ok")) {
            return {Opening::kDamaged, tr("it is damaged"), {}};
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
        return {Opening::kBusy, tr("another program holds the file"), {}};
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

// The schema, made or brought up to date a version at a time in one
// transaction that takes the write lock at once, so that two Alearos
// starting together do it once. Why it could not be, if it could not.
std::optional<QSqlError> TrayStore::migrate() {
    QSqlQuery query(m_db);
    // A file of this version needs no write, nor the lock another may hold.
    if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next() &&
        query.value(0).toInt() == tray_schema::kVersion) {
        return std::nullopt;
    }
    query.finish();
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return query.lastError();
    }
    bool done = query.exec(QStringLiteral("PRAGMA user_version")) && query.next();
    const int found = done ? query.value(0).toInt() : 0;
    query.finish();
    for (int version = found + 1; done && version <= tray_schema::kVersion; ++version) {
        for (const QString& statement : tray_schema::StepTo(version)) {
            done = done && query.exec(statement);
        }
        done = done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
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
        tell(tr("%1 cannot be read (%2) and cannot be put aside. The rolls of this "
                "session are kept until Alearo closes.")
                 .arg(QDir::toNativeSeparators(path), why));
        return;
    }
    for (const char* journal : {"-wal", "-shm"}) {
        QFile::rename(path + QLatin1String(journal), aside + QLatin1String(journal));
    }
    tell(tr("%1 could not be read (%2). It was put aside as %3, and the dice tray "
            "begins a new one.")
             .arg(QDir::toNativeSeparators(path), why, QDir::toNativeSeparators(aside)));
}

// A write that failed: told once, until one succeeds again.
void TrayStore::writeFailed(const QString& why) {
    if (!m_failing) {
        tell(tr("The dice tray could not write to %1 (%2). It keeps the rolls of this "
                "session and writes them as soon as it can.")
                 .arg(QDir::toNativeSeparators(m_db.databaseName()), why));
    }
    m_failing = true;
}

void TrayStore::writeSucceeded() {
    if (m_failing) {
        tell(tr("The dice tray writes to %1 again: every roll is kept.")
                 .arg(QDir::toNativeSeparators(m_db.databaseName())));
    }
    m_failing = false;
}

// Runs `write` in one transaction; false, with the failure told, when it
// could not be done.
bool TrayStore::inTransaction(const std::function<bool(QSqlQuery&)>& write) {
    if (!usable()) {
        return false;  // waiting for the file, as the player was told
    }
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

}  // namespace alearo
