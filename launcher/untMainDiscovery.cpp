// Finding the game installation and its executables.
#include "launcher/untMain.h"

void TfrmMain::cbEXEChange() {
    // The version field follows the selected executable once the version reader is in place.
}
