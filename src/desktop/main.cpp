#include "desktop/DesktopEntry.h"

int main(int argc, char* argv[]) { return scorvane::RunDesktop(argc, argv); }
