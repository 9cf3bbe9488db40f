#pragma once

#include <QApplication>

namespace alearo {

// The application: it runs the main window modally and ends when that closes.
class CDiceApp : public QApplication {
    Q_OBJECT

  public:
    CDiceApp(int& argc, char** argv);

    // Builds the main window and runs it until it closes. Always false: there
    // is no further event loop to enter.
    bool InitInstance();
};

}  // namespace alearo
