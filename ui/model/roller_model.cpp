// SPDX-License-Identifier: MIT
#include "ui/model/roller_model.h"

#include "engine/die_type.h"
#include "engine/texts.h"
#include "input/number_text.h"
#include "settings/settings_byte.h"
#include "settings/settings_file.h"

namespace alearo {

namespace {

using Entry = RollerModel::Entry;

// The boxes in the order a command takes them.
std::array<Entry, RollerModel::kEntries.size()> TakingOrder() {
    std::array<Entry, RollerModel::kEntries.size()> order{};
    for (const RollerModel::EntryInfo& info : RollerModel::kEntryInfo) {
        order[static_cast<std::size_t>(info.takenAt)] = info.entry;
    }
    return order;
}

// The boxes whose edits refresh the description at once.
bool DescribesTheRoll(Entry entry) {
    return entry == Entry::kDice || entry == Entry::kEachModifier || entry == Entry::kTotalModifier;
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

const std::array<RollerModel::EntryInfo, 5> RollerModel::kEntryInfo{{
    {Entry::kRolls, "rolls", QT_TR_NOOP("Rolls"), kRollsRange, 1, 3},
    {Entry::kDice, "dice", QT_TR_NOOP("Dice"), kDiceRange, 1, 1},
    {Entry::kEachModifier, "eachModifier", QT_TR_NOOP("Each roll"), kModifierRange, 0, 4},
    {Entry::kTotalModifier, "totalModifier", QT_TR_NOOP("Total"), kModifierRange, 0, 2},
    {Entry::kCheckTarget, "checkTarget", QT_TR_NOOP("Check for"), kCheckTargetRange, 0, 0},
}};

QString RollerModel::NameOf(Entry entry) {
    return tr(InfoOf(entry).label);
}

QString RollerModel::WriteErrorMessage(const QString& fileName) {
    return tr("Error Writing to File: %1").arg(fileName);
}

RollerModel::RollerModel(QObject* parent)
    : QObject(parent),
      m_dieIndex(kDefaultDieIndex),
      m_description(QString::fromLatin1(kStartDescription)) {
    for (const EntryInfo& info : kEntryInfo) {
        state(info.entry) = {QString::number(info.start), info.start};
    }
    m_reading = readTypedForm();
}

RollerModel::EntryState& RollerModel::state(Entry entry) {
    return m_entries[static_cast<std::size_t>(entry)];
}

const RollerModel::EntryState& RollerModel::state(Entry entry) const {
    return m_entries[static_cast<std::size_t>(entry)];
}

QString RollerModel::entryText(Entry entry) const {
    return state(entry).text;
}

int RollerModel::entryValue(Entry entry) const {
    return state(entry).value;
}

RollSpec RollerModel::loadedSpec() const {
    RollSpec spec;
    spec.dice = entryValue(Entry::kDice);
    spec.sides = SidesOfDie(m_dieIndex);
    spec.eachModifier = entryValue(Entry::kEachModifier);
    spec.totalModifier = entryValue(Entry::kTotalModifier);
    spec.noRollsBelowOne = m_options.noRollsBelowOne;
    spec.dropLowest = m_options.dropLowest;
    return spec;
}

std::optional<RollerModel::Rejection> RollerModel::takeEntries(EntryValues& values) const {
    for (const Entry entry : TakingOrder()) {
        const Range range = RangeOf(entry);
        const NumberLoadResult loaded =
            LoadNumberText(entryText(entry).toStdString(), range.minimum, range.maximum);
        if (loaded.status == NumberLoad::kNotInteger) {
            return Rejection{entry, tr("Please enter an integer.")};
        }
        // A number out of range is kept as typed.
        values[static_cast<std::size_t>(entry)] = loaded.value;
        if (loaded.status == NumberLoad::kOutOfRange) {
            return Rejection{entry, tr("Please enter an integer between %1 and %2.")
                                        .arg(range.minimum)
                                        .arg(range.maximum)};
        }
    }
    return std::nullopt;
}

// The form is read once per change, for every reader of it.
void RollerModel::changeForm() {
    m_reading = readTypedForm();
    emit formChanged();
}

RollerModel::FormReading RollerModel::readTypedForm() const {
    FormReading reading;
    EntryValues values{};
    if (const std::optional<Rejection> rejection = takeEntries(values)) {
        reading.invalidEntry = rejection->entry;
    }
    const auto value = [&values](Entry entry) { return values[static_cast<std::size_t>(entry)]; };
    reading.spec = loadedSpec();
    reading.spec.dice = value(Entry::kDice);
    reading.spec.eachModifier = value(Entry::kEachModifier);
    reading.spec.totalModifier = value(Entry::kTotalModifier);
    reading.checker = {m_checkMode, value(Entry::kCheckTarget)};
    reading.rolls = value(Entry::kRolls);
    return reading;
}

bool RollerModel::loadForm() {
    EntryValues values;
    for (const Entry entry : kEntries) {
        values[static_cast<std::size_t>(entry)] = entryValue(entry);
    }
    const std::optional<Rejection> rejection = takeEntries(values);
    for (const Entry entry : kEntries) {
        state(entry).value = values[static_cast<std::size_t>(entry)];
    }
    if (rejection) {
        emit entryRejected(rejection->entry, rejection->message);
    }
    return !rejection;
}

void RollerModel::storeForm() {
    for (const Entry entry : kEntries) {
        setTypedText(entry, QString::number(entryValue(entry)));
    }
}

void RollerModel::setTypedText(Entry entry, const QString& text) {
    if (state(entry).text != text) {
        state(entry).text = text;
        emit entryTextChanged(entry, text);
    }
}

void RollerModel::setDescription(const QString& text) {
    if (m_description != text) {
        m_description = text;
        emit descriptionChanged(text);
    }
}

void RollerModel::setCheckerLine(const QString& text) {
    if (m_checkerLine != text) {
        m_checkerLine = text;
        emit checkerLineChanged(text);
    }
}

void RollerModel::rebuildDescription() {
    setDescription(FromStd(DescriptionLine(loadedSpec())));
}

void RollerModel::rebuildCheckerLine() {
    const Checker checker{m_checkMode, entryValue(Entry::kCheckTarget)};
    setCheckerLine(FromStd(CheckerLine(checker, CountMatches(checker, m_results))));
}

void RollerModel::updateInstantly() {
    if (m_options.noInstantUpdate) {
        return;
    }
    // A rejected box has been reported; the description follows the values
    // as they stand.
    loadForm();
    rebuildDescription();
}

void RollerModel::setEntryText(Entry entry, const QString& text) {
    state(entry).text = text;
    if (DescribesTheRoll(entry)) {
        updateInstantly();
    }
    changeForm();
}

// Sent even when the text is the same: what the player typed into the box
// since gives way to it.
void RollerModel::setResultsText(const QString& text) {
    m_resultsText = text;
    emit resultsTextChanged(text);
}

void RollerModel::stepEntry(Entry entry, int value) {
    state(entry).value = value;
    setTypedText(entry, QString::number(value));
    // Rewriting a box counts as an edit even when its text stays the same.
    if (DescribesTheRoll(entry)) {
        updateInstantly();
    }
    changeForm();
}

void RollerModel::chooseDie(int index) {
    if (!IsDieIndex(index)) {
        return;
    }
    if (m_dieIndex != index) {
        m_dieIndex = index;
        emit dieIndexChanged(index);
    }
    loadForm();
    rebuildDescription();
    changeForm();
}

void RollerModel::chooseCheckMode(CheckMode mode) {
    if (m_checkMode != mode) {
        m_checkMode = mode;
        emit checkModeChanged(mode);
    }
    loadForm();
    rebuildCheckerLine();
    changeForm();
}

void RollerModel::check() {
    loadForm();
    rebuildCheckerLine();
}

void RollerModel::roll() {
    // A rejected box has been reported; rolling on with half-taken values
    // would give results the player did not ask for.
    if (!loadForm()) {
        return;
    }
    rebuildDescription();
    const RollSpec spec = loadedSpec();
    m_results = RollDice(spec, entryValue(Entry::kRolls));
    m_rolledAs = spec;
    setResultsText(FromStd(ResultsText(m_results)));
    rebuildCheckerLine();
    storeForm();
    changeForm();
}

void RollerModel::clearEntries() {
    setDescription(QString::fromLatin1(kClearedDescription));
    for (const EntryInfo& info : kEntryInfo) {
        state(info.entry).value = info.start;
    }
    m_results.clear();
    m_rolledAs.reset();
    setResultsText(QString());
    setCheckerLine(QString());
    storeForm();
    changeForm();
}

void RollerModel::setOptions(const Options& options) {
    if (!(m_options == options)) {
        m_options = options;
        emit optionsChanged();
        changeForm();
    }
}

void RollerModel::setOption(bool Options::*option, bool on) {
    Options options = m_options;
    options.*option = on;
    setOptions(options);
}

void RollerModel::setNoInstantUpdate(bool on) {
    setOption(&Options::noInstantUpdate, on);
}

void RollerModel::setNoRollsBelowOne(bool on) {
    setOption(&Options::noRollsBelowOne, on);
}

void RollerModel::setDropLowest(bool on) {
    setOption(&Options::dropLowest, on);
}

void RollerModel::loadSettings() {
    // Without a readable settings file, as at the first start, the start
    // values stand.
    const SettingsRead read = ReadSettingsByte();
    if (read.error) {
        return;
    }
    const Settings settings = DecodeSettings(read.byte);
    setOptions(settings.options);
    if (m_dieIndex != settings.dieIndex) {
        m_dieIndex = settings.dieIndex;
        m_reading = readTypedForm();
        emit dieIndexChanged(m_dieIndex);
    }
}

Outcome RollerModel::close() {
    // A rejected box has been reported; the options and the die are kept
    // all the same.
    loadForm();
    return WrittenOrWhy(QLatin1String(kSettingsFileName),
                        WriteSettingsByte(EncodeSettings({m_options, m_dieIndex})));
}

Outcome RollerModel::writeResults(ResultsFormat format) {
    return m_results.empty()
               ? Outcome::Done()
               : WrittenOrWhy(QLatin1String(kResultsFileName), WriteResultsFile(m_results, format));
}

Outcome RollerModel::WrittenOrWhy(const QString& fileName, std::error_code error) {
    return error ? Outcome::Failed(WriteErrorMessage(fileName),
                                   QString::fromStdString(error.message()))
                 : Outcome::Done();
}

}  // namespace alearo
