#include "core/lector_lineas.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#endif
#include <string>

#include "core/error_conversion.h"

namespace tolvar {
namespace {

// Room for the longest line we accept plus one read.
constexpr std::size_t capacidad = lector_lineas::max_linea + (std::size_t{1} << 20);
// What one read asks for: large enough that system calls cost nothing, small enough to stay
// in the processor's cache between the read and the scan, and to keep the memory we touch
// (and so the resident set) far below the buffer's size.
constexpr std::size_t lectura = std::size_t{256} << 10;
// The scan reads whole blocks, past the end of the data in the last one.
constexpr std::size_t bloque = lector_lineas::bytes_bloque;
static_assert(bloque == 64, "busca_fines() fills one bit of a 64-bit word per byte");
constexpr std::size_t max_bloques = (capacidad + bloque - 1) / bloque;

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

std::string cita(std::string_view texto) {
  constexpr std::size_t max = 60;
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string s = "\"";
  for (const char c : texto.substr(0, max)) {
    const auto b = static_cast<unsigned char>(c);
    // A NUL ends the message wherever it is shown as a C string (stderr, a message box),
    // taking the file and line with it; other control bytes garble a terminal.
    if (b < 0x20 || b == 0x7F) {
      s += "\\x";
      s += hex[b >> 4];
      s += hex[b & 15];
    } else {
      s += c;
    }
  }
  if (texto.size() > max) s += "...";
  s += '"';
  return s;
}

lector_lineas::lector_lineas(fuente& origen, std::filesystem::path fichero)
    : origen_(origen),
      fichero_(std::move(fichero)),
      buffer_(new char[capacidad + bloque]),
      ini_(buffer_.get()),
      fin_(buffer_.get()),
      palabras_(new std::uint64_t[max_bloques]),
      bloque_(buffer_.get()),
      siguientes_(palabras_.get()),
      fin_marcas_(palabras_.get()) {}

// Marks the line ends of the whole buffer, which starts at ini_. The LF of a CR LF is no line
// end of its own, the CR is; a CR LF split between two blocks is seen through the carry, and
// none is split at the start of the buffer: lee() never leaves ini_ on the LF of a CR LF.
void lector_lineas::marca_buffer() noexcept {
  const char* const base = buffer_.get();
  const auto bloques = (static_cast<std::size_t>(fin_ - base) + bloque - 1) / bloque;
  // The bytes past fin_ in the last block are zeros (rellena), never a line end.
  std::uint64_t cr_anterior = 0;
  for (std::size_t i = 0; i < bloques; ++i) {
    const fines_bloque f = busca_fines(base + i * bloque);
    palabras_[i] = f.cr | (f.lf & ~((f.cr << 1) | cr_anterior));
    cr_anterior = f.cr >> 63;
  }
  bloque_ = base;
  marcas_ = bloques > 0 ? palabras_[0] : 0;
  siguientes_ = palabras_.get() + (bloques > 0 ? 1 : 0);
  fin_marcas_ = palabras_.get() + bloques;
}

bool lector_lineas::rellena() {
  if (agotado_) return false;
  char* base = buffer_.get();
  const std::size_t pendientes = static_cast<std::size_t>(fin_ - ini_);
  if (ini_ != base) {
    std::memmove(base, ini_, pendientes);
    ini_ = base;
    fin_ = base + pendientes;
  }
  const std::size_t n = origen_.lee(base + pendientes, std::min(lectura, capacidad - pendientes));
  fin_ += n;
  // The last block is scanned whole: what lies past the data must be defined, and no line end.
  std::memset(base + pendientes + n, 0, bloque);
  if (n == 0) agotado_ = true;
  marca_buffer();
  return n > 0;
}

bool lector_lineas::lee_resto(std::string_view& linea) {
  for (;;) {
    while (marcas_ == 0 && siguientes_ != fin_marcas_) {
      marcas_ = *siguientes_++;
      bloque_ += bloque;
    }
    if (marcas_ == 0) {
      // Every line end read is taken: what is left after ini_ is part of one line.
      if (static_cast<std::size_t>(fin_ - ini_) > max_linea)
        throw error_conversion(desbordamiento, "line longer than 1 MiB", fichero_, num_linea_ + 1);
      if (!rellena()) {
        if (ini_ == fin_) return false;
        linea = std::string_view(ini_, static_cast<std::size_t>(fin_ - ini_));
        ini_ = fin_;
        ++num_linea_;
        return true;
      }
      continue;
    }
    const char* p = bloque_ + std::countr_zero(marcas_);
    // A CR that ends the buffer may be the first half of CR LF: look at the next byte first.
    if (*p == '\r' && p + 1 == fin_ && !agotado_) {
      rellena();
      continue;
    }
    const std::size_t largo = static_cast<std::size_t>(p - ini_);
    if (largo > max_linea)
      throw error_conversion(desbordamiento, "line longer than 1 MiB", fichero_, num_linea_ + 1);
    marcas_ &= marcas_ - 1;
    linea = std::string_view(ini_, largo);
    // Past the data lie at least 64 defined bytes, none of them an LF.
    ini_ = p + ((*p == '\r' && p[1] == '\n') ? 2 : 1);
    ++num_linea_;
    return true;
  }
}

}  // namespace tolvar
