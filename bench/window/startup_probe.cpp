// The program's own start, as its main() runs it, ending at the first frame
// of the main window.
#include "dice_app.h"
#include "exit_at_first_frame.h"

int main(int argc, char** argv) {
    ExitAtFirstFrame<CDiceApp> app(argc, argv);
    app.InitInstance();
    return EXIT_FAILURE;  // the window closed without ever being painted
}
