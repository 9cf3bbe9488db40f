#include "ui/forms/form_exchange.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QSignalBlocker>
#include <utility>

#include "input/number_text.h"
#include "ui/forms/control_text.h"

namespace alearo {

FormExchange::FormExchange(Reporter reportInvalid) : m_reportInvalid(std::move(reportInvalid)) {}

int FormExchange::CheckedIndex(const QButtonGroup* group) {
    const QList<QAbstractButton*> buttons = group->buttons();
    for (int index = 0; index < buttons.size(); ++index) {
        if (buttons[index]->isChecked()) {
            return index;
        }
    }
    return -1;
}

void FormExchange::CheckIndex(QButtonGroup* group, int index) {
    // An exclusive group refuses to uncheck its last button, so exclusivity
    // is lifted while the buttons are set.
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    const QList<QAbstractButton*> buttons = group->buttons();
    for (int i = 0; i < buttons.size(); ++i) {
        const QSignalBlocker blocker(buttons[i]);
        buttons[i]->setChecked(i == index);
    }
    group->setExclusive(exclusive);
}

void FormExchange::BindRadio(QButtonGroup* group, int& field) {
    m_steps.push_back({[group, &field] {
                           field = CheckedIndex(group);
                           return true;
                       },
                       [group, &field] { CheckIndex(group, field); }});
}

void FormExchange::BindText(QWidget* control, std::string& field) {
    m_steps.push_back({[control, &field] {
                           field = ControlText(control).toStdString();
                           return true;
                       },
                       [control, &field] {
                           const QSignalBlocker blocker(control);
                           SetControlText(control, QString::fromStdString(field));
                       }});
}

void FormExchange::BindNumber(QLineEdit* control, std::int16_t& field, int min, int max) {
    m_steps.push_back(
        {[this, control, &field, min, max] {
             const NumberLoadResult loaded =
                 LoadNumberText(control->text().toStdString(), min, max);
             if (loaded.status == NumberLoad::kNotInteger) {
                 return Fail(control, QStringLiteral("Please enter an integer."));
             }
             field = loaded.value;
             if (loaded.status == NumberLoad::kOutOfRange) {
                 return Fail(control, QStringLiteral("Please enter an integer between %1 and %2.")
                                          .arg(min)
                                          .arg(max));
             }
             return true;
         },
         [control, &field] {
             const QSignalBlocker blocker(control);
             control->setText(QString::number(field));
         }});
}

bool FormExchange::Fail(QWidget* control, const QString& message) {
    m_reportInvalid(message);
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
    return false;
}

bool FormExchange::Load() {
    for (const Step& step : m_steps) {
        if (!step.load()) {
            return false;
        }
    }
    return true;
}

void FormExchange::Store() {
    m_storing = true;
    for (const Step& step : m_steps) {
        step.store();
    }
    m_storing = false;
}

bool FormExchange::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        return Load();
    }
    Store();
    return true;
}

}  // namespace alearo
