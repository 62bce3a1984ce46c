#include "app/startup.h"

int main(int argc, char* argv[]) {
    return orvanta::runOrvanta(argc, argv);
}
