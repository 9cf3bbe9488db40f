// Many Rolls of the largest size in one window, as in a long evening of play:
// memory must stay flat, and the leak checker of the sanitizer build must
// find nothing when the program ends.
#include <QCoreApplication>
#include <fstream>
#include <string>

#include "dialog_fixture.h"
#include "menu_table.h"

namespace id = control_id;

namespace {

// The process's peak resident set so far, in kB.
long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory back on purpose, so the resident set
// grows whatever the program does; there only the leak check counts.
constexpr bool kResidentSetMeaningful = false;
#else
constexpr bool kResidentSetMeaningful = true;
#endif

// A program that keeps nothing per Roll stays within a few pages of where it
// was after the first hundred; one that kept even the results text of every
// Roll would grow by tens of megabytes.
constexpr long kAllowedGrowthKb = 2048;

}  // namespace

class LongUseTest : public QObject {
    Q_OBJECT

  private slots:
    void tenThousandLargestRollsKeepMemoryFlat() {
        const int rolls = qEnvironmentVariableIntValue("ALEARO_LONG_USE_ROLLS") > 0
                              ? qEnvironmentVariableIntValue("ALEARO_LONG_USE_ROLLS")
                              : 10000;
        DialogFixture f;
        f.command(command_id::kNoInstantUpdate);
        f.command(command_id::kDropLowest);
        f.command(command_id::kNoRollsBelowOne);
        f.click(id::kD100);
        f.type(id::kDice, QStringLiteral("100"));
        f.type(id::kEachModifier, QStringLiteral("-20"));
        f.type(id::kTotalModifier, QStringLiteral("7"));
        f.type(id::kRolls, QStringLiteral("100"));
        f.click(id::kGreaterThan);

        auto rollAndShow = [&f] {
            f.dialog().OnRoll();
            QCoreApplication::processEvents();  // lays out and paints the new results
        };
        for (int k = 0; k < 100; ++k) {
            rollAndShow();
        }
        const long afterHundred = PeakResidentKb();
        for (int k = 100; k < rolls; ++k) {
            rollAndShow();
        }
        const long afterAll = PeakResidentKb();
        qInfo("peak resident set after 100 Rolls: %ld kB, after %d Rolls: %ld kB", afterHundred,
              rolls, afterAll);

        QCOMPARE(f.dialog().State().m_nResultCount, std::int16_t(100));
        QVERIFY(f.services.validationMessages.isEmpty());
        QVERIFY(afterHundred > 0);
        if (kResidentSetMeaningful) {
            QVERIFY2(afterAll - afterHundred <= kAllowedGrowthKb,
                     qPrintable(QStringLiteral("grew by %1 kB").arg(afterAll - afterHundred)));
        }
    }
};

QTEST_MAIN(LongUseTest)
#include "long_use_test.moc"
