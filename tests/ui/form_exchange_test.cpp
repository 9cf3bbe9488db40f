#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

#include "form_exchange.h"

// A radio group, a text box and five number boxes (1 to 100), bound in that
// order like the main window's steps.
struct ExchangeForm {
    ExchangeForm() : exchange([this](const QString& message) { messages << message; }) {
        for (int i = 0; i < 3; ++i) {
            group.addButton(new QRadioButton(&window), i);
        }
        exchange.BindRadio(&group, mode);
        exchange.BindText(&results, text);
        for (int i = 0; i < 5; ++i) {
            numbers[i] = new QLineEdit(&window);
            exchange.BindNumber(numbers[i], values[i], 1, 100);
        }
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    void setNumbers(const QStringList& texts) {
        for (int i = 0; i < 5; ++i) {
            numbers[i]->setText(texts[i]);
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
    void loadReadsEveryStepAndANoneCheckedGroupAsMinusOne() {
        ExchangeForm form;
        form.results.setPlainText(QStringLiteral("one\ntwo"));
        form.setNumbers({"1", " 2", "+30", "100", "007"});
        QVERIFY(form.exchange.UpdateData(true));
        QCOMPARE(form.mode, -1);
        QCOMPARE(form.text, std::string("one\r\ntwo"));
        QCOMPARE(QList<std::int16_t>(form.values, form.values + 5),
                 (QList<std::int16_t>{1, 2, 30, 100, 7}));
        QVERIFY(form.messages.isEmpty());
        form.group.button(2)->setChecked(true);
        form.exchange.UpdateData(true);
        QCOMPARE(form.mode, 2);
    }

    void failedStepStopsTheLoad_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("keptValue");
        QTest::addColumn<QString>("message");
        const QString range = QStringLiteral("Please enter an integer between 1 and 100.");
        const QString integer = QStringLiteral("Please enter an integer.");
        QTest::newRow("out of range") << "150" << 150 << range;
        QTest::newRow("16-bit top") << "32767" << 32767 << range;
        QTest::newRow("zero") << "0" << 0 << range;
        QTest::newRow("beyond 16 bits") << "32768" << 14 << integer;
        QTest::newRow("letters") << "abc" << 14 << integer;
        QTest::newRow("empty") << "" << 14 << integer;
    }

    void failedStepStopsTheLoad() {
        QFETCH(QString, typed);
        QFETCH(int, keptValue);
        QFETCH(QString, message);
        ExchangeForm form;
        form.setNumbers({"21", "22", "23", typed, "25"});
        QVERIFY(!form.exchange.UpdateData(true));
        QCOMPARE(form.messages, QStringList{message});
        // Earlier steps loaded; the failing field holds a typed number or its
        // old value; later steps untouched; the box focused with its text selected.
        QCOMPARE(QList<std::int16_t>(form.values, form.values + 5),
                 (QList<std::int16_t>{21, 22, 23, std::int16_t(keptValue), 15}));
        QVERIFY(form.numbers[3]->hasFocus());
        QCOMPARE(form.numbers[3]->selectedText(), typed);
    }

    void storeWritesEveryFieldAndRaisesNoChangeSignal() {
        ExchangeForm form;
        QSignalSpy edited(form.numbers[0], &QLineEdit::textChanged);
        QSignalSpy results(&form.results, &QTextEdit::textChanged);
        QSignalSpy clicked(&form.group, &QButtonGroup::idClicked);
        form.mode = 1;
        form.text = "a\r\nb";
        form.values[0] = -32768;
        QVERIFY(form.exchange.UpdateData(false));
        QVERIFY(form.group.button(1)->isChecked());
        QCOMPARE(form.results.toPlainText(), QStringLiteral("a\nb"));
        QCOMPARE(form.numbers[0]->text(), QStringLiteral("-32768"));
        QCOMPARE(form.numbers[4]->text(), QStringLiteral("15"));
        QCOMPARE(edited.size() + results.size() + clicked.size(), 0);

        form.mode = -1;
        form.exchange.Store();
        QCOMPARE(form.group.checkedButton(), nullptr);
    }
};

QTEST_MAIN(FormExchangeTest)
#include "form_exchange_test.moc"
