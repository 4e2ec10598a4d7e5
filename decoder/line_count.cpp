// Line feeds counted sixteen bytes at a time where the processor has SSE2
// (every x86-64, and 32-bit builds that ask for it), eight at a time in a
// 64-bit word elsewhere; the counts are gathered in byte lanes that are
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

#endif
