#include "file_bytes.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

// A log is opened in text mode, yet its bytes arrive as they are stored:
// the chunk reader translates them the same way everywhere.
TEST(FileBytes, ATextModeStreamGivesItsStoredBytes) {
    const std::string stored =
        "a\r\nb\r\r\nc\x1A"
        "d";
    TempFile log(stored);
    std::FILE* file = log.openText();
    ASSERT_NE(nullptr, file);
    FileBytes bytes(file);
    std::string read;
    char buffer[4];
    for (std::ptrdiff_t count; (count = bytes.readSome(buffer, sizeof buffer)) > 0;) {
        read.append(buffer, static_cast<std::size_t>(count));
    }
    std::fclose(file);
    EXPECT_EQ(stored, read);
}

TEST(FileBytes, ALogFileIsNoCharacterDevice) {
    TempFile log("x\n");
    std::FILE* file = log.openText();
    ASSERT_NE(nullptr, file);
    EXPECT_FALSE(isCharacterDevice(file));
    std::fclose(file);
}

TEST(FileBytes, ATerminalIsACharacterDevice) {
    std::FILE* device = openCharacterDevice();
    ASSERT_NE(nullptr, device);
    EXPECT_TRUE(isCharacterDevice(device));
    std::fclose(device);
}

}  // namespace
