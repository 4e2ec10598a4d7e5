#include "message_buffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class MessageBuffer : public ::testing::Test {
  protected:
    void SetUp() override {
        releaseMessageBuffer();
        ASSERT_TRUE(createMessageBuffer());
    }

    static std::string text() { return std::string(messageBufferText(), messageBufferLength()); }
};

// A front end's last words come before the end.
TEST(MessageBufferDeathTest, RunningOutOfMemoryRunsTheHandlerFirst) {
    EXPECT_DEATH(
        {
            setOutOfMemoryHandler([] { std::fputs("last words, then ", stderr); });
            stopOutOfMemory();
        },
        "last words, then out of memory");
}

TEST_F(MessageBuffer, StartsAs2048ZeroBytes) {
    ASSERT_EQ(2048u, messageBufferCapacity());
    EXPECT_EQ(0u, messageBufferLength());
    const char* bytes = messageBufferText();
    for (std::size_t i = 0; i < 2048; ++i) {
        ASSERT_EQ('\0', bytes[i]) << i;
    }
}

TEST_F(MessageBuffer, AppendsBytesAsTheyAre) {
    appendText("first");
    appendText("");
    appendText("\r\nsecond");
    EXPECT_EQ("first\r\nsecond", text());
    EXPECT_EQ('\0', messageBufferText()[messageBufferLength()]);
}

// Text + CR LF + terminator exactly filling the block needs no growth; one
// byte more does, and the old text survives the move.
TEST_F(MessageBuffer, GrowsOnlyWhenNeededAndKeepsTheText) {
    const std::string exact(2048 - 3, 'a');
    appendText(exact + "\r\n");
    EXPECT_EQ(2048u, messageBufferCapacity());
    emptyMessageBuffer();

    const std::string over(2048 - 2, 'b');
    appendText(over + "\r\n");
    EXPECT_GE(messageBufferCapacity(), 2049u);
    EXPECT_EQ(over + "\r\n", text());
}

TEST_F(MessageBuffer, ManyLinesStayIntactAcrossGrowth) {
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string line = "line " + std::to_string(i);
        appendText("> " + line + "\r\n");
        expected += "> " + line + "\r\n";
        ASSERT_GE(messageBufferCapacity(), messageBufferLength() + 1);
    }
    EXPECT_EQ(expected, text());
    EXPECT_EQ(expected.size(), std::char_traits<char>::length(messageBufferText()));
}

// Appending is amortised linear: a million lines would take minutes if
// every append measured or copied the whole text.
TEST_F(MessageBuffer, MillionLinesAppendQuickly) {
    for (int i = 0; i < 1000000; ++i) {
        appendText("unrecognized key 7f!\r\n");
    }
    EXPECT_EQ(22u * 1000000u, messageBufferLength());
}

TEST_F(MessageBuffer, EmptyingKeepsCapacity) {
    const std::string big(10000, 'c');
    appendText(big + "\r\n");
    const std::size_t grown = messageBufferCapacity();
    emptyMessageBuffer();
    EXPECT_EQ(grown, messageBufferCapacity());
    EXPECT_EQ(0u, messageBufferLength());
    EXPECT_STREQ("", messageBufferText());
    appendText("d\r\n");
    EXPECT_EQ("d\r\n", text());
}

TEST_F(MessageBuffer, CreatingAgainEmpties) {
    appendText("old");
    ASSERT_TRUE(createMessageBuffer());
    EXPECT_EQ("", text());
}

}  // namespace
