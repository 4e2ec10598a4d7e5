#include "text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

// Every chunk a log gives, read with a buffer of the given size.
std::vector<std::string> chunksOf(const std::string& bytes, int size = 512) {
    TempFile log(bytes);
    std::FILE* file = log.openText();
    std::vector<std::string> chunks;
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << log.path();
        return chunks;
    }
    std::vector<char> buffer(static_cast<std::size_t>(size));
    while (readChunk(buffer.data(), size, file) != nullptr) {
        chunks.emplace_back(buffer.data());
    }
    // End of input stays the end: later reads give nothing.
    EXPECT_EQ(nullptr, readChunk(buffer.data(), size, file));
    std::fclose(file);
    return chunks;
}

struct ChunkCase {
    const char* name;
    std::string bytes;
    int size;
    std::vector<std::string> chunks;
};

const std::string A511(511, 'a');

const ChunkCase ChunkCases[] = {
    {"empty", "", 512, {}},
    {"lines end after LF", "ab\ncd\n", 512, {"ab\n", "cd\n"}},
    {"last line without LF", "ab\ncd", 512, {"ab\n", "cd"}},
    {"CR LF arrives as LF", "ab\r\ncd\r\n", 512, {"ab\n", "cd\n"}},
    {"lone CR stays", "ab\rcd\r\n", 512, {"ab\rcd\n"}},
    {"CR CR LF", "ab\r\r\n", 512, {"ab\r\n"}},
    {"CR at the end of the file", "ab\r", 512, {"ab\r"}},
    {"511 characters then LF", A511 + "\n", 512, {A511, "\n"}},
    {"510 characters then CR LF fit one chunk",
     A511.substr(1) + "\r\n",
     512,
     {A511.substr(1) + "\n"}},
    {"1023 characters", A511 + A511 + "b\n", 512, {A511, A511, "b\n"}},
    {"small buffer", "abcdef\r\n", 4, {"abc", "def", "\n"}},
    {"0x1A ends the input",
     "ab\ncd\x1A"
     "ef\ngh\n",
     512,
     {"ab\n", "cd"}},
    {"0x1A first",
     "\x1A"
     "ab\n",
     512,
     {}},
    {"CR before 0x1A stays", "ab\r\x1A\n", 512, {"ab\r"}},
    {"NUL ends the chunk's text", std::string("ab\0cd\nef\n", 9), 512, {"ab", "ef\n"}},
};

TEST(TextReader, ChunksLikeTextModeFgets) {
    for (const ChunkCase& c : ChunkCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.chunks, chunksOf(c.bytes, c.size));
    }
}

TEST(TextReader, ALogFileIsNoCharacterDevice) {
    TempFile log("x\n");
    std::FILE* file = log.openText();
    ASSERT_NE(nullptr, file);
    EXPECT_FALSE(isCharacterDevice(file));
    std::fclose(file);
}

TEST(TextReader, ATerminalIsACharacterDevice) {
    std::FILE* device = openCharacterDevice();
    if (device == nullptr) {
        GTEST_SKIP() << "no character device to open here";
    }
    EXPECT_TRUE(isCharacterDevice(device));
    std::fclose(device);
}

}  // namespace
