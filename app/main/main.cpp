#include "EntryPoint.h"

int main(int argc, char** argv) {
    return runVeltmark(argc, argv);
}
