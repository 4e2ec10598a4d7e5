// Watching an answer line by line for its final result code, the clock for
// its silence, and the signals that end it.

#include "modem_answer.h"

#include <algorithm>

#include "interruption.h"

namespace {

// Long enough to tell both result words.
constexpr std::size_t WatchedLength = 5;

// A longer wait would not let the deadline be kept, nor a signal be seen at
// once where it does not cut the wait; a shorter one only wakes more often.
constexpr int LongestWait = 1000;

}  // namespace

ModemAnswer::ModemAnswer(SerialPort& port, bool untilResult, std::chrono::milliseconds timeout)
    : port_(port),
      untilResult_(untilResult),
      timeout_(timeout),
      deadline_(std::chrono::steady_clock::now() + timeout) {}

CutReason ModemAnswer::endReason() const {
    switch (ending_) {
        case AnswerEnding::Error:
            return CutReason::ErrorAnswer;
        case AnswerEnding::TimedOut:
            return CutReason::TimedOut;
        case AnswerEnding::Interrupted:
            return CutReason::Interrupted;
        default:
            return CutReason::InputEnded;
    }
}

std::ptrdiff_t ModemAnswer::readSome(char* buffer, std::size_t size) {
    for (;;) {
        if (ending_ != AnswerEnding::Open) {
            return 0;
        }
        const bool interrupted = interruptingSignal() != 0;
        if (interrupted && drained_) {
            ending_ = AnswerEnding::Interrupted;
            return 0;
        }
        // What had arrived before the signal is read once more, at once.
        drained_ = interrupted;
        int wait = interrupted ? 0 : LongestWait;
        if (untilResult_ && !interrupted) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline_ - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                ending_ = AnswerEnding::TimedOut;
                return 0;
            }
            wait = static_cast<int>(std::min<long long>(left.count(), LongestWait));
        }
        const std::ptrdiff_t count = port_.read(buffer, size, wait);
        if (count == 0 && interrupted) {
            ending_ = AnswerEnding::Interrupted;
            return 0;
        }
        if (count < 0) {
            if (port_.hungUp()) {
                ending_ = AnswerEnding::HungUp;
                return 0;
            }
            ending_ = AnswerEnding::Failed;
            failure_ = port_.failure();
            return -1;
        }
        if (count > 0) {
            deadline_ = std::chrono::steady_clock::now() + timeout_;
            return static_cast<std::ptrdiff_t>(
                untilResult_ ? watchLines(buffer, static_cast<std::size_t>(count))
                             : static_cast<std::size_t>(count));
        }
    }
}

// Returns how many of the bytes belong to the answer: all of them, or those
// up to the end of the final result line.
std::size_t ModemAnswer::watchLines(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            const bool ok = lineStart_.compare(0, 2, "OK") == 0;
            if (ok || lineStart_.compare(0, 5, "ERROR") == 0) {
                ending_ = ok ? AnswerEnding::Ok : AnswerEnding::Error;
                // The LF of a CR LF, if it came along.
                return c == '\r' && i + 1 < count && bytes[i + 1] == '\n' ? i + 2 : i + 1;
            }
            lineStart_.clear();
            lineBegun_ = false;
        } else if (lineBegun_ || (c != ' ' && c != '\t')) {
            lineBegun_ = true;
            if (lineStart_.size() < WatchedLength) {
                lineStart_ += c;
            }
        }
    }
    return count;
}
