#include "ui/forms/control_text.h"

#include "ui/forms/accessibility.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

namespace alearo {

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

bool SetControlText(QWidget* control, const QString& text) {
    if (ControlText(control) == text) {
        return false;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* box = qobject_cast<QTextEdit*>(control)) {
        box->setPlainText(ToWidgetLineEnds(text));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
        AnnounceTextChange(label);
    }
    return true;
}

}  // namespace alearo
