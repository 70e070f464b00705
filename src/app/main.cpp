#include "app/TallyweaverApp.h"

int main(int argc, char** argv) {
    tw::CTallyweaverApp app;
    return app.run(argc, argv);
}
