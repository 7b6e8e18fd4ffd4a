#include "ui/confirm.h"

#include "screen/keys.h"
#include "ui/reportcopies.h"

std::string waitForOneOf(std::initializer_list<std::string> keys) {
    for (;;) {
        const std::string key = pollKey();
        for (const std::string& wanted : keys)
            if (key == wanted) return key;
        sleepMs(1);
    }
}

void waitForSpace() { waitForOneOf({keySpace}); }
void waitForSpaceOrEnter() {
    keepWaitingWindow();
    waitForOneOf({keySpace, keyEnter});
}
void waitForConfirm() { waitForOneOf({keySpace, keyEnter, keyEsc}); }
