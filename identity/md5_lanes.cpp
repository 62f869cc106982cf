#include "identity/md5_lanes.h"

// Every x86-64 processor has SSE2; a 32-bit build asks the processor, and GCC compiles the
// lanes for SSE2 alone.
#if defined(__x86_64__) || (defined(__i386__) && defined(__GNUC__) && !defined(__clang__))
#include <cpuid.h>
#include <emmintrin.h>
#define LOBBEX_MD5_SSE2 1
#endif

namespace {

#ifdef LOBBEX_MD5_SSE2

// The 64 steps as RFC 1321 gives them: which word of the block each adds, by how many bits it
// rotates, and its constant.
constexpr int kWord[64] = {0,  1,  2,  3,  4, 5, 6,  7, 8,  9,  10, 11, 12, 13, 14, 15, 1, 6,  11, 0, 5, 10,
                           15, 4,  9,  14, 3, 8, 13, 2, 7,  12, 5,  8,  11, 14, 1,  4,  7, 10, 13, 0, 3, 6,
                           9,  12, 15, 2,  0, 7, 14, 5, 12, 3,  10, 1,  8,  15, 6,  13, 4, 11, 2,  9};
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
constexpr std::uint32_t kConstant[64] = {
    0xd76aa478u, 0xe8c7b756u, 0x242070dbu, 0xc1bdceeeu, 0xf57c0fafu, 0x4787c62au, 0xa8304613u, 0xfd469501u,
    0x698098d8u, 0x8b44f7afu, 0xffff5bb1u, 0x895cd7beu, 0x6b901122u, 0xfd987193u, 0xa679438eu, 0x49b40821u,
    0xf61e2562u, 0xc040b340u, 0x265e5a51u, 0xe9b6c7aau, 0xd62f105du, 0x02441453u, 0xd8a1e681u, 0xe7d3fbc8u,
    0x21e1cde6u, 0xc33707d6u, 0xf4d50d87u, 0x455a14edu, 0xa9e3e905u, 0xfcefa3f8u, 0x676f02d9u, 0x8d2a4c8au,
    0xfffa3942u, 0x8771f681u, 0x6d9d6122u, 0xfde5380cu, 0xa4beea44u, 0x4bdecfa9u, 0xf6bb4b60u, 0xbebfbc70u,
    0x289b7ec6u, 0xeaa127fau, 0xd4ef3085u, 0x04881d05u, 0xd9d4d039u, 0xe6db99e5u, 0x1fa27cf8u, 0xc4ac5665u,
    0xf4292244u, 0x432aff97u, 0xab9423a7u, 0xfc93a039u, 0x655b59c3u, 0x8f0ccc92u, 0xffeff47du, 0x85845dd1u,
    0x6fa87e4fu, 0xfe2ce6e0u, 0xa3014314u, 0x4e0811a1u, 0xf7537e82u, 0xbd3af235u, 0x2ad7d2bbu, 0xeb86d391u};

#ifndef __SSE2__
#pragma GCC push_options
#pragma GCC target("sse2")
#endif

bool haveSse2() noexcept {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) != 0 && (d & bit_SSE2) != 0;
}

// The 16 words of one block of each of four lanes, turned so that vector i holds word i of
// every lane.
inline void loadWords(const std::uint8_t* const data[4], std::size_t offset, __m128i w[16]) noexcept {
    for (int g = 0; g < 4; ++g) {
        const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[0] + offset + 16 * g));
        const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[1] + offset + 16 * g));
        const __m128i r2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[2] + offset + 16 * g));
        const __m128i r3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[3] + offset + 16 * g));
        const __m128i low01 = _mm_unpacklo_epi32(r0, r1);
        const __m128i low23 = _mm_unpacklo_epi32(r2, r3);
        const __m128i high01 = _mm_unpackhi_epi32(r0, r1);
        const __m128i high23 = _mm_unpackhi_epi32(r2, r3);
        w[4 * g + 0] = _mm_unpacklo_epi64(low01, low23);
        w[4 * g + 1] = _mm_unpackhi_epi64(low01, low23);
        w[4 * g + 2] = _mm_unpacklo_epi64(high01, high23);
        w[4 * g + 3] = _mm_unpackhi_epi64(high01, high23);
    }
}

