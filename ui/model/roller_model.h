// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <optional>
#include <system_error>
#include <vector>

#include "engine/checker.h"
#include "engine/limits.h"
#include "engine/options.h"
#include "engine/roll.h"
#include "engine/roll_spec.h"
#include "output/results_file.h"
#include "ui/model/outcome.h"

namespace alearo {

// What the main window shows and does, without a widget: the form as the
// player typed it, the values last taken from it, the results of the last
// Roll, the checker, the options and the files. The window forwards what the
// player does to the slots and shows what the signals say.
//
// Commands that need the form take the typed texts first, box by box in a
// fixed order (the checker's target, the dice, the total modifier, the rolls,
// each die's modifier). The first box that holds no number in its range stops
// that: entryRejected() says which and why, the boxes before it keep their
// new values, a number out of range is kept as typed, and later boxes keep
// their old values. A rejected form is not rolled; every other command goes
// on with the values as they stand.
class RollerModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString description READ description NOTIFY descriptionChanged)
    Q_PROPERTY(QString checkerLine READ checkerLine NOTIFY checkerLineChanged)
    Q_PROPERTY(QString resultsText READ resultsText NOTIFY resultsTextChanged)
    Q_PROPERTY(int dieIndex READ dieIndex NOTIFY dieIndexChanged)
    Q_PROPERTY(alearo::CheckMode checkMode READ checkMode NOTIFY checkModeChanged)
    Q_PROPERTY(
        bool noInstantUpdate READ noInstantUpdate WRITE setNoInstantUpdate NOTIFY optionsChanged)
    Q_PROPERTY(
        bool noRollsBelowOne READ noRollsBelowOne WRITE setNoRollsBelowOne NOTIFY optionsChanged)
    Q_PROPERTY(bool dropLowest READ dropLowest WRITE setDropLowest NOTIFY optionsChanged)

  public:
    // The five number boxes.
    enum class Entry { kRolls, kDice, kEachModifier, kTotalModifier, kCheckTarget };
    Q_ENUM(Entry)
    static constexpr std::array<Entry, 5> kEntries{Entry::kRolls, Entry::kDice,
                                                   Entry::kEachModifier, Entry::kTotalModifier,
                                                   Entry::kCheckTarget};

    // Everything about one box, in the order of kEntries.
    struct EntryInfo {
        Entry entry;
        const char* key;    // its name in code: the form's "<key>Edit" and "<key>UpDown"
        const char* label;  // what a person calls it (translated), for messages and
                            // assistive tools
        Range range;
        int start;    // its value at start and after Clear
        int takenAt;  // its place in the order a command takes the boxes
    };
    static const std::array<EntryInfo, 5> kEntryInfo;
    static const EntryInfo& InfoOf(Entry entry) {
        return kEntryInfo[static_cast<std::size_t>(entry)];
    }

    static Range RangeOf(Entry entry) { return InfoOf(entry).range; }
    // What a person calls the box, for messages and assistive tools.
    static QString NameOf(Entry entry);
    // The message for a file that could not be written.
    static QString WriteErrorMessage(const QString& fileName);
    // Done, or failed with that message and the system's reason.
    static Outcome WrittenOrWhy(const QString& fileName, std::error_code error);

    explicit RollerModel(QObject* parent = nullptr);

    QString entryText(Entry entry) const;
    // The value last taken from the box (its start value before that).
    int entryValue(Entry entry) const;
    int dieIndex() const { return m_dieIndex; }
    CheckMode checkMode() const { return m_checkMode; }
    Options options() const { return m_options; }
    bool noInstantUpdate() const { return m_options.noInstantUpdate; }
    bool noRollsBelowOne() const { return m_options.noRollsBelowOne; }
    bool dropLowest() const { return m_options.dropLowest; }

    QString description() const { return m_description; }
    QString checkerLine() const { return m_checkerLine; }
    QString resultsText() const { return m_resultsText; }

    // The results of the last Roll, none before it and after Clear, and the
    // roll they were rolled as.
    const std::vector<RollResult>& results() const { return m_results; }
    bool hasResults() const { return !m_results.empty(); }
    const std::optional<RollSpec>& rolledAs() const { return m_rolledAs; }

    // What the typed form asks for now, read without a word to the player.
    struct FormReading {
        std::optional<Entry> invalidEntry;  // the first box, as a command takes them, that
                                            // holds no number in its range
        RollSpec spec;                      // valid only without an invalid entry
        Checker checker;
        int rolls = 1;
    };
    const FormReading& readForm() const { return m_reading; }

  public slots:
    // The player's own edits.
    void setEntryText(alearo::RollerModel::Entry entry, const QString& text);
    // An up-down step: the box takes the value and shows it.
    void stepEntry(alearo::RollerModel::Entry entry, int value);

    void chooseDie(int index);
    void chooseCheckMode(alearo::CheckMode mode);
    void check();
    void roll();
    void clearEntries();

    void setNoInstantUpdate(bool on);
    void setNoRollsBelowOne(bool on);
    void setDropLowest(bool on);

    // Reads the options and the die kept from the last run; without a
    // settings file the start values stand.
    void loadSettings();
    // Takes the form (a wrong box is reported, and closing goes on) and keeps
    // the options and the die for the next run; failed when they could not be.
    alearo::Outcome close();

    // Writes the results file (nothing when there are no results); failed
    // when it could not be written.
    alearo::Outcome writeResults(alearo::ResultsFormat format);

  signals:
    // The model rewrote a box: the window shows the text as it is.
    void entryTextChanged(alearo::RollerModel::Entry entry, const QString& text);
    void entryRejected(alearo::RollerModel::Entry entry, const QString& message);
    void descriptionChanged(const QString& description);
    void checkerLineChanged(const QString& line);
    void resultsTextChanged(const QString& text);
    void dieIndexChanged(int index);
    void checkModeChanged(alearo::CheckMode mode);
    void optionsChanged();
    // Something the statistics follow changed: a box, the die, the checker,
    // an option or the results.
    void formChanged();

  private:
    struct EntryState {
        QString text;
        int value;
    };
    using EntryValues = std::array<int, kEntries.size()>;
    struct Rejection {
        Entry entry;
        QString message;
    };
    // Reads the typed boxes in the order a command takes them into `values`,
    // up to the first that holds no number in its range.
    std::optional<Rejection> takeEntries(EntryValues& values) const;

    EntryState& state(Entry entry);
    const EntryState& state(Entry entry) const;
    RollSpec loadedSpec() const;

    bool loadForm();
    void storeForm();
    void rebuildDescription();
    void rebuildCheckerLine();
    void updateInstantly();
    void setDescription(const QString& text);
    void setResultsText(const QString& text);
    void changeForm();
    FormReading readTypedForm() const;
    void setCheckerLine(const QString& text);
    void setOptions(const Options& options);
    void setOption(bool Options::*option, bool on);
    void setTypedText(Entry entry, const QString& text);

    std::array<EntryState, kEntries.size()> m_entries;
    int m_dieIndex;
    CheckMode m_checkMode = CheckMode::kNone;
    Options m_options;
    QString m_description;
    QString m_checkerLine;
    QString m_resultsText;
    FormReading m_reading;
    std::vector<RollResult> m_results;
    std::optional<RollSpec> m_rolledAs;
};

}  // namespace alearo

Q_DECLARE_METATYPE(alearo::CheckMode)
Q_DECLARE_METATYPE(alearo::ResultsFormat)
