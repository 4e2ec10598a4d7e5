// The spread of one numeric report value over many reports -- how many,
// smallest, 10th percentile, median, 90th percentile, largest, and a
// histogram -- in memory that does not grow with the number of values.
//
// A column with a limit (every value 0..limit) keeps one counter per value,
// which is exact for any count. A column without one keeps every value up
// to ExactValueCount, which is exact too; the next value turns the list into
// buckets of the values that share their eight highest bits (values below
// 256 keep a bucket each), and from then on a percentile is its bucket's
// smallest value, at most 1/128 (0.8 %) below the exact one. Smallest and
// largest stay exact.
//
// Percentiles are by nearest rank: the p-th is the value at rank
// ceil(p * n / 100) (from 1) in ascending order, so the median of an even
// count is the lower middle value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class NumberTally {
  public:
    static constexpr std::size_t ExactValueCount = 100000;

    // limit: the largest value the column shows; 0 for none.
    explicit NumberTally(std::uint32_t limit) : limit_(limit) {}

    // A value above the limit is not the column's: it is left out.
    void add(std::uint32_t value);
    // Forgets every value; the storage stays for the next ones.
    void clear();

    std::uint64_t count() const { return count_; }
    // Smallest and largest; 0 while the count is 0.
    std::uint32_t smallest() const { return count_ > 0 ? smallest_ : 0; }
    std::uint32_t largest() const { return largest_; }
    // False once a column without a limit has seen more than ExactValueCount.
    bool exact() const { return buckets_.empty(); }

    // The percentiles asked for, in the order asked (each 1 to 100); all 0
    // while the count is 0.
    std::vector<std::uint32_t> percentiles(const std::vector<int>& percents) const;

    // At most binCount bins of equal width covering smallest..largest: bin i
    // holds the values from first + i * width to first + (i + 1) * width - 1.
    struct Histogram {
        std::uint32_t first = 0;
        std::uint64_t width = 1;
        std::vector<std::uint64_t> counts;
    };
    Histogram histogram(int binCount) const;

  private:
    void addToBuckets(std::uint32_t value, std::uint64_t times);
    // Every value kept with how often, ascending; from buckets, each
    // bucket's smallest value (but never below the smallest seen).
    std::vector<std::pair<std::uint32_t, std::uint64_t>> ascending() const;

    std::uint32_t limit_;
    std::uint64_t count_ = 0;
    std::uint32_t smallest_ = 0;
    std::uint32_t largest_ = 0;
    std::vector<std::uint32_t> perValue_;  // with a limit: a counter per value, made at the first
    std::vector<std::uint32_t> values_;    // without one: every value, up to ExactValueCount
    std::vector<std::uint64_t> buckets_;   // without one, beyond that
};
