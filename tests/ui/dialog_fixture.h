#pragma once

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "clickable_icon.h"
#include "control_table.h"
#include "dice_dlg.h"
#include "fake_platform_services.h"
#include "up_down.h"

// A main window opened in a fresh, empty working folder, where it reads and
// writes its files. The folder and the previous working folder come back
// when the fixture goes.
class DialogFixture {
  public:
    explicit DialogFixture(bool open = true) : m_previous(QDir::currentPath()) {
        QDir::setCurrent(m_folder.path());
        if (open) {
            Open();
        }
    }
    ~DialogFixture() {
        m_dialog.reset();
        QDir::setCurrent(m_previous);
    }
    DialogFixture(const DialogFixture&) = delete;
    DialogFixture& operator=(const DialogFixture&) = delete;

    void Open() {
        m_dialog = std::make_unique<CDiceDlg>(services);
        m_dialog->show();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }

    CDiceDlg& dialog() { return *m_dialog; }

    template <class Widget>
    Widget* control(int id) {
        return qobject_cast<Widget*>(m_dialog->GetDlgItem(id));
    }

    QLineEdit* edit(int id) { return control<QLineEdit>(id); }

    // Replaces an edit's text as a user would: select all, then type.
    void type(int id, const QString& text) {
        QLineEdit* box = edit(id);
        box->setFocus();
        box->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Delete);
        } else {
            QTest::keyClicks(box, text);
        }
    }

    void command(int commandId) { m_dialog->MenuCommand(commandId)->trigger(); }

    // Types the number of rolls and presses Enter in its box.
    void roll(int rolls) {
        type(control_id::kRolls, QString::number(rolls));
        QTest::keyClick(edit(control_id::kRolls), Qt::Key_Return);
    }

    // A left click in the middle of a button, radio button or the die picture.
    void click(int id) {
        QWidget* target = m_dialog->GetDlgItem(id);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }

    void step(int upDownId, int delta) { control<UpDown>(upDownId)->Step(delta); }

    QString file(const QString& name) const { return m_folder.filePath(name); }

    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool exists(const QString& name) const { return QFile::exists(file(name)); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    FakePlatformServices services;

  private:
    QTemporaryDir m_folder;
    QString m_previous;
    std::unique_ptr<CDiceDlg> m_dialog;
};
