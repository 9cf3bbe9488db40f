#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QWidget>

#include "form_exchange.h"

// A small form: a radio group, a text, and five number boxes, bound in
// that order like the main window's steps.
class ExchangeForm {
  public:
    ExchangeForm()
        : exchange([this](const QString& message) { messages << message; }), group(&window) {
        for (int i = 0; i < 3; ++i) {
            auto* button = new QRadioButton(QStringLiteral("option %1").arg(i), &window);
            group.addButton(button, i);
        }
        for (QLineEdit*& box : numbers) {
            box = new QLineEdit(&window);
        }
        exchange.BindRadio(&group, mode);
        exchange.BindText(&results, text);
        for (int i = 0; i < 5; ++i) {
            exchange.BindNumber(numbers[i], values[i], 1, 100);
        }
        window.show();
        window.activateWindow();
    }

    void setNumbers(std::initializer_list<const char*> texts) {
        int i = 0;
        for (const char* t : texts) {
            numbers[i++]->setText(QString::fromLatin1(t));
        }
    }

    QWidget window;
    QStringList messages;
    FormExchange exchange;
    QButtonGroup group;
    QTextEdit results{&window};
    QLineEdit* numbers[5]{};
    int mode = 7;
    std::string text;
    std::int16_t values[5] = {11, 12, 13, 14, 15};
};

class FormExchangeTest : public QObject {
    Q_OBJECT

  private slots:
    void loadReadsEveryStepInOrder() {
        ExchangeForm form;
        form.group.button(2)->setChecked(true);
        form.results.setPlainText(QStringLiteral("one\ntwo"));
        form.setNumbers({"1", " 2", "-0", "100", "+5"});
        form.numbers[2]->setText(QStringLiteral("30"));

        QVERIFY(form.exchange.UpdateData(true));
        QCOMPARE(form.mode, 2);
        QCOMPARE(form.text, std::string("one\r\ntwo"));
        const std::int16_t expected[] = {1, 2, 30, 100, 5};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(form.values[i], expected[i]);
        }
        QVERIFY(form.messages.isEmpty());
    }

    void failedStepStopsTheLoadAndLeavesLaterFieldsAlone() {
        ExchangeForm form;
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
        form.setNumbers({"21", "22", "23", "not a number", "25"});

        QVERIFY(!form.exchange.UpdateData(true));
        QCOMPARE(form.values[0], std::int16_t{21});
        QCOMPARE(form.values[1], std::int16_t{22});
        QCOMPARE(form.values[2], std::int16_t{23});
        QCOMPARE(form.values[3], std::int16_t{14});  // did not parse: keeps its value
        QCOMPARE(form.values[4], std::int16_t{15});  // later step: never reached
        QCOMPARE(form.messages, QStringList{QStringLiteral("Please enter an integer.")});
        QVERIFY(form.numbers[3]->hasFocus());
        QCOMPARE(form.numbers[3]->selectedText(), QStringLiteral("not a number"));
    }

    void outOfRangeNumberStaysInItsFieldAsTyped() {
        ExchangeForm form;
        QVERIFY(QTest::qWaitForWindowActive(&form.window));
        form.setNumbers({"1", "150", "3", "4", "5"});

        QVERIFY(!form.exchange.UpdateData(true));
        QCOMPARE(form.values[1], std::int16_t{150});
        QCOMPARE(form.values[2], std::int16_t{13});
        QCOMPARE(form.messages,
                 QStringList{QStringLiteral("Please enter an integer between 1 and 100.")});
        QVERIFY(form.numbers[1]->hasFocus());
        QCOMPARE(form.numbers[1]->selectedText(), QStringLiteral("150"));

        form.setNumbers({"1", "32767", "3", "4", "5"});
        QVERIFY(!form.exchange.UpdateData(true));
        QCOMPARE(form.values[1], std::int16_t{32767});

        form.setNumbers({"1", "32768", "3", "4", "5"});
        QVERIFY(!form.exchange.UpdateData(true));
        QCOMPARE(form.values[1], std::int16_t{32767});  // beyond 16 bits: not a number at all
        QCOMPARE(form.messages.last(), QStringLiteral("Please enter an integer."));
    }

    void radioGroupWithNothingCheckedLoadsAsMinusOne() {
        ExchangeForm form;
        form.setNumbers({"1", "2", "3", "4", "5"});
        QVERIFY(form.exchange.UpdateData(true));
        QCOMPARE(form.mode, -1);
    }

    void storeWritesEveryFieldAndUnchecksAllForMinusOne() {
        ExchangeForm form;
        form.mode = 1;
        form.text = "a\r\nb";
        QVERIFY(form.exchange.UpdateData(false));
        QVERIFY(form.group.button(1)->isChecked());
        QCOMPARE(form.results.toPlainText(), QStringLiteral("a\nb"));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(form.numbers[i]->text(), QString::number(11 + i));
        }

        form.mode = -1;
        form.exchange.UpdateData(false);
        for (QAbstractButton* button : form.group.buttons()) {
            QVERIFY(!button->isChecked());
        }
        form.values[0] = -32768;
        form.exchange.UpdateData(false);
        QCOMPARE(form.numbers[0]->text(), QStringLiteral("-32768"));
    }

    void storeNeverRaisesChangeSignals() {
        ExchangeForm form;
        QSignalSpy edited(form.numbers[0], &QLineEdit::textChanged);
        QSignalSpy results(&form.results, &QTextEdit::textChanged);
        QSignalSpy clicked(&form.group, &QButtonGroup::idClicked);
        form.mode = 0;
        form.values[0] = 99;
        form.text = "changed";
        form.exchange.Store();
        QCOMPARE(form.numbers[0]->text(), QStringLiteral("99"));
        QCOMPARE(edited.count(), 0);
        QCOMPARE(results.count(), 0);
        QCOMPARE(clicked.count(), 0);
    }
};

QTEST_MAIN(FormExchangeTest)
#include "form_exchange_test.moc"
