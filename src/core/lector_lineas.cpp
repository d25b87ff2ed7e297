#include "core/lector_lineas.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#endif
#include <string>
#include <system_error>

#include "core/error_conversion.h"
#include "core/texto.h"

namespace tolvar {
namespace {

// Large enough that system calls and the handing of buffers between the threads cost
// nothing, small enough to stay in the processor's cache between the read and the scan, and
// to keep the memory we touch (and so the resident set) far below the buffers' size.
constexpr std::size_t lectura = lector_lineas::bytes_lectura;
// Room before the data of a buffer for the unfinished line of the other: at most the longest
// line we accept plus one read, when a CR ending the data waits for the next byte.
constexpr std::size_t cabeza = lector_lineas::max_linea + lectura;
// After the data: the block the scan reads whole, and what precarga() is pointed at, so that
// even that pointer stays inside the buffer.
constexpr std::size_t cola = lector_lineas::bytes_bloque + lector_lineas::distancia_precarga;
// The scan reads whole blocks, past the end of the data in the last one.
constexpr std::size_t bloque = lector_lineas::bytes_bloque;
static_assert(bloque == 64, "busca_fines() fills one bit of a 64-bit word per byte");
// Marks are made for the data of one read only, never for the line copied before it.
constexpr std::size_t max_bloques = (lectura + bloque - 1) / bloque;

const texto_error linea_larga{"line longer than 1 MiB", "línea de más de 1 MiB"};

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

lector_lineas::lector_lineas(fuente& origen, std::filesystem::path fichero)
    : origen_(origen),
      fichero_(std::move(fichero)),
      ini_(nullptr),
      fin_(nullptr),
      bloque_(nullptr),
      siguientes_(nullptr),
      fin_marcas_(nullptr) {
  // The first read goes to buffers_[1], and needs no room before it: nothing came before.
  // Full buffers are made only for a file longer than that read, so that a small drawing or
  // a code table costs a quarter of one.
  buffers_[1].reset(new char[lectura + cola]);
  palabras_[1].reset(new std::uint64_t[max_bloques]);
}

void lector_lineas::prepara(int indice) {
  if (cabezas_[indice] == cabeza) return;
  buffers_[indice].reset(new char[cabeza + lectura + cola]);
  cabezas_[indice] = cabeza;
  if (!palabras_[indice]) palabras_[indice].reset(new std::uint64_t[max_bloques]);
}

lector_lineas::~lector_lineas() {
  if (!adelanto_.joinable()) return;
  {
    const std::lock_guard<std::mutex> bloqueo(mutex_);
    parar_ = true;
  }
  cambio_.notify_one();
  adelanto_.join();
}

// Marks the line ends from base to fin into palabras, and gives the number of words. The LF
// of a CR LF is no line end of its own, the CR is; a CR LF split between two blocks is seen
// through the carry. The bytes past fin in the last block must be zeros, never a line end.
std::size_t lector_lineas::marca(const char* base, const char* fin, std::uint64_t* palabras) noexcept {
  const auto bloques = (static_cast<std::size_t>(fin - base) + bloque - 1) / bloque;
  std::uint64_t cr_anterior = 0;
  for (std::size_t i = 0; i < bloques; ++i) {
    const fines_bloque f = busca_fines(base + i * bloque);
    palabras[i] = f.cr | (f.lf & ~((f.cr << 1) | cr_anterior));
    cr_anterior = f.cr >> 63;
  }
  return bloques;
}

// Reads into buffers_[indice] after its room for a line, and marks what it read: on the
// reading thread, once there is one, so that the scan costs this one nothing either.
std::size_t lector_lineas::lee_buffer(int indice) {
  char* const datos = buffers_[indice].get() + cabezas_[indice];
  const std::size_t n = origen_.lee(datos, lectura);
  std::memset(datos + n, 0, bloque);
  bloques_[indice] = marca(datos, datos + n, palabras_[indice].get());
  return n;
}

void lector_lineas::lee_adelantado() {
  std::unique_lock<std::mutex> bloqueo(mutex_);
  for (;;) {
    cambio_.wait(bloqueo, [this] { return pedido_ || parar_; });
    if (parar_) return;
    pedido_ = false;
    const int indice = a_llenar_;
    bloqueo.unlock();
    std::size_t n = 0;
    std::exception_ptr error;
    try {
      n = lee_buffer(indice);
    } catch (...) {
      error = std::current_exception();
    }
    bloqueo.lock();
    leidos_ = n;
    error_ = error;
    listo_ = true;
    cambio_.notify_one();
    if (n == 0 || error) return;
  }
}

bool lector_lineas::rellena() {
  if (agotado_) return false;
  const int otro = 1 - actual_;
  std::size_t n = 0;
  if (adelanto_.joinable()) {
    std::unique_lock<std::mutex> bloqueo(mutex_);
    cambio_.wait(bloqueo, [this] { return listo_; });
    // Left as it is, so that a second call fails the same way instead of waiting forever.
    if (error_) std::rethrow_exception(error_);
    listo_ = false;
    n = leidos_;
  } else {
    if (ini_ != nullptr) prepara(otro);  // but for the first read
    n = lee_buffer(otro);
  }
  // The unfinished line goes just before the new data. It holds no line end, as every one
  // before fin_ was taken, but for a CR that ended the data to wait for a possible LF.
  char* const datos = buffers_[otro].get() + cabezas_[otro];
  const std::size_t pendientes = static_cast<std::size_t>(fin_ - ini_);
  if (pendientes > 0) std::memcpy(datos - pendientes, ini_, pendientes);
  ini_ = datos - pendientes;
  fin_ = datos + n;
  actual_ = otro;
  std::uint64_t* const palabras = palabras_[otro].get();
  const std::size_t bloques = bloques_[otro];
  if (pendientes > 0 && datos[-1] == '\r') {
    // That CR ends a line, and an LF right after it is part of that end, not one of its own.
    // Its mark is the last bit of a word for the block before the data, which holds nothing
    // else: the bytes there before ini_ are no longer read.
    if (bloques > 0 && datos[0] == '\n') palabras[0] &= ~std::uint64_t{1};
    bloque_ = datos - bloque;
    marcas_ = std::uint64_t{1} << 63;
    siguientes_ = palabras;
  } else {
    bloque_ = datos;
    marcas_ = bloques > 0 ? palabras[0] : 0;
    siguientes_ = palabras + (bloques > 0 ? 1 : 0);
  }
  fin_marcas_ = palabras + bloques;

  if (n == 0) {
    agotado_ = true;
  } else if (adelanto_.joinable()) {
    prepara(1 - otro);
    {
      const std::lock_guard<std::mutex> bloqueo(mutex_);
      a_llenar_ = 1 - otro;
      pedido_ = true;
    }
    cambio_.notify_one();
  } else if (n == lectura) {
    // A file larger than one read: worth a thread. Without one, reading goes on here.
    prepara(1 - otro);
    a_llenar_ = 1 - otro;
    pedido_ = true;
    try {
      adelanto_ = std::thread(&lector_lineas::lee_adelantado, this);
    } catch (const std::system_error&) {
      pedido_ = false;
    }
  }
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
        throw error_conversion(desbordamiento, linea_larga, fichero_, num_linea_ + 1);
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
      throw error_conversion(desbordamiento, linea_larga, fichero_, num_linea_ + 1);
    marcas_ &= marcas_ - 1;
    linea = std::string_view(ini_, largo);
    // Past the data lie at least 64 defined bytes, none of them an LF.
    ini_ = p + ((*p == '\r' && p[1] == '\n') ? 2 : 1);
    ++num_linea_;
    return true;
  }
}

}  // namespace tolvar
