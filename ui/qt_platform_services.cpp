#include "qt_platform_services.h"

#include <QMessageBox>

#include "message_texts.h"

void QtPlatformServices::ShowError(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kErrorCaption), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

void QtPlatformServices::ShowValidationMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationName), text,
                    QMessageBox::Ok, owner);
    box.exec();
}
