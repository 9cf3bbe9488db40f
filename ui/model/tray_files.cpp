// SPDX-License-Identifier: MIT
#include "ui/model/tray_files.h"

#include "stats/distribution_table.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "dice/parse.h"

namespace alearo {

namespace {

constexpr const char* kFormat = "alearo-saved-rolls";
constexpr int kVersion = 1;

QString Tr(const char* text) {
    return QCoreApplication::translate("TrayFiles", text);
}

// A field as CSV writes it: quoted when it holds a comma, a quote or a line end.
QByteArray CsvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') ||
        field.contains('\r')) {
        field.replace("\"", "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

// Whether the entry holds `key` as something other than text.
bool HoldsNonText(const QJsonObject& entry, const char* key) {
    const QJsonValue value = entry.value(QLatin1String(key));
    return !value.isUndefined() && !value.isNull() && !value.isString();
}

// Why an entry of the list cannot be imported, or empty.
QString EntryProblem(const QJsonValue& item, const QString& name, const QString& expression) {
    const QJsonObject entry = item.toObject();
    if (!item.isObject()) {
        return Tr("it is not a name with an expression");
    }
    if (HoldsNonText(entry, "name")) {
        return Tr("its name is not text");
    }
    if (name.isEmpty()) {
        return Tr("it has no name");
    }
    if (HoldsNonText(entry, "expression")) {
        return Tr("its expression is not text");
    }
    if (!entry.value(QStringLiteral("expression")).isString()) {
        return Tr("it has no expression");
    }
    const dice::ParseResult parsed = dice::ParseExpression(expression.toStdString());
    if (!parsed.ok()) {
        return Tr("at column %1 of \"%2\": %3")
            .arg(parsed.error.column)
            .arg(expression, QString::fromStdString(parsed.error.message));
    }
    return {};
}

}  // namespace

QByteArray SavedRollsJson(const std::vector<SavedRoll>& rolls) {
    QJsonArray list;
    for (const SavedRoll& roll : rolls) {
        list.append(QJsonObject{{QStringLiteral("name"), roll.name},
                                {QStringLiteral("expression"), roll.expression}});
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), QLatin1String(kFormat)},
                                     {QStringLiteral("version"), kVersion},
                                     {QStringLiteral("rolls"), list}})
        .toJson();
}

SavedRollsRead ReadSavedRollsJson(const QByteArray& json) {
    SavedRollsRead read;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject top = document.object();
    if (parseError.error != QJsonParseError::NoError) {
        read.error = Tr("It is not a JSON file (%1 at character %2).")
                         .arg(parseError.errorString())
                         .arg(parseError.offset + 1);
        return read;
    }
    if (top.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        !top.value(QStringLiteral("rolls")).isArray()) {
        read.error = Tr("It is not a file of saved rolls.");
        return read;
    }
    if (top.value(QStringLiteral("version")).toInt(kVersion + 1) > kVersion) {
        read.error = Tr("It was written by a newer Alearo.");
        return read;
    }
    const QJsonArray list = top.value(QStringLiteral("rolls")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject entry = list.at(i).toObject();
        const QString name = entry.value(QStringLiteral("name")).toString().trimmed();
        const QString expression = entry.value(QStringLiteral("expression")).toString();
        const QString problem = EntryProblem(list.at(i), name, expression);
        if (problem.isEmpty()) {
            read.rolls.push_back({name, expression});
        } else {
            read.problems << Tr("Roll %1 (%2): %3")
                                 .arg(i + 1)
                                 .arg(name.isEmpty() ? Tr("no name") : name, problem);
        }
    }
    return read;
}

namespace {

// The columns of a roll with "vs", empty for one without: its verdict, the
// opponent's total, and the chance of each verdict once known.
QByteArray VersusFields(const HistoryEntry& entry) {
    if (!entry.verdict) {
        return ",,,,";
    }
    QByteArray fields = QByteArray(dice::VerdictText(*entry.verdict)) + ',' +
                        (entry.opposed() ? QByteArray::number(entry.opponentTotal) : QByteArray());
    for (const double chance : {entry.win, entry.tie, entry.loss}) {
        fields += ',';
        if (entry.oddsKnown()) {
            fields +=
                QByteArray::fromStdString(ChanceFraction(chance, HistoryEntry::kStoredChanceError));
        }
    }
    return fields;
}

}  // namespace

QByteArray HistoryCsv(const std::vector<HistoryEntry>& entries) {
    QByteArray csv =
        "time,label,expression,total,dice,outcome,opponent total,hit or win,tie,miss or loss\r\n";
    for (const HistoryEntry& entry : entries) {
        csv += CsvField(entry.time.toUTC().toString(Qt::ISODate)) + ',' + CsvField(entry.label) +
               ',' + CsvField(entry.expression) + ',' + QByteArray::number(entry.total) + ',' +
               CsvField(entry.dice.section(QLatin1String(" = "), 1, -1)) + ',' +
               VersusFields(entry) + "\r\n";
    }
    return csv;
}

}  // namespace alearo
