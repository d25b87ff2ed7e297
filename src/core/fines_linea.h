#pragma once

// The speed layer under the line reader: the line ends of a whole read found in one pass, 64
// bytes to a word, and the prefetch hint the reader gives as it walks the words. The reader
// only takes the marks; how they are found is here.

#include <cstddef>
#include <cstdint>
#if defined(_MSC_VER) && !defined(__clang__) && (defined(_M_X64) || defined(_M_IX86))
#include <xmmintrin.h>
#endif

namespace tolvar {

// Line ends are marked a block of 64 bytes to a word, one bit per byte.
inline constexpr std::size_t bytes_bloque = 64;
// How far ahead of the line being split its bytes are asked for (see precarga).
inline constexpr std::size_t distancia_precarga = 1024;

// Marks the line ends from base to fin into palabras, one word per block, and gives the number
// of words: bit i of a word is set when byte i of its block ends a line, a CR or an LF without
// a CR before it (the LF of a CR LF is no line end of its own; one split between two blocks is
// seen too). The whole last block is read: the bytes past fin in it must be zeros.
std::size_t marca_fines(const char* base, const char* fin, std::uint64_t* palabras) noexcept;

// Asks the processor for the bytes at p before they are read. They were written on the other
// core by the reading thread, and fetching them from there only when a line reaches them
// stalls this one: a twentieth of a conversion. A hint only: nothing at p is read or checked.
inline void precarga(const char* p) noexcept {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(p);
#elif defined(_M_X64) || defined(_M_IX86)
  _mm_prefetch(p, _MM_HINT_T0);
#else
  static_cast<void>(p);
#endif
}

}  // namespace tolvar
