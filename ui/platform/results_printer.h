#pragma once

#include <array>
#include <string>

#include "engine/roll_state.h"

class QPrinter;
class QWidget;

namespace alearo {

class PlatformServices;

// How drawing the results page on a printer ended.
enum class PrintOutcome {
    Printed,
    NotStarted,   // the job could not begin on the printer
    NotFinished,  // the page could not be ended; the job was cancelled
};

// Prints the results page: the title and the result lines at the places the
// page layout gives, one logical unit being 0.1 mm from the top-left of the
// printable area, in a fixed-pitch font.
PrintOutcome DrawResultsPage(QPrinter& printer, const std::array<std::string, kResultSlots>& lines,
                             int count);

// Direct printing of the results. Holds nothing; the program has one.
class CResultsPrinter {
  public:
    virtual ~CResultsPrinter() = default;

    // Lets the user choose a printer and prints slots 1 to `count` of `lines`
    // on one page. False when the choice was cancelled, true otherwise; a job
    // that fails is reported to the user through `services`.
    bool PrintResults(PlatformServices& services, QWidget* owner,
                      const std::array<std::string, kResultSlots>& lines, int count) const;
};

extern CResultsPrinter theResultsPrinter;

}  // namespace alearo
