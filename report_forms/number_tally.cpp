// The spread of one numeric report value: counters per value, a list, or
// buckets, and the percentiles and histogram read from them.

#include "number_tally.h"

#include <algorithm>

namespace {

// Values below this have a bucket each; above, a bucket holds the values
// that share their eight highest bits: 128 buckets for each power of two.
constexpr std::uint32_t ExactBelow = 256;
constexpr std::size_t BucketsPerPower = 128;
constexpr std::size_t BucketCount = ExactBelow + (32 - 8) * BucketsPerPower;

int highestBit(std::uint32_t value) {
    int bit = 0;
    while ((value >> bit) > 1) {
        ++bit;
    }
    return bit;
}

std::size_t bucketOf(std::uint32_t value) {
    if (value < ExactBelow) {
        return value;
    }
    const int shift = highestBit(value) - 7;
    const std::uint32_t leading = value >> shift;  // 128..255
    return ExactBelow + static_cast<std::size_t>(shift - 1) * BucketsPerPower +
           (leading - BucketsPerPower);
}

std::uint32_t bucketStart(std::size_t bucket) {
    if (bucket < ExactBelow) {
        return static_cast<std::uint32_t>(bucket);
    }
    const std::size_t above = bucket - ExactBelow;
    const auto shift = static_cast<int>(above / BucketsPerPower) + 1;
    const auto leading = static_cast<std::uint32_t>(above % BucketsPerPower + BucketsPerPower);
    return leading << shift;
}

}  // namespace

void NumberTally::add(std::uint32_t value) {
    if (limit_ != 0 && value > limit_) {
        return;
    }
    smallest_ = count_ == 0 ? value : std::min(smallest_, value);
    largest_ = count_ == 0 ? value : std::max(largest_, value);
    ++count_;
    if (limit_ != 0) {
        if (perValue_.empty()) {
            perValue_.assign(static_cast<std::size_t>(limit_) + 1, 0);
        }
        ++perValue_[value];
    } else if (!buckets_.empty()) {
        addToBuckets(value, 1);
    } else if (values_.size() < ExactValueCount) {
        values_.push_back(value);
    } else {
        buckets_.assign(BucketCount, 0);
        for (const std::uint32_t kept : values_) {
            addToBuckets(kept, 1);
        }
        values_ = std::vector<std::uint32_t>();
        addToBuckets(value, 1);
    }
}

void NumberTally::addToBuckets(std::uint32_t value, std::uint64_t times) {
    buckets_[bucketOf(value)] += times;
}

void NumberTally::clear() {
    count_ = 0;
    smallest_ = 0;
    largest_ = 0;
    std::fill(perValue_.begin(), perValue_.end(), 0);
    values_.clear();
    buckets_.clear();
}

std::vector<std::pair<std::uint32_t, std::uint64_t>> NumberTally::ascending() const {
    std::vector<std::pair<std::uint32_t, std::uint64_t>> runs;
    if (count_ == 0) {
        return runs;
    }
    if (!perValue_.empty()) {
        for (std::uint32_t value = smallest_; value <= largest_; ++value) {
            if (perValue_[value] > 0) {
                runs.emplace_back(value, perValue_[value]);
            }
        }
    } else if (!buckets_.empty()) {
        for (std::size_t bucket = 0; bucket < buckets_.size(); ++bucket) {
            if (buckets_[bucket] > 0) {
                runs.emplace_back(std::max(bucketStart(bucket), smallest_), buckets_[bucket]);
            }
        }
    } else {
        std::vector<std::uint32_t> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        for (const std::uint32_t value : sorted) {
            if (!runs.empty() && runs.back().first == value) {
                ++runs.back().second;
            } else {
                runs.emplace_back(value, 1);
            }
        }
    }
    return runs;
}

std::vector<std::uint32_t> NumberTally::percentiles(const std::vector<int>& percents) const {
    std::vector<std::uint32_t> found(percents.size(), 0);
    const auto runs = ascending();
    for (std::size_t i = 0; i < percents.size(); ++i) {
        // ceil(p * n / 100), at least 1
        const std::uint64_t rank = std::max<std::uint64_t>(
            1, (static_cast<std::uint64_t>(percents[i]) * count_ + 99) / 100);
        std::uint64_t reached = 0;
        for (const auto& run : runs) {
            reached += run.second;
            if (reached >= rank) {
                found[i] = run.first;
                break;
            }
        }
    }
    return found;
}

NumberTally::Histogram NumberTally::histogram(int binCount) const {
    Histogram histogram;
    if (count_ == 0 || binCount < 1) {
        return histogram;
    }
    const std::uint64_t span = static_cast<std::uint64_t>(largest_) - smallest_ + 1;
    const auto bins = static_cast<std::uint64_t>(binCount);
    histogram.first = smallest_;
    histogram.width = (span + bins - 1) / bins;
    histogram.counts.assign(
        static_cast<std::size_t>((span + histogram.width - 1) / histogram.width), 0);
    for (const auto& run : ascending()) {
        histogram.counts[static_cast<std::size_t>((run.first - smallest_) / histogram.width)] +=
            run.second;
    }
    return histogram;
}
