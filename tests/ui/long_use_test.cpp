// SPDX-License-Identifier: MIT
// Long use of a real main window: ten thousand of the largest Rolls
// (ALEARO_LONG_USE_ROLLS sets how many).
#include <QCoreApplication>
#include <QRegularExpression>

#include "main_window_fixture.h"

namespace alearo {
namespace {

// The process's peak resident set so far, in kB.
long PeakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    static const QRegularExpression peak(QStringLiteral("VmHWM:\\s*(\\d+)"));
    return peak.match(QString::fromLatin1(status.readAll())).captured(1).toLong();
}

}  // namespace

class LongUseTest : public QObject {
    Q_OBJECT

  private slots:
    // Many Rolls of the largest size in one window, as in a long evening of
    // play: memory must stay flat, and the leak checker of the sanitizer
    // build must find nothing when the program ends.
    void tenThousandLargestRollsKeepMemoryFlat() {
        const int asked = qEnvironmentVariableIntValue("ALEARO_LONG_USE_ROLLS");
        const int rolls = asked > 100 ? asked : 10000;
        MainWindowFixture f;
        RollerModel& m = f.model();
        m.setNoInstantUpdate(true);  // else a lone minus sign is reported
        m.setDropLowest(true);
        m.setNoRollsBelowOne(true);
        QTest::mouseClick(f.named("d100Radio"), Qt::LeftButton);
        MainWindowFixture::Type(f.named<QLineEdit>("diceEdit"), QStringLiteral("100"));
        MainWindowFixture::Type(f.named<QLineEdit>("eachModifierEdit"), QStringLiteral("-20"));
        QTest::mouseClick(f.named("greaterThanRadio"), Qt::LeftButton);
        MainWindowFixture::Type(f.named<QLineEdit>("rollsEdit"), QStringLiteral("100"));
        long afterHundred = 0;
        for (int k = 1; k <= rolls; ++k) {
            m.roll();
            QCoreApplication::processEvents();  // lays out and paints the new results
            afterHundred = k == 100 ? PeakResidentKb() : afterHundred;
        }
        const long growth = PeakResidentKb() - afterHundred;
        qInfo("peak resident set after 100 Rolls: %ld kB, grown by %ld kB since", afterHundred,
              growth);
        QVERIFY(f.services.messages.isEmpty() && m.results().size() == 100);
#if !defined(__SANITIZE_ADDRESS__)
        // A program that kept even the results text of every Roll would grow
        // by tens of megabytes. (AddressSanitizer holds freed memory back on
        // purpose, so there only its leak check counts.)
        QVERIFY2(afterHundred > 0 && growth <= 2048, qPrintable(QString::number(growth)));
#endif
    }
};

}  // namespace alearo

QTEST_MAIN(alearo::LongUseTest)
#include "long_use_test.moc"
