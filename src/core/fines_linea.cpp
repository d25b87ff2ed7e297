#include "core/fines_linea.h"

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#else
#include "core/texto.h"
#endif

namespace tolvar {
namespace {

static_assert(bytes_bloque == 64, "busca_fines() fills one bit of a 64-bit word per byte");

// Bit i of cr (lf) set when p[i] is a CR (an LF), for the 64 bytes at p.
struct fines_bloque {
  std::uint64_t cr = 0, lf = 0;
};

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
inline fines_bloque busca_fines(const char* p) noexcept {
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
  fines_bloque f;
  for (int i = 0; i < 4; ++i) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits_cr = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
    const auto bits_lf = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    f.cr |= std::uint64_t{bits_cr} << (16 * i);
    f.lf |= std::uint64_t{bits_lf} << (16 * i);
  }
  return f;
}
#else
// Without SSE2, eight bytes per word: the high bit of ~(((v & 0x7F..) + 0x7F..) | v) marks
// exactly the zero bytes of v (no carry crosses a byte), here v = the bytes ^ CR (^ LF),
// and a multiplication gathers the eight marks into eight adjacent bits.
inline std::uint64_t marca_ceros(std::uint64_t v) noexcept {
  constexpr std::uint64_t bajos = 0x7F7F7F7F7F7F7F7Fu;
  const std::uint64_t altos = (~(((v & bajos) + bajos) | v) & ~bajos) >> 7;
  return (altos * 0x0102040810204080u) >> 56;
}

inline fines_bloque busca_fines(const char* p) noexcept {
  constexpr std::uint64_t unos = 0x0101010101010101u;
  fines_bloque f;
  for (int i = 0; i < 8; ++i) {
    const std::uint64_t w = ocho_bytes(p + 8 * i);
    f.cr |= marca_ceros(w ^ (unos * '\r')) << (8 * i);
    f.lf |= marca_ceros(w ^ (unos * '\n')) << (8 * i);
  }
  return f;
}
#endif

}  // namespace

std::size_t marca_fines(const char* base, const char* fin, std::uint64_t* palabras) noexcept {
  const auto bloques = (static_cast<std::size_t>(fin - base) + bytes_bloque - 1) / bytes_bloque;
  std::uint64_t cr_anterior = 0;
  for (std::size_t i = 0; i < bloques; ++i) {
    const fines_bloque f = busca_fines(base + i * bytes_bloque);
    palabras[i] = f.cr | (f.lf & ~((f.cr << 1) | cr_anterior));
    cr_anterior = f.cr >> 63;
  }
  return bloques;
}

}  // namespace tolvar
