#include "number_tally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

const std::vector<int> Percents = {1, 10, 50, 90, 100};

// Nearest rank over a sorted copy: what the tally must give while exact.
std::vector<std::uint32_t> rankedPercentiles(std::vector<std::uint32_t> values) {
    std::sort(values.begin(), values.end());
    std::vector<std::uint32_t> found;
    for (const int percent : Percents) {
        const std::size_t rank = std::max<std::size_t>(1, (percent * values.size() + 99) / 100);
        found.push_back(values[rank - 1]);
    }
    return found;
}

struct TallyCase {
    const char* name;
    std::uint32_t limit;
    std::size_t count;
    std::uint32_t largestDrawn;  // values drawn from 0..largestDrawn
};

TEST(NumberTally, ExactPercentilesByNearestRank) {
    const TallyCase cases[] = {
        {"one value", 255, 1, 255},
        {"two values: the median is the lower", 255, 2, 255},
        {"counters per value, values above the limit left out", 100, 5000, 4095},
        {"the data rate's 64001 counters", 64000, 20000, 64000},
        {"no limit: the whole list", 0, 1000, 0xFFFFFFFF},
        {"no limit: exactly as many as the list keeps", 0, NumberTally::ExactValueCount, 70000},
    };
    std::mt19937 random(20);
    for (const TallyCase& c : cases) {
        SCOPED_TRACE(c.name);
        NumberTally tally(c.limit);
        std::vector<std::uint32_t> kept;
        std::uniform_int_distribution<std::uint32_t> draw(0, c.largestDrawn);
        for (std::size_t i = 0; i < c.count; ++i) {
            const std::uint32_t value = draw(random);
            tally.add(value);
            if (c.limit == 0 || value <= c.limit) {
                kept.push_back(value);
            }
        }
        ASSERT_EQ(kept.size(), tally.count());
        EXPECT_TRUE(tally.exact());
        EXPECT_EQ(*std::min_element(kept.begin(), kept.end()), tally.smallest());
        EXPECT_EQ(*std::max_element(kept.begin(), kept.end()), tally.largest());
        EXPECT_EQ(rankedPercentiles(kept), tally.percentiles(Percents));
    }
}

TEST(NumberTally, BeyondTheListPercentilesStayWithinABucket) {
    NumberTally tally(0);
    std::vector<std::uint32_t> values;
    std::mt19937 random(7);
    // Spread over many powers of two, the small ones exact.
    std::uniform_int_distribution<int> power(0, 31);
    for (std::size_t i = 0; i < NumberTally::ExactValueCount + 5000; ++i) {
        values.push_back(static_cast<std::uint32_t>(random() >> power(random)));
        tally.add(values.back());
    }
    EXPECT_FALSE(tally.exact());
    EXPECT_EQ(values.size(), tally.count());
    EXPECT_EQ(*std::min_element(values.begin(), values.end()), tally.smallest());
    EXPECT_EQ(*std::max_element(values.begin(), values.end()), tally.largest());
    const std::vector<std::uint32_t> exact = rankedPercentiles(values);
    const std::vector<std::uint32_t> approximate = tally.percentiles(Percents);
    for (std::size_t i = 0; i < Percents.size(); ++i) {
        SCOPED_TRACE(Percents[i]);
        EXPECT_LE(approximate[i], exact[i]);
        EXPECT_GE(approximate[i], exact[i] - exact[i] / 128);
    }
}

TEST(NumberTally, HistogramCoversSmallestToLargest) {
    struct HistogramCase {
        const char* name;
        std::uint32_t limit;
        std::vector<std::uint32_t> values;
        std::uint32_t first;
        std::uint64_t width;
        std::vector<std::uint64_t> counts;
    };
    std::vector<std::uint32_t> hundred(100);
    std::iota(hundred.begin(), hundred.end(), 0);
    const HistogramCase cases[] = {
        {"one value", 255, {7}, 7, 1, {1}},
        {"0..99 in twenty bins of five", 255, hundred, 0, 5, std::vector<std::uint64_t>(20, 5)},
        {"a span that twenty does not divide",
         0,
         {10, 10, 31, 30},
         10,
         2,
         {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}},
        {"the largest values without a limit", 0, {0, 0xFFFFFFFF}, 0, 214748365, {1, 0, 0, 0, 0,
                                                                                  0, 0, 0, 0, 0,
                                                                                  0, 0, 0, 0, 0,
                                                                                  0, 0, 0, 0, 1}},
    };
    for (const HistogramCase& c : cases) {
        SCOPED_TRACE(c.name);
        NumberTally tally(c.limit);
        for (const std::uint32_t value : c.values) {
            tally.add(value);
        }
        const NumberTally::Histogram histogram = tally.histogram(20);
        EXPECT_EQ(c.first, histogram.first);
        EXPECT_EQ(c.width, histogram.width);
        EXPECT_EQ(c.counts, histogram.counts);
    }
}

TEST(NumberTally, ClearedTallyStartsAgain) {
    for (const std::uint32_t limit : {0u, 63u}) {
        SCOPED_TRACE(limit);
        NumberTally tally(limit);
        for (std::uint32_t value = 0; value < 60; ++value) {
            tally.add(value);
        }
        tally.clear();
        EXPECT_EQ(std::vector<std::uint32_t>({0, 0, 0, 0, 0}), tally.percentiles(Percents));
        tally.add(42);
        tally.add(40);
        EXPECT_EQ(2u, tally.count());
        EXPECT_EQ(std::vector<std::uint32_t>({40, 40, 40, 42, 42}), tally.percentiles(Percents));
        EXPECT_EQ(40u, tally.smallest());
    }
}

}  // namespace
