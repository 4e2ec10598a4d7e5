#include "line_count.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

constexpr ByteStop Stop{'<', 10, '>'};

// What findCountingLineFeeds must find, a byte at a time.
std::size_t modelStop(const std::string& text, std::size_t from, std::size_t* lineFeeds) {
    std::size_t p = from;
    for (; p < text.size(); ++p) {
        if (text[p] == Stop.wanted &&
            (p + Stop.gap >= text.size() || text[p + Stop.gap] != Stop.unless)) {
            break;
        }
        *lineFeeds += text[p] == '\n' ? 1 : 0;
    }
    return p;
}

void expectLikeTheModel(const std::string& text, std::size_t from) {
    std::size_t expectedFeeds = 0;
    const std::size_t expected = modelStop(text, from, &expectedFeeds);
    std::size_t feeds = 0;
    const char* found =
        findCountingLineFeeds(text.data() + from, text.data() + text.size(), Stop, feeds);
    EXPECT_EQ(expected, static_cast<std::size_t>(found - text.data())) << "from " << from;
    EXPECT_EQ(expectedFeeds, feeds) << "from " << from;
}

// Random texts of the bytes that matter, some rounds long, searched from
// every alignment: stops in every lane, near the end, judged by a '>' beyond it.
TEST(LineCount, FindsTheFirstStopAndCountsTheLineFeedsBeforeIt) {
    std::mt19937 engine(29);
    const auto random = [&engine] { return static_cast<std::size_t>(engine()); };
    const char alphabet[] = {'\n', '<', '>', 'a', '\r', '\0'};
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 400, 'a');
        const std::size_t rare = 2 + random() % 200;  // '<' and '>' one byte in so many
        for (char& c : text) {
            const std::size_t pick = random() % rare;
            c = pick < 2 ? alphabet[1 + pick] : alphabet[random() % 6 == 0 ? 0 : 3 + random() % 3];
        }
        for (std::size_t from = 0; from < 4 && from <= text.size(); ++from) {
            expectLikeTheModel(text, from);
        }
    }
}

// Long runs of line feeds overflow no byte lane, with or without a stop.
TEST(LineCount, LongRunsOfLineFeeds) {
    for (const std::size_t length : {4031u, 4032u, 4096u, 20000u}) {
        const std::string feeds(length, '\n');
        EXPECT_EQ(length, countLineFeeds(feeds.data(), feeds.data() + feeds.size()));
        expectLikeTheModel(feeds, 0);
        expectLikeTheModel(feeds + "<", 0);
        expectLikeTheModel(feeds + "<123456789>" + feeds + "<", 0);
    }
}

}  // namespace
