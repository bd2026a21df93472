#include "imaging/Blend.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The blend is floor((i * older + (a - i) * newest) / a). The sum s is below 255 * 4096 <
// 2^24, so it converts to float exactly, and the division is a multiplication by 1/a in
// single precision plus half a step, 0.5 / a:
//   fl(s * fl(1/a)) is within 2^-23 relative of s / a <= 255, an error below 3.1e-5; rounding
//   the sum adds at most 2^-17 (7.7e-6). The true quotient is k + f with f a multiple of 1/a,
//   0 <= f <= 1 - 1/a, so k + f + 0.5/a +- 3.9e-5 stays inside [k, k + 1) while 0.5 / a is at
//   least 1.2e-4 (a <= 4096). Truncation then gives k, the exact floor.
// Eight or sixteen pixels go through vector registers; the scalar tail computes the same.

namespace {

inline std::uint8_t BlendPixel(int older, int newest, int i, int a, float reciprocal,
                               float halfStep) {
    const int sum = i * older + (a - i) * newest;
    const int value = static_cast<int>(static_cast<float>(sum) * reciprocal + halfStep);
    return static_cast<std::uint8_t>(value < 254 ? value : 254);
}

}  // namespace

void BlendRow(std::uint8_t* out, const std::uint8_t* older, const std::uint8_t* newest, int width,
              int i, int a) {
    const float reciprocal = 1.0f / static_cast<float>(a);
    const float halfStep = 0.5f / static_cast<float>(a);
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    // Pairs (older, newest) times (i, a - i), summed into 32-bit lanes by pmaddwd.
    const __m128i weights = _mm_set1_epi32(static_cast<int>(
        static_cast<std::uint32_t>(i) | (static_cast<std::uint32_t>(a - i) << 16)));
    const __m128 scale = _mm_set1_ps(reciprocal);
    const __m128 bias = _mm_set1_ps(halfStep);
    const __m128i cap = _mm_set1_epi16(254);
    auto quotient = [&](__m128i pairs) {
        const __m128 sum = _mm_cvtepi32_ps(_mm_madd_epi16(pairs, weights));
        return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(sum, scale), bias));
    };
    for (; x + 16 <= width; x += 16) {
        const __m128i o = _mm_loadu_si128(reinterpret_cast<const __m128i*>(older + x));
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(newest + x));
        const __m128i oLow = _mm_unpacklo_epi8(o, zero), oHigh = _mm_unpackhi_epi8(o, zero);
        const __m128i nLow = _mm_unpacklo_epi8(n, zero), nHigh = _mm_unpackhi_epi8(n, zero);
        const __m128i low = _mm_packs_epi32(quotient(_mm_unpacklo_epi16(oLow, nLow)),
                                            quotient(_mm_unpackhi_epi16(oLow, nLow)));
        const __m128i high = _mm_packs_epi32(quotient(_mm_unpacklo_epi16(oHigh, nHigh)),
                                             quotient(_mm_unpackhi_epi16(oHigh, nHigh)));
        const __m128i bytes = _mm_packus_epi16(_mm_min_epi16(low, cap), _mm_min_epi16(high, cap));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), bytes);
    }
#endif
    for (; x < width; ++x) out[x] = BlendPixel(older[x], newest[x], i, a, reciprocal, halfStep);
}
