// SPDX-License-Identifier: MIT
#include "ui/model/saved_rolls_model.h"

#include <QMimeData>
#include <algorithm>

namespace alearo {

namespace {

// A row dragged within the list carries its number.
const QString kRowMimeType = QStringLiteral("application/x-alearo-saved-roll-row");

}  // namespace

SavedRollsModel::SavedRollsModel(TrayStoreThread& store, QObject* parent)
    : QAbstractListModel(parent), m_store(store) {}

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

void SavedRollsModel::reload(const TrayStoreState& state) {
    if (state.savedChangesMade < m_changesMade || (state.savedReadable && !state.saved)) {
        return;  // read before changes made here were written
    }
    const bool same =
        state.saved && m_read == Read::kDone &&
        std::equal(state.saved->begin(), state.saved->end(), m_rolls.begin(), m_rolls.end(),
                   [](const SavedRoll& a, const SavedRoll& b) { return a == b && a.id == b.id; });
    m_read = state.savedReadable ? Read::kDone : Read::kFailed;
    if (state.saved && !same) {
        beginResetModel();
        m_rolls = *state.saved;
        endResetModel();
    }
}

void SavedRollsModel::add(const SavedRoll& roll) {
    if (unreadable()) {
        return;
    }
    beginInsertRows({}, rowCount(), rowCount());
    m_rolls.push_back({roll.name, roll.expression, --m_lastNewId});
    endInsertRows();
    store({{TrayStore::SavedChange::kAdd, m_rolls.back(), {}}});
}

void SavedRollsModel::replaceAt(int row, const SavedRoll& roll) {
    if (unreadable() || row < 0 || row >= rowCount()) {
        return;
    }
    SavedRoll& kept = m_rolls[static_cast<std::size_t>(row)];
    kept.name = roll.name;
    kept.expression = roll.expression;
    emit dataChanged(index(row), index(row));
    store({{TrayStore::SavedChange::kUpdate, kept, {}}});
}

void SavedRollsModel::setRolls(const std::vector<SavedRoll>& rolls) {
    if (unreadable()) {
        return;
    }
    std::vector<TrayStore::SavedChange> changes;
    beginResetModel();
    std::vector<SavedRoll> kept;
    for (SavedRoll roll : rolls) {
        const bool added = roll.id == 0;
        roll.id = added ? --m_lastNewId : roll.id;
        const auto was = std::find_if(m_rolls.begin(), m_rolls.end(),
                                      [&roll](const SavedRoll& old) { return old.id == roll.id; });
        if (added || was == m_rolls.end() || !(*was == roll)) {
            changes.push_back(
                {added ? TrayStore::SavedChange::kAdd : TrayStore::SavedChange::kUpdate, roll, {}});
        }
        kept.push_back(roll);
    }
    m_rolls = std::move(kept);
    const bool couldUndo = canUndo();
    m_removed.clear();
    endResetModel();
    store(changes);
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
    if (unreadable() || row < 0 || row >= rowCount()) {
        return;
    }
    beginRemoveRows({}, row, row);
    const SavedRoll removed = m_rolls[static_cast<std::size_t>(row)];
    m_removed.emplace_back(row, removed);
    m_rolls.erase(m_rolls.begin() + row);
    endRemoveRows();
    store({{TrayStore::SavedChange::kRemove, removed, {}}});
    if (m_removed.size() == 1) {
        emit canUndoChanged(true);
    }
}

// Brought back as a roll added anew, at its place among the rolls there now.
void SavedRollsModel::undoRemove() {
    if (unreadable() || m_removed.empty()) {
        return;
    }
    auto [wanted, roll] = m_removed.back();
    m_removed.pop_back();
    roll.id = --m_lastNewId;
    const int row = std::min(wanted, rowCount());
    beginInsertRows({}, row, row);
    m_rolls.insert(m_rolls.begin() + row, roll);
    endInsertRows();
    store(
        {{TrayStore::SavedChange::kAdd, roll, {}}, {TrayStore::SavedChange::kOrder, {}, order()}});
    if (m_removed.empty()) {
        emit canUndoChanged(false);
    }
}

bool SavedRollsModel::move(int from, int to) {
    if (unreadable() || from < 0 || from >= rowCount() || to < 0 || to >= rowCount() ||
        from == to) {
        return false;
    }
    // beginMoveRows counts the destination before the move.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    const SavedRoll roll = m_rolls[static_cast<std::size_t>(from)];
    m_rolls.erase(m_rolls.begin() + from);
    m_rolls.insert(m_rolls.begin() + to, roll);
    endMoveRows();
    store({{TrayStore::SavedChange::kOrder, {}, order()}});
    return true;
}

std::vector<qint64> SavedRollsModel::order() const {
    std::vector<qint64> ids;
    ids.reserve(m_rolls.size());
    for (const SavedRoll& roll : m_rolls) {
        ids.push_back(roll.id);
    }
    return ids;
}

// Each change answered with the rolls as stored after it, which another
// Alearo may have changed too.
void SavedRollsModel::store(const std::vector<TrayStore::SavedChange>& changes) {
    if (!changes.empty()) {
        ++m_changesMade;
        m_store.run(
            [changes](TrayStore& store) {
                store.changeSavedRolls(changes);
                return TrayStoreThread::StateOf(store);
            },
            [this](const TrayStoreState& state) { reload(state); });
    }
}

}  // namespace alearo
