#include "control_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace {

// The results box keeps CR LF between lines, as the results text does;
// the text widget itself works with plain line feeds.
QString ToWidgetLineEnds(const QString& text) {
    QString converted = text;
    converted.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return converted;
}

QString FromWidgetLineEnds(const QString& text) {
    QString converted = text;
    converted.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return converted;
}

}  // namespace

QString ControlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* box = qobject_cast<const QTextEdit*>(control)) {
        return FromWidgetLineEnds(box->toPlainText());
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    return {};
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (edit->text() == text) {
            // QLineEdit stays quiet about an unchanged text; writing an edit
            // reports a change all the same.
            emit edit->textChanged(text);
        } else {
            edit->setText(text);
        }
    } else if (auto* box = qobject_cast<QTextEdit*>(control)) {
        box->setPlainText(ToWidgetLineEnds(text));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}
