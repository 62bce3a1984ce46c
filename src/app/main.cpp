#include "app/startup.h"

int main(int argc, char* argv[]) {
    return orvanta::RunOrvanta(argc, argv);
}
