// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <vector>

#include "ui/model/tray_store_thread.h"

namespace alearo {

// The rolls the player keeps under a name, in the player's order, each
// change shown at once and written to the store as that change alone. A
// removed roll can be brought back with undoRemove(), the last removed
// first. Each change names its rolls by their ids, so that one made before
// the store has read them (on rolls added meanwhile) touches no other; but
// while the store cannot read them, every change does nothing.
class SavedRollsModel : public QAbstractListModel {
    Q_OBJECT

  public:
    enum Role { kNameRole = Qt::UserRole + 1, kExpressionRole };
    Q_ENUM(Role)

    explicit SavedRollsModel(TrayStoreThread& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Dragging a roll to another place in the list.
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    const std::vector<SavedRoll>& rolls() const { return m_rolls; }
    bool canUndo() const { return !m_removed.empty(); }
    // Whether the store could not read them when it last tried.
    bool unreadable() const { return m_read == Read::kFailed; }

  public slots:
    void add(const alearo::SavedRoll& roll);
    void rename(int row, const QString& name);
    void setExpression(int row, const QString& expression);
    void remove(int row);
    void undoRemove();
    // To `to`, counted as if the roll were taken out first; false when
    // either is past the list or they are the same.
    bool move(int from, int to);
    void replaceAt(int row, const alearo::SavedRoll& roll);
    // The rolls as an import leaves them: those of the list with their ids
    // changed, those without one added at the end; nothing to undo then.
    void setRolls(const std::vector<alearo::SavedRoll>& rolls);
    // The rolls as the store has them now (another Alearo may have changed
    // them), unless changes of this one still wait to be written.
    void reload(const alearo::TrayStoreState& state);

  signals:
    void canUndoChanged(bool canUndo);

  private:
    void store(const std::vector<TrayStore::SavedChange>& changes);
    std::vector<qint64> order() const;

    TrayStoreThread& m_store;
    std::vector<SavedRoll> m_rolls;
    std::vector<std::pair<int, SavedRoll>> m_removed;  // each with the row it had
    enum class Read { kNotYet, kDone, kFailed } m_read = Read::kNotYet;
    int m_changesMade = 0;   // handed to the store
    qint64 m_lastNewId = 0;  // below 0, for the rolls added here
};

}  // namespace alearo
