#include "dice_app.h"

int main(int argc, char** argv) {
    CDiceApp app(argc, argv);
    app.InitInstance();
    return 0;
}
