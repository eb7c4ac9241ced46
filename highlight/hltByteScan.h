#pragma once

// Sixteen bytes tested at once, for the long runs of text, comments and
// strings and for the escape check of short tokens. Callers make sure that
// all sixteen bytes may be read.

#include <cstdint>

#include "highlight/hltCharClass.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The lowest set bit's number; mask must not be 0.
inline unsigned hltLowestBit(unsigned mask) {
#if defined(__GNUC__)
  return static_cast<unsigned>(__builtin_ctz(mask));
#else
  unsigned bit = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++bit;
  }
  return bit;
#endif
}

// A set of characters: every code below Below, and the codes in Codes. Class
// is the same set as a class of the character table, for byte-wise loops.
template <std::uint16_t Class, unsigned char Below, unsigned char... Codes>
struct ThltByteSet {
  static constexpr std::uint16_t ClassBits = Class;

  static constexpr bool Holds(unsigned c) { return c < Below || ((c == Codes) || ...); }

  // Bit i set when byte i of the sixteen at block is in the set.
  static unsigned Mask16(const unsigned char* block) {
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    __m128i hits = _mm_setzero_si128();
    if constexpr (Below > 0)
      hits = _mm_cmpeq_epi8(_mm_subs_epu8(bytes, _mm_set1_epi8(static_cast<char>(Below - 1))), hits);
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(Codes))))), ...);
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
#else
    unsigned mask = 0;
    for (unsigned i = 0; i < 16; ++i) mask |= (CharClasses[block[i]] & Class) ? 1u << i : 0u;
    return mask;
#endif
  }

  // Whether Holds and the class agree on every code.
  static constexpr bool AgreesWithClass() {
    for (unsigned c = 0; c < 256; ++c)
      if (Holds(c) != ((CharClasses[c] & Class) != 0)) return false;
    return true;
  }
};

// The first byte of the set at or after p. readEnd is one past the last byte
// that may be read; a byte of the set must come before it.
template <class Set>
const unsigned char* hltSkipToSet(const unsigned char* p, const unsigned char* readEnd) {
  while (readEnd - p >= 16) {
    if (const unsigned mask = Set::Mask16(p)) return p + hltLowestBit(mask);
    p += 16;
  }
  while (!(CharClasses[*p] & Set::ClassBits)) ++p;
  return p;
}
