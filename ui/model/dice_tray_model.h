// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QStringListModel>
#include <QTimer>
#include <functional>
#include <memory>

#include "dice/odds.h"
#include "dice/roll.h"
#include "dice/total_distribution.h"
#include "ui/model/chance_worker.h"
#include "ui/model/history_model.h"
#include "ui/model/outcome.h"
#include "ui/model/saved_rolls_model.h"
#include "ui/model/tray_store_thread.h"

namespace alearo {

// What the dice tray shows and does, without a widget: rolls of what the
// player types, with the exact chance of each total, a history kept in the
// store, saved rolls, and their files. The window forwards what the player
// does to the slots and shows what the models and signals say. The chances
// of an expression not rolled lately are worked out off the window's thread:
// its roll joins the history at once, and its chances when they come.
class DiceTrayModel : public QObject {
    Q_OBJECT

  public:
    // The history keeps at least this many rolls; older ones are removed
    // some rolls later.
    static constexpr int kKeptRolls = 100000;
    // How often rolls a failed write left in memory are tried again.
    static constexpr int kPendingRetryMs = TrayStoreThread::kPendingRetryMs;

    // The tray keeping its rolls in `folder`; DataFolder() in the program.
    explicit DiceTrayModel(const QString& folder, QObject* parent = nullptr);
    static QString DataFolder();

    HistoryModel* history() { return m_history.get(); }
    SavedRollsModel* saved() { return m_saved.get(); }
    // The expressions typed most lately, newest first, as completions.
    QStringListModel* recentExpressions() { return &m_recent; }
    // Whether chances have been awaited for a while.
    bool busy() const { return m_worker.busy(); }
    // Why the last expression typed cannot be rolled ("Column 4: ..."), or empty.
    QString expressionError() const { return m_expressionError; }
    // What last happened to the file the rolls are kept in, when something
    // went wrong with it or came right again; empty while all is well. The
    // tray shows it in its status line, where it takes no keys.
    QString storeStatus() const { return m_storeStatus; }
    // Whether the store has opened its file (or gone on without it), and
    // the history and saved rolls show what it holds.
    bool storeOpened() const { return m_storeOpened; }

    // What to do with an imported roll whose name is taken.
    enum class Clash { kReplace, kKeepBoth, kSkip };
    using ClashChoice = std::function<Clash(const SavedRoll& kept, const SavedRoll& imported)>;
    // Imports the saved rolls of a file: done with a report for the player
    // (how many were imported, and each that was not, with its reason), or
    // failed when the file could not be read at all.
    Outcome importSaved(const QString& path, const ClashChoice& choose);
    Outcome exportSaved(const QString& path) const;
    // Written on the store's thread; historyExported() says how it went.
    void exportHistory(const QString& path);

    // Why an expression cannot be read ("Column 4: ..."), or empty.
    static QString ProblemOf(const QString& expression);

    // A saved roll made from a history entry: its label, or its expression.
    SavedRoll savedRollOf(int historyRow) const;
    // A saved roll, in the model's order; empty past the list.
    SavedRoll savedRoll(int savedRow) const;
    // An entry as text for the clipboard: its time as the entry shows it
    // (what the player sees and expects to paste), the roll, and its chances
    // once they are known.
    QString entryText(int historyRow) const;

  public slots:
    // False, with expressionError() set, when the expression cannot be read.
    bool roll(const QString& expression, const QString& label);
    bool rollAgain(int historyRow);
    bool rollSaved(int savedRow);
    // Saves what the boxes hold under the label (the expression without
    // one); false, with expressionError() set, when it cannot be read, and
    // when the saved rolls cannot be changed now (the store status says why).
    bool saveTyped(const QString& expression, const QString& label);
    // The saved rolls, each by its row in the model's order; a row past the
    // list does nothing.
    void saveEntry(int historyRow);
    void renameSaved(int savedRow, const QString& name);
    void editSaved(int savedRow, const QString& expression);
    void removeSaved(int savedRow);
    void undoRemoveSaved();
    // False when either row is past the list.
    bool moveSaved(int savedRow, int to);
    void clearHistory();

  signals:
    void expressionErrorChanged(const QString& error);
    // A roll was added to the history, said as one sentence.
    void rolled(const QString& sentence);
    void storeStatusChanged(const QString& status);
    void storeOpenedChanged();
    void historyExported(const alearo::Outcome& outcome);

  private:
    // A roll awaiting the chances of its expression.
    struct Awaiting {
        qint64 id = 0;
        int total = 0;
    };
    // The chances of an expression's totals, and the odds of its "vs".
    struct ExpressionChances {
        dice::TotalDistribution totals;
        std::optional<dice::Odds> odds;
        RollChances of(int total) const;
    };
    static ExpressionChances ChancesOf(const dice::Expression& expression);
    void askChances(const QString& key, const dice::Expression& expression, Awaiting roll);
    void chancesCame(const QString& key, const dice::Expression& expression,
                     ExpressionChances chances);
    void setChances(qint64 id, const RollChances& chances);
    void setExpressionError(const QString& error);
    void remember(const QString& expression);
    void prune();
    void opened(const TrayStoreState& state);
    void changed(const TrayStoreState& state);
    void setStoreStatus(const QString& status);

    TrayStoreThread m_store;
    std::unique_ptr<HistoryModel> m_history;
    std::unique_ptr<SavedRollsModel> m_saved;
    QStringListModel m_recent;
    QString m_expressionError;
    dice::Generator m_generator;
    QHash<QString, ExpressionChances> m_chances;       // by canonical expression
    QHash<QString, std::vector<Awaiting>> m_awaiting;  // by canonical expression
    ChanceWorker m_worker;
    dice::RollResult m_roll;  // reused from roll to roll
    bool m_pruneDue = false;
    bool m_storeOpened = false;
    qint64 m_lastNewId = 0;  // below 0, for the rolls the store is yet to take
    QString m_storeStatus;
};

}  // namespace alearo
