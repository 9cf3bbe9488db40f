#include "ui/forms/form_builder.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/forms/dialog_units.h"
#include "ui/widgets/clickable_icon.h"
#include "ui/widgets/up_down.h"

namespace alearo {

namespace {

constexpr int kIconPixels = 32;

bool Has(const ControlSpec& control, unsigned style) {
    return (control.style & style) != 0;
}

QString Caption(const ControlSpec& control) {
    return QString::fromLatin1(control.caption);
}

// What a person calls a control: its caption without the mnemonic mark and
// without a closing colon.
QString SpokenName(const ControlSpec& control) {
    QString name = Caption(control).remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name;
}

// The group box whose frame holds `rect`, if any: radio buttons become its
// children, so that assistive tools read them as members of their group.
QGroupBox* EnclosingGroupBox(QWidget* page, const QRect& rect) {
    for (QGroupBox* box : page->findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (box->geometry().contains(rect)) {
            return box;
        }
    }
    return nullptr;
}

Qt::Alignment HorizontalAlignment(const ControlSpec& control) {
    if (Has(control, kStyleCentred)) {
        return Qt::AlignHCenter;
    }
    if (Has(control, kStyleRight)) {
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// Windows reaches only the checked button of a radio group with Tab (the
// first one when none is checked); the arrow keys move within the group.
void KeepOneTabStop(QButtonGroup* group) {
    const QList<QAbstractButton*> buttons = group->buttons();
    QAbstractButton* stop = group->checkedButton();
    if (stop == nullptr && !buttons.isEmpty()) {
        stop = buttons.first();
    }
    for (QAbstractButton* button : buttons) {
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

QWidget* MakeWidget(const ControlSpec& control, QWidget* page, const QIcon& icon) {
    switch (control.kind) {
        case ControlKind::GroupBox:
            return new QGroupBox(Caption(control), page);
        case ControlKind::Label: {
            auto* label = new QLabel(Caption(control), page);
            label->setAlignment(HorizontalAlignment(control) | Qt::AlignTop);
            return label;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(page);
            edit->setAlignment(HorizontalAlignment(control) | Qt::AlignVCenter);
            edit->setFrame(Has(control, kStyleBorder));
            if (Has(control, kStyleDigitsOnly)) {
                edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), edit));
            }
            return edit;
        }
        case ControlKind::UpDown:
            return new UpDown(page);
        case ControlKind::RadioButton:
            return new QRadioButton(Caption(control), page);
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton: {
            auto* button = new QPushButton(Caption(control), page);
            button->setDefault(control.kind == ControlKind::DefaultPushButton);
            return button;
        }
        case ControlKind::StaticText: {
            auto* text = new QLabel(Caption(control), page);
            text->setTextFormat(Qt::PlainText);
            const Qt::Alignment vertical =
                Has(control, kStyleVCentred) ? Qt::AlignVCenter : Qt::AlignTop;
            text->setAlignment(HorizontalAlignment(control) | vertical);
            if (Has(control, kStyleStaticEdge)) {
                text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            }
            return text;
        }
        case ControlKind::ResultsBox: {
            auto* box = new QTextEdit(page);
            box->setAcceptRichText(false);
            box->setTabChangesFocus(true);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            QTextOption option = box->document()->defaultTextOption();
            option.setAlignment(HorizontalAlignment(control));
            box->document()->setDefaultTextOption(option);
            return box;
        }
        case ControlKind::Icon: {
            auto* picture = new ClickableIcon(page);
            picture->setPixmap(icon.pixmap(kIconPixels, kIconPixels));
            return picture;
        }
    }
    return nullptr;
}

Qt::FocusPolicy FocusPolicyOf(const ControlSpec& control) {
    switch (control.kind) {
        case ControlKind::GroupBox:
        case ControlKind::Label:
        case ControlKind::StaticText:
        case ControlKind::Icon:
        case ControlKind::UpDown:
            return Qt::NoFocus;
        default:
            return Has(control, kStyleTabStop) ? Qt::StrongFocus : Qt::ClickFocus;
    }
}

}  // namespace

BuiltForm BuildForm(const FormSpec& spec, QWidget* page, const DialogUnits& units,
                    const QIcon& icon) {
    BuiltForm form;
    page->setFixedSize(units.ToPixels(0, 0, spec.width, spec.height).size());

    QButtonGroup* openGroup = nullptr;
    std::vector<QButtonGroup*> tabStopGroups;
    QLabel* labelWaitingForBuddy = nullptr;
    QWidget* previous = nullptr;

    QString nameFromLabel;  // a label's text names the box that follows it
    for (const ControlSpec& control : spec.controls) {
        QWidget* widget = MakeWidget(control, page, icon);
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setFocusPolicy(FocusPolicyOf(control));

        QRect rect = units.ToPixels(control.x, control.y, control.width, control.height);
        if (control.kind == ControlKind::Icon) {
            rect.setSize(QSize(kIconPixels, kIconPixels));
        }
        if (auto* upDown = qobject_cast<UpDown*>(widget)) {
            if (auto* buddy = qobject_cast<QLineEdit*>(previous)) {
                // The buddy gives up its right edge to the arrows.
                QRect buddyRect = buddy->geometry();
                buddyRect.setWidth(buddyRect.width() - rect.width());
                buddy->setGeometry(buddyRect);
                rect =
                    QRect(buddyRect.right() + 1, buddyRect.top(), rect.width(), buddyRect.height());
                upDown->SetBuddy(buddy);
            }
        }
        if (control.kind == ControlKind::RadioButton) {
            if (QGroupBox* box = EnclosingGroupBox(page, rect)) {
                widget->setParent(box);
                rect.translate(-box->pos());
            }
        }
        widget->setGeometry(rect);

        // Static lines are read by their current text; a box without a
        // caption takes its name from the label before it.
        switch (control.kind) {
            case ControlKind::Label:
            case ControlKind::StaticText:
                nameFromLabel = SpokenName(control);
                break;
            case ControlKind::Edit:
            case ControlKind::ResultsBox:
                widget->setAccessibleName(nameFromLabel);
                nameFromLabel.clear();
                break;
            case ControlKind::UpDown:
            case ControlKind::Icon:
                break;
            default:
                widget->setAccessibleName(SpokenName(control));
                nameFromLabel.clear();
        }

        if (Has(control, kStyleGroup)) {
            openGroup = nullptr;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
            if (openGroup == nullptr) {
                openGroup = new QButtonGroup(page);
                openGroup->setExclusive(true);
                form.radioGroups.insert(control.id, openGroup);
                if (Has(control, kStyleTabStop)) {
                    QButtonGroup* group = openGroup;
                    tabStopGroups.push_back(group);
                    QObject::connect(group, &QButtonGroup::buttonToggled, page,
                                     [group] { KeepOneTabStop(group); });
                }
            }
            openGroup->addButton(radio, openGroup->buttons().size());
        }

        if (labelWaitingForBuddy != nullptr) {
            labelWaitingForBuddy->setBuddy(widget);
            labelWaitingForBuddy = nullptr;
        }
        if (control.kind == ControlKind::Label && control.caption[0] != '\0') {
            labelWaitingForBuddy = static_cast<QLabel*>(widget);
        }
        if (control.kind == ControlKind::GroupBox) {
            widget->lower();
        }

        if (control.id != -1) {
            form.controls.insert(control.id, widget);
        }
        form.inTemplateOrder.push_back(widget);
        previous = widget;
    }
    for (QButtonGroup* group : tabStopGroups) {
        KeepOneTabStop(group);
    }
    return form;
}

BuiltForm BuildDialogForm(QDialog& dialog, const FormSpec& spec, const QIcon& icon,
                          QMenuBar* menuBar) {
    dialog.setWindowTitle(QString::fromLatin1(spec.caption));
    auto* page = new QWidget(&dialog);
    page->setObjectName(QStringLiteral("form"));
    BuiltForm form = BuildForm(spec, page, DialogUnits(dialog.font()), icon);

    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(page);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return form;
}

}  // namespace alearo
