// The program's own start, as its main() runs it, ending at the first frame
// of the main window.
#include "exit_at_first_frame.h"
#include "ui/app/dice_app.h"

int main(int argc, char** argv) {
    ExitAtFirstFrame<alearo::CDiceApp> app(argc, argv);
    app.InitInstance();
    return EXIT_FAILURE;  // the window closed without ever being painted
}
