// Feeds arbitrary text to the Parameters of the movie window's media object: reading it must
// never crash or raise anything but the component's own error, and assigning the text the object
// rebuilds from it gives that same text back.
#include "player/TraceFile.h"
#include "player/untVexaCustomWmpObj.h"
#include "support/FakeMediaControl.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

QApplication* application = nullptr;

// A fresh object per input, so that no input depends on the ones before it. An assignment that
// raises leaves the assigned text as it was, so only a completed one is rebuilt.
std::string Rebuilt(const std::string& text, bool warnings, bool& raised) {
    VirtualPauses pauses;
    TVexaCustomWmpObj object(nullptr, pauses, [] { return std::make_unique<FakeMediaControl>(); });
    object.SetEnableWarnings(warnings);
    try {
        object.SetParameters(text);
    } catch (const VexaError&) {
        raised = true;
        return {};
    }
    const std::string rebuilt = object.Parameters();
    object.SetEnableWarnings(false);
    object.SetParameters(rebuilt);
    if (object.Parameters() != rebuilt)
        __builtin_trap();
    return rebuilt;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The fuzzer's own options stay away from Qt's argument parsing.
    static int qtArgc = 1;
    static char name[] = "fuzz_parameters";
    static char* qtArgv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = new QApplication(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    bool raised = false;
    const std::string quiet = Rebuilt(text, false, raised);
    if (raised)
        __builtin_trap(); // without warnings nothing is raised
    const std::string warned = Rebuilt(text, true, raised);
    if (!raised && warned != quiet)
        __builtin_trap(); // warnings change only whether a rejected value is reported
    // The media object appends a line to its trace for every change; keep the file small.
    (void)truncate(TraceFilePath().c_str(), 0);
    return 0;
}
