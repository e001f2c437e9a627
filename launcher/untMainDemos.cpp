// Demo recording and playback.
#include "launcher/untMain.h"

std::variant<std::string, Refusal> TfrmMain::PrepareXpdPlayback(const std::string&) {
    // XPD packages are not read by this build yet: refuse plainly rather than start the game.
    return Refusal{MessageKind::Error, "Playing XPD packages is not supported by this build"};
}
