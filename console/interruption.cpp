// Noting SIGINT and SIGTERM. std::signal is all that both platforms share;
// on Windows the C runtime raises SIGINT for Ctrl+C on its own thread. A
// wait on the port is cut by the signal or lasts a second at most, so the
// note is seen at once or within that second.

#include "interruption.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void noteSignal(int number) {
    caught = number;
}

}  // namespace

void catchInterruptions() {
    std::signal(SIGINT, noteSignal);
    std::signal(SIGTERM, noteSignal);
}

int interruptingSignal() {
    return static_cast<int>(caught);
}
