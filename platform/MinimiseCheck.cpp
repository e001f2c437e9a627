#include "platform/MinimiseCheck.h"

MinimiseCheck CheckMinimised(bool iconic, int waitedMilliseconds) {
    if (iconic)
        return MinimiseCheck::Iconic;
    return waitedMilliseconds >= kIconicWaitLimit ? MinimiseCheck::Hide : MinimiseCheck::Wait;
}
