#include "app/VastelApplication.h"

// The desktop program takes no command-line arguments.
int main(int argc, char** argv) { return vastel::runVastel(argc, argv); }
