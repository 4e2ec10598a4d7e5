#include "modem_answer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A port that hands out a script of reads, each cut to the size asked for,
// and then, when the script is over, a hang-up or a failure. (A stalled
// modem's deadline is tested against the simulator, port-tests.sh.)
class ScriptedPort : public SerialPort {
  public:
    ScriptedPort(std::vector<std::string> reads, bool failsAtEnd)
        : reads_(std::move(reads)), failsAtEnd_(failsAtEnd) {}

    void discardInput() override {}
    bool write(const std::string&) override { return true; }

    std::ptrdiff_t read(char* buffer, std::size_t size, int) override {
        if (next_ == reads_.size()) {
            hungUp_ = !failsAtEnd_;
            failure_ = failsAtEnd_ ? "broken" : "the port hung up";
            return -1;
        }
        std::string& piece = reads_[next_];
        const std::size_t count = std::min(size, piece.size());
        std::memcpy(buffer, piece.data(), count);
        piece.erase(0, count);
        next_ += piece.empty() ? 1 : 0;
        return static_cast<std::ptrdiff_t>(count);
    }

  private:
    std::vector<std::string> reads_;
    bool failsAtEnd_;
    std::size_t next_ = 0;
};

struct AnswerCase {
    const char* name;
    std::vector<std::string> reads;
    bool untilResult;
    std::string expected;  // what the answer hands on
    AnswerEnding ending;
};

const AnswerCase AnswerCases[] = {
    {"OK ends it, the rest is left",
     {"AT*VXD\r\r\nDIAG <2A4D3263 0=10>\r\n", "\r\nOK\r\nRING\r\n"},
     true,
     "AT*VXD\r\r\nDIAG <2A4D3263 0=10>\r\n\r\nOK\r\n",
     AnswerEnding::Ok},
    {"ERROR ends it", {"ATZ\r\r\nERROR\r\n"}, true, "ATZ\r\r\nERROR\r\n", AnswerEnding::Error},
    {"a result word cut between reads",
     {"DIAG <2A4D3263 0=10>\r\nO", "K\r", "\n"},
     true,
     "DIAG <2A4D3263 0=10>\r\nOK\r",
     AnswerEnding::Ok},
    {"indented, and anything after OK", {"\r\n  OKAY\n"}, true, "\r\n  OKAY\n", AnswerEnding::Ok},
    {"OK inside a line is no result",
     {"NOK\r\nX OK\r\n"},
     false,
     "NOK\r\nX OK\r\n",
     AnswerEnding::HungUp},
    {"nothing ends it before the hang-up",
     {"DIAG <2A4D3263 0=10>\r\n"},
     true,
     "DIAG <2A4D3263 0=10>\r\n",
     AnswerEnding::HungUp},
    {"without a command OK does not end it",
     {"OK\r\n", "DIAG <2A4D3263 0=10>\r\n"},
     false,
     "OK\r\nDIAG <2A4D3263 0=10>\r\n",
     AnswerEnding::HungUp},
};

std::string readAll(ModemAnswer& answer, std::ptrdiff_t* last) {
    std::string text;
    char buffer[16];
    while ((*last = answer.readSome(buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(*last));
    }
    return text;
}

TEST(ModemAnswer, EndsWithTheFinalResult) {
    for (const AnswerCase& c : AnswerCases) {
        SCOPED_TRACE(c.name);
        ScriptedPort port(c.reads, false);
        ModemAnswer answer(port, c.untilResult, std::chrono::seconds(30));
        std::ptrdiff_t last = 0;
        EXPECT_EQ(c.expected, readAll(answer, &last));
        EXPECT_EQ(0, last);
        EXPECT_EQ(c.ending, answer.ending());
        EXPECT_EQ(0, answer.readSome(nullptr, 0)) << "the end stays the end";
    }
}

TEST(ModemAnswer, FailureIsAReadError) {
    ScriptedPort port({"DIAG"}, true);
    ModemAnswer answer(port, true, std::chrono::seconds(30));
    std::ptrdiff_t last = 0;
    EXPECT_EQ("DIAG", readAll(answer, &last));
    EXPECT_EQ(-1, last);
    EXPECT_EQ(AnswerEnding::Failed, answer.ending());
    EXPECT_EQ("broken", answer.failure());
}

}  // namespace
