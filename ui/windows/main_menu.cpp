#include "ui/windows/control_ids.h"
#include "ui/windows/window_tables.h"

namespace alearo {

const std::vector<MenuLine>& MainMenuLines() {
    using namespace command_id;
    static const std::vector<MenuLine> lines{
        {"&Alearo", nullptr, "&Roll", kRoll, false},
        {"&Alearo", nullptr, "&Clear Entries", kClearEntries, false},
        {"&Alearo", nullptr, "&Statistics...", kStatistics, false},
        {"&Alearo", nullptr, nullptr, 0, false},
        {"&Alearo", "&Print Results...", "Send to Printer", kSendToPrinter, false},
        {"&Alearo", "&Print Results...", "Send to Printer via Notepad", kSendToPrinterViaNotepad,
         false},
        {"&Alearo", "&Output To File...", "Results in Normal Format", kResultsNormalFormat, false},
        {"&Alearo", "&Output To File...", "Results with No Text", kResultsNoText, false},
        {"&Alearo", nullptr, nullptr, 0, false},
        {"&Alearo", nullptr, "E&xit", kExit, false},
        {"&Settings", nullptr, "Disable \"Instant Update\"", kNoInstantUpdate, true},
        {"&Settings", nullptr, "Disable Rolls Less Than 1", kNoRollsBelowOne, true},
        {"&Settings", nullptr, "Throw Out Lowest Roll", kDropLowest, true},
        {"&Help", nullptr, "&Contents", kHelpContents, false, "F1"},
        {"&Help", nullptr, "Alearo Website", kWebsite, false},
        {"&Help", nullptr, nullptr, 0, false},
        {"&Help", nullptr, "&About Alearo", kAbout, false},
    };
    return lines;
}

}  // namespace alearo
