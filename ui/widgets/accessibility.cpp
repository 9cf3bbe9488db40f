// SPDX-License-Identifier: MIT
#include "ui/widgets/accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace alearo {

namespace {

// A control an assistive tool passes over, together with its parts.
class HiddenAccessible : public QAccessibleWidget {
  public:
    using QAccessibleWidget::QAccessibleWidget;

    QAccessible::State state() const override {
        QAccessible::State hidden = QAccessibleWidget::state();
        hidden.invisible = true;
        hidden.focusable = false;
        return hidden;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

QAccessibleInterface* OwnControls(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);  // the factory sees every object
    if (className == QLatin1String("alearo::UpDown") ||
        className == QLatin1String("alearo::ClickableIcon")) {
        return new HiddenAccessible(widget, QAccessible::NoRole);
    }
    // Plain widgets shown as windows of their own would read as unnamed fillers.
    if (className == QLatin1String("alearo::HelpWindow") ||
        className == QLatin1String("alearo::StatsWindow") ||
        className == QLatin1String("alearo::DiceTrayWindow")) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = (QAccessible::installFactory(OwnControls), true);
    Q_UNUSED(installed);
}

std::function<void(QWidget*)>& AnnouncementWatcher() {
    static std::function<void(QWidget*)> watcher;
    return watcher;
}

void AnnounceTextChange(QWidget* line) {
    if (AnnouncementWatcher()) {
        AnnouncementWatcher()(line);
    }
    QAccessibleEvent event(line, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void WatchAnnouncements(std::function<void(QWidget* line)> watcher) {
    AnnouncementWatcher() = std::move(watcher);
}

}  // namespace alearo
