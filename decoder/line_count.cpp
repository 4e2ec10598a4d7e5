// Line feeds counted (and a byte searched for) sixteen bytes at a time where
// the processor has SSE2 (every x86-64, and 32-bit builds that ask for it),
// eight at a time in a 64-bit word elsewhere; the counts are gathered in byte lanes that are
// summed before they can overflow.

#include "line_count.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VEXA_COUNT_WITH_SSE2 1
#endif

namespace {

// A byte lane counts at most this many line feeds before it is summed.
constexpr std::size_t LaneLimit = 255;

// A byte that the search stops at; one too close to the end to be judged
// by what follows it is one.
bool stopsAt(const char* p, const char* end, const ByteStop& stop) {
    return *p == stop.wanted &&
           (end - p <= static_cast<std::ptrdiff_t>(stop.gap) || p[stop.gap] != stop.unless);
}

std::size_t countRest(const char* p, const char* end) {
    std::size_t count = 0;
    for (; p < end; ++p) {
        count += *p == '\n' ? 1 : 0;
    }
    return count;
}

}  // namespace

#ifdef VEXA_COUNT_WITH_SSE2

std::size_t countLineFeeds(const char* begin, const char* end) {
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    std::size_t count = 0;
    const char* p = begin;
    while (end - p >= 16) {
        const std::size_t words = static_cast<std::size_t>(end - p) / 16;
        const char* stop = p + 16 * (words < LaneLimit ? words : LaneLimit);
        __m128i lanes = zero;
        for (; p < stop; p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            // A match is -1 in its lane.
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, lineFeeds));
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    return count + countRest(p, end);
}

namespace {

unsigned bitCount16(unsigned bits) {
    bits = bits - ((bits >> 1) & 0x5555u);
    bits = (bits & 0x3333u) + ((bits >> 2) & 0x3333u);
    bits = (bits + (bits >> 4)) & 0x0F0Fu;
    return (bits + (bits >> 8)) & 0x1Fu;
}

}  // namespace

// Sixty-four bytes a round: the line feeds summed in byte lanes (at most
// four a lane a round), the wanted byte only tested for; the round that
// holds one is then gone through sixteen bytes at a time by bit masks.
const char* findCountingLineFeeds(const char* begin, const char* end, const ByteStop& stop,
                                  std::size_t& lineFeeds) {
    const __m128i lineFeedBytes = _mm_set1_epi8('\n');
    const __m128i wantedBytes = _mm_set1_epi8(stop.wanted);
    const __m128i unlessBytes = _mm_set1_epi8(stop.unless);
    const __m128i zero = _mm_setzero_si128();
    const std::ptrdiff_t gap = static_cast<std::ptrdiff_t>(stop.gap);
    const auto load = [](const char* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    const auto stops = [&](const char* at) {
        return _mm_andnot_si128(_mm_cmpeq_epi8(load(at + gap), unlessBytes),
                                _mm_cmpeq_epi8(load(at), wantedBytes));
    };
    const char* p = begin;
    bool hit = false;
    while (!hit && end - p >= 64 + gap) {
        const std::size_t rounds = static_cast<std::size_t>(end - p - gap) / 64;
        const char* last = p + 64 * (rounds < LaneLimit / 4 ? rounds : LaneLimit / 4);
        __m128i lanes = zero;
        for (; p < last; p += 64) {
            const __m128i a = load(p);
            const __m128i b = load(p + 16);
            const __m128i c = load(p + 32);
            const __m128i d = load(p + 48);
            // The byte after the gap is looked at only in a round that holds
            // a wanted byte.
            const __m128i wanted = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(a, wantedBytes), _mm_cmpeq_epi8(b, wantedBytes)),
                _mm_or_si128(_mm_cmpeq_epi8(c, wantedBytes), _mm_cmpeq_epi8(d, wantedBytes)));
            if (_mm_movemask_epi8(wanted) != 0 &&
                _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(stops(p), stops(p + 16)),
                                               _mm_or_si128(stops(p + 32), stops(p + 48)))) != 0) {
                hit = true;
                break;
            }
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(a, lineFeedBytes));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(b, lineFeedBytes));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(c, lineFeedBytes));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(d, lineFeedBytes));
        }
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        lineFeeds += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                     static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
    while (end - p >= 16 + gap) {
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(stops(p)));
        const auto feeds =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p), lineFeedBytes)));
        if (found != 0) {
            const unsigned before = (found & (0u - found)) - 1;
            lineFeeds += bitCount16(feeds & before);
            return p + bitCount16(before);
        }
        lineFeeds += bitCount16(feeds);
        p += 16;
    }
    for (; p < end && !stopsAt(p, end, stop); ++p) {
        lineFeeds += *p == '\n' ? 1 : 0;
    }
    return p;
}

#else

std::size_t countLineFeeds(const char* begin, const char* end) {
    const std::uint64_t ones = 0x0101010101010101u;
    const std::uint64_t low7 = ones * 0x7F;
    std::size_t count = 0;
    const char* p = begin;
    while (end - p >= 8) {
        const std::size_t words = static_cast<std::size_t>(end - p) / 8;
        const char* stop = p + 8 * (words < LaneLimit ? words : LaneLimit);
        std::uint64_t lanes = 0;
        for (; p < stop; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t x = word ^ (ones * '\n');
            // The top bit of a lane is set where its byte was a line feed.
            lanes += ~(((x & low7) + low7) | x | low7) >> 7;
        }
        lanes = (lanes & 0x00FF00FF00FF00FFu) + ((lanes >> 8) & 0x00FF00FF00FF00FFu);
        count += static_cast<std::size_t>((lanes * 0x0001000100010001u) >> 48);
    }
    return count + countRest(p, end);
}

const char* findCountingLineFeeds(const char* begin, const char* end, const ByteStop& stop,
                                  std::size_t& lineFeeds) {
    return findCountingLineFeedsPortably(begin, end, stop, lineFeeds);
}

#endif

const char* findCountingLineFeedsPortably(const char* begin, const char* end, const ByteStop& stop,
                                          std::size_t& lineFeeds) {
    const char* p = begin;
    for (;;) {
        const void* found = std::memchr(p, stop.wanted, static_cast<std::size_t>(end - p));
        const char* at = found != nullptr ? static_cast<const char*>(found) : end;
        lineFeeds += countLineFeeds(p, at);
        if (at == end || stopsAt(at, end, stop)) {
            return at;
        }
        p = at + 1;
    }
}
