// SPDX-License-Identifier: MIT
#include "ui/model/saved_rolls_model.h"

#include <QMimeData>

namespace alearo {

namespace {

// A row dragged within the list carries its number.
const QString kRowMimeType = QStringLiteral("application/x-alearo-saved-roll-row");

}  // namespace

SavedRollsModel::SavedRollsModel(TrayStore& store, QObject* parent)
    : QAbstractListModel(parent), m_store(store), m_rolls(store.savedRolls()) {}

int SavedRollsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rolls.size());
}

QHash<int, QByteArray> SavedRollsModel::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({{kNameRole, "name"}, {kExpressionRole, "expression"}});
    return names;
}

QVariant SavedRollsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const SavedRoll& roll = m_rolls[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return tr("%1   %2").arg(roll.name, roll.expression);
        case Qt::AccessibleTextRole:
        case Qt::ToolTipRole:
            return tr("%1, %2").arg(roll.name, roll.expression);
        case kNameRole:
            return roll.name;
        case kExpressionRole:
            return roll.expression;
        default:
            return {};
    }
}

Qt::ItemFlags SavedRollsModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractListModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled : flags | Qt::ItemIsDropEnabled;
}

Qt::DropActions SavedRollsModel::supportedDropActions() const {
    return Qt::MoveAction;
}

QStringList SavedRollsModel::mimeTypes() const {
    return {kRowMimeType};
}

QMimeData* SavedRollsModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) {
        return nullptr;
    }
    auto* data = new QMimeData;
    data->setData(kRowMimeType, QByteArray::number(indexes.first().row()));
    return data;
}

bool SavedRollsModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row,
                                   int /*column*/, const QModelIndex& parent) {
    if (action != Qt::MoveAction || data == nullptr || !data->hasFormat(kRowMimeType)) {
        return false;
    }
    bool read = false;
    const int from = data->data(kRowMimeType).toInt(&read);
    if (!read || from < 0 || from >= rowCount()) {
        return false;
    }
    // Dropped on a roll: before it; below the last: at the end.
    int to = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    to = to > from ? to - 1 : to;
    move(from, to);
    // The move is done here: the view must not remove the dragged row itself.
    return false;
}

void SavedRollsModel::add(const SavedRoll& roll) {
    beginInsertRows({}, rowCount(), rowCount());
    m_rolls.push_back(roll);
    endInsertRows();
    store();
}

void SavedRollsModel::replaceAt(int row, const SavedRoll& roll) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    m_rolls[static_cast<std::size_t>(row)] = roll;
    emit dataChanged(index(row), index(row));
    store();
}

void SavedRollsModel::setRolls(const std::vector<SavedRoll>& rolls) {
    beginResetModel();
    m_rolls = rolls;
    const bool couldUndo = canUndo();
    m_removed.clear();
    endResetModel();
    store();
    if (couldUndo) {
        emit canUndoChanged(false);
    }
}

void SavedRollsModel::rename(int row, const QString& name) {
    if (row >= 0 && row < rowCount()) {
        replaceAt(row, {name, m_rolls[static_cast<std::size_t>(row)].expression});
    }
}

void SavedRollsModel::setExpression(int row, const QString& expression) {
    if (row >= 0 && row < rowCount()) {
        replaceAt(row, {m_rolls[static_cast<std::size_t>(row)].name, expression});
    }
}

void SavedRollsModel::remove(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    m_removed.emplace_back(row, m_rolls[static_cast<std::size_t>(row)]);
    m_rolls.erase(m_rolls.begin() + row);
    endRemoveRows();
    store();
    if (m_removed.size() == 1) {
        emit canUndoChanged(true);
    }
}

void SavedRollsModel::undoRemove() {
    if (m_removed.empty()) {
        return;
    }
    const auto [wanted, roll] = m_removed.back();
    m_removed.pop_back();
    const int row = std::min(wanted, rowCount());
    beginInsertRows({}, row, row);
    m_rolls.insert(m_rolls.begin() + row, roll);
    endInsertRows();
    store();
    if (m_removed.empty()) {
        emit canUndoChanged(false);
    }
}

bool SavedRollsModel::move(int from, int to) {
    if (from < 0 || from >= rowCount() || to < 0 || to >= rowCount() || from == to) {
        return false;
    }
    // beginMoveRows counts the destination before the move.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    const SavedRoll roll = m_rolls[static_cast<std::size_t>(from)];
    m_rolls.erase(m_rolls.begin() + from);
    m_rolls.insert(m_rolls.begin() + to, roll);
    endMoveRows();
    store();
    return true;
}

void SavedRollsModel::store() {
    m_store.setSavedRolls(m_rolls);
    emit stored();
}

}  // namespace alearo
