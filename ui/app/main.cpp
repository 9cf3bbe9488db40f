#include "ui/app/dice_app.h"

int main(int argc, char** argv) {
    alearo::CDiceApp app(argc, argv);
    app.InitInstance();
    return 0;
}
