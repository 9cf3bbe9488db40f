#pragma once

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "engine/random_range.h"
#include "fake_platform_services.h"
#include "ui/widgets/up_down.h"
#include "ui/windows/control_ids.h"
#include "ui/windows/dice_dlg.h"

namespace alearo {

// A main window opened in a fresh, empty working folder, where it reads and
// writes its files; the previous working folder comes back afterwards.
class DialogFixture {
  public:
    DialogFixture() : m_previous(QDir::currentPath()) {
        QDir::setCurrent(m_folder.path());
        // The same dice in every run, so that what follows from them can be pinned.
        ResetRandomSource({[] { return std::time_t{1700000000}; }, [] { return 7U; }});
        Open();
    }
    ~DialogFixture() {
        m_dialog.reset();
        QDir::setCurrent(m_previous);
    }
    Q_DISABLE_COPY_MOVE(DialogFixture)

    // A new window in place of the old one, which goes without closing.
    void Open() {
        m_dialog = std::make_unique<CDiceDlg>(services);
        m_dialog->show();
        m_dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }

    CDiceDlg& dialog() { return *m_dialog; }
    template <class Widget = QWidget>
    Widget* control(int id) {
        return qobject_cast<Widget*>(m_dialog->GetDlgItem(id));
    }
    QLineEdit* edit(int id) { return control<QLineEdit>(id); }

    // Replaces a box's text as a user would: select all, then type.
    static void type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        text.isEmpty() ? QTest::keyClick(box, Qt::Key_Delete) : QTest::keyClicks(box, text);
    }
    void type(int id, const QString& text) { type(edit(id), text); }
    void click(int id) {
        QTest::mouseClick(control(id), Qt::LeftButton, {}, control(id)->rect().center());
    }
    void command(int commandId) { m_dialog->MenuCommand(commandId)->trigger(); }
    // Types the number of rolls and presses Enter in its box.
    void roll(int rolls) {
        type(control_id::kRolls, QString::number(rolls));
        QTest::keyClick(edit(control_id::kRolls), Qt::Key_Return);
    }

    QString file(const QString& name) const { return m_folder.filePath(name); }
    bool exists(const QString& name) const { return QFile::exists(file(name)); }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    FakePlatformServices services;

  private:
    QTemporaryDir m_folder;
    QString m_previous;
    std::unique_ptr<CDiceDlg> m_dialog;
};

}  // namespace alearo
