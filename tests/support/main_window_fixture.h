// SPDX-License-Identifier: MIT
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
#include "ui/windows/main_window.h"

namespace alearo {

// A main window opened in a fresh, empty working folder, where it reads and
// writes its files; the previous working folder comes back afterwards.
class MainWindowFixture {
  public:
    MainWindowFixture() : m_previous(QDir::currentPath()) {
        QDir::setCurrent(m_folder.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_folder.path()));  // the dice tray's database
        // The same dice in every run, so that what follows from them can be pinned.
        ResetRandomSource({[] { return std::time_t{1700000000}; }, [] { return 7U; }});
        open();
    }
    ~MainWindowFixture() {
        m_window.reset();
        QDir::setCurrent(m_previous);
    }
    Q_DISABLE_COPY_MOVE(MainWindowFixture)

    // A new window in place of the old one, which goes without closing.
    void open() {
        m_window = std::make_unique<MainWindow>(services);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    MainWindow& window() { return *m_window; }
    RollerModel& model() { return m_window->model(); }
    template <class Widget = QWidget>
    Widget* named(const QString& name) {
        auto* widget = m_window->findChild<Widget*>(name);
        return widget ? widget : (qFatal("no %s", qPrintable(name)), nullptr);
    }

    // Replaces a box's text as a player would: select all, then type.
    static void Type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        text.isEmpty() ? QTest::keyClick(box, Qt::Key_Delete) : QTest::keyClicks(box, text);
    }
    // Types the number of rolls and presses Enter in its box.
    void roll(int rolls) {
        auto* box = named<QLineEdit>(QStringLiteral("rollsEdit"));
        Type(box, QString::number(rolls));
        QTest::keyClick(box, Qt::Key_Return);
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
    std::unique_ptr<MainWindow> m_window;
};

}  // namespace alearo