// One step on every group; the auxiliary functions in the same forms as the one-lane code.
template <int Groups>
inline void step(int i, __m128i (&a)[Groups], const __m128i (&b)[Groups], const __m128i (&c)[Groups],
                 const __m128i (&d)[Groups], const __m128i (&w)[Groups][16]) noexcept {
    const int round = i / 16;
    const int shift = kShift[round][i % 4];
    const __m128i constant = _mm_set1_epi32(static_cast<int>(kConstant[i]));
    for (int g = 0; g < Groups; ++g) {
        __m128i x = _mm_add_epi32(a[g], _mm_add_epi32(w[g][kWord[i]], constant));
        switch (round) {
            case 0:
                x = _mm_add_epi32(x, _mm_xor_si128(d[g], _mm_and_si128(b[g], _mm_xor_si128(c[g], d[g]))));
                break;
            case 1:
                x = _mm_add_epi32(x, _mm_andnot_si128(d[g], c[g]));
                x = _mm_add_epi32(x, _mm_and_si128(b[g], d[g]));
                break;
            case 2:
                x = _mm_add_epi32(x, _mm_xor_si128(b[g], _mm_xor_si128(c[g], d[g])));
                break;
            default:
                x = _mm_add_epi32(x, _mm_xor_si128(c[g], _mm_or_si128(b[g], _mm_xor_si128(d[g], _mm_set1_epi32(-1)))));
                break;
        }
        x = _mm_or_si128(_mm_slli_epi32(x, shift), _mm_srli_epi32(x, 32 - shift));
        a[g] = _mm_add_epi32(x, b[g]);
    }
}

// Advances 4 * Groups lanes by `blocks` blocks: two groups keep two independent chains of
// steps going, which the processor overlaps.
template <int Groups>
void transformLanes(std::uint32_t (*states)[4], const std::uint8_t* const data[], std::size_t blocks) noexcept {
    __m128i v[4][Groups];
    for (int g = 0; g < Groups; ++g) {
        for (int word = 0; word < 4; ++word) {
            const std::uint32_t* s = &states[4 * g][word];
            v[word][g] = _mm_set_epi32(static_cast<int>(s[12]), static_cast<int>(s[8]), static_cast<int>(s[4]),
                                       static_cast<int>(s[0]));
        }
    }
    for (std::size_t n = 0; n < blocks; ++n) {
        __m128i w[Groups][16];
        for (int g = 0; g < Groups; ++g) {
            loadWords(data + 4 * g, 64 * n, w[g]);
        }
        __m128i start[4][Groups];
        for (int word = 0; word < 4; ++word) {
            for (int g = 0; g < Groups; ++g) {
                start[word][g] = v[word][g];
            }
        }
        // Step i computes a new value of word (4 - i) % 4 from it and the three after it.
#pragma GCC unroll 64
        for (int i = 0; i < 64; ++i) {
            const int a = (4 - i % 4) % 4;
            step<Groups>(i, v[a], v[(a + 1) % 4], v[(a + 2) % 4], v[(a + 3) % 4], w);
        }
        for (int word = 0; word < 4; ++word) {
            for (int g = 0; g < Groups; ++g) {
                v[word][g] = _mm_add_epi32(v[word][g], start[word][g]);
            }
        }
    }
    for (int g = 0; g < Groups; ++g) {
        for (int word = 0; word < 4; ++word) {
            alignas(16) std::uint32_t lanes[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v[word][g]);
            for (int lane = 0; lane < 4; ++lane) {
                states[4 * g + lane][word] = lanes[lane];
            }
        }
    }
}

#ifndef __SSE2__
#pragma GCC pop_options
#endif

#endif

}  // namespace

void md5UpdateLanes(Md5* const md5s[], const std::uint8_t* const data[], std::size_t count,
                    std::size_t blocks) noexcept {
#ifdef LOBBEX_MD5_SSE2
    static const bool sse2 = haveSse2();
    // Two lanes side by side take no less time than one after the other.
    if (sse2 && count > 2 && count <= kMd5Lanes && blocks > 0) {
        const std::size_t lanes = count > 4 ? 8 : 4;
        // Lanes beyond `count` hash the first lane's bytes again into states thrown away.
        std::uint32_t states[kMd5Lanes][4];
        const std::uint8_t* bytes[kMd5Lanes];
        for (std::size_t i = 0; i < lanes; ++i) {
            const Md5& md5 = *md5s[i < count ? i : 0];
            for (int word = 0; word < 4; ++word) {
                states[i][word] = md5.state_[word];
            }
            bytes[i] = data[i < count ? i : 0];
        }
        if (lanes == 8) {
            transformLanes<2>(states, bytes, blocks);
        } else {
            transformLanes<1>(states, bytes, blocks);
        }
        for (std::size_t i = 0; i < count; ++i) {
            for (int word = 0; word < 4; ++word) {
                md5s[i]->state_[word] = states[i][word];
            }
            md5s[i]->length_ += 64 * static_cast<std::uint64_t>(blocks);
        }
        return;
    }
#endif
    for (std::size_t i = 0; i < count; ++i) {
        md5s[i]->update(data[i], 64 * blocks);
    }
}
