#pragma once

#include <bit>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#if defined(_MSC_VER) && !defined(__clang__) && (defined(_M_X64) || defined(_M_IX86))
#include <xmmintrin.h>
#endif

#include "core/ficheros.h"

namespace tolvar {

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

// Splits a file into lines without ever holding more than two buffers of it. A line ends at
// CR LF, LF or a lone CR; a last line without an end is a line too; an empty file has none.
// A line over max_linea bytes is error 6: no DXF line comes near it, and it must not make
// us swallow a whole file that has no line ends (a binary DXF, say) into memory.
// Once a read fills its whole request (a file larger than one read), a second thread reads
// the next part while this one splits the last: copying a file out of the system's cache
// takes a fifth of a conversion, and a machine has a spare core for it. The source is then
// read from that thread only, one call at a time, and its errors come out of lee() at the
// point where the data they stopped would have been.
class lector_lineas {
 public:
  static constexpr std::size_t max_linea = std::size_t{1} << 20;
  // Line ends are looked for 64 bytes at a time, one bit of a word per byte.
  static constexpr std::size_t bytes_bloque = 64;
  // What one read asks of the source; a read that gets all of it starts the second thread.
  static constexpr std::size_t bytes_lectura = std::size_t{512} << 10;
  // How far ahead of the line being split its bytes are asked for (see precarga).
  static constexpr std::size_t distancia_precarga = 1024;

  lector_lineas(fuente& origen, std::filesystem::path fichero);
  // Waits for a read in progress: the source must outlive the reader.
  ~lector_lineas();
  lector_lineas(const lector_lineas&) = delete;
  lector_lineas& operator=(const lector_lineas&) = delete;

  // The next line, without its end; false at the end of the file. The view stays valid
  // until the next call. Inline for the common case, a line already marked in the buffer
  // with data after it: a drawing is tens of millions of lines of eight bytes.
  bool lee(std::string_view& linea) {
    while (marcas_ == 0 && siguientes_ != fin_marcas_) {
      marcas_ = *siguientes_++;
      bloque_ += bytes_bloque;
      precarga(bloque_ + distancia_precarga);
    }
    if (marcas_ != 0) {
      const char* p = bloque_ + std::countr_zero(marcas_);
      if (fin_ - p > 1 && static_cast<std::size_t>(p - ini_) <= max_linea) {
        marcas_ &= marcas_ - 1;
        linea = std::string_view(ini_, static_cast<std::size_t>(p - ini_));
        ini_ = p + ((*p == '\r' && p[1] == '\n') ? 2 : 1);
        ++num_linea_;
        return true;
      }
    }
    return lee_resto(linea);
  }

  // 1-based number of the line last returned; 0 before the first.
  std::int64_t num_linea() const noexcept { return num_linea_; }
  const std::filesystem::path& fichero() const noexcept { return fichero_; }

 private:
  bool lee_resto(std::string_view& linea);
  bool rellena();
  void prepara(int indice);
  std::size_t lee_buffer(int indice);
  void lee_adelantado();
  static std::size_t marca(const char* base, const char* fin, std::uint64_t* palabras) noexcept;

  fuente& origen_;
  std::filesystem::path fichero_;
  // Two buffers: the data of one is split into lines while the other is filled. Each has room
  // before its data for the unfinished line of the other, copied there when they swap. Before
  // the first read, ini_ and fin_ are null: no buffer, no line.
  std::unique_ptr<char[]> buffers_[2];
  std::size_t cabezas_[2] = {0, 0};  // the room before the data of each
  int actual_ = 0;
  const char* ini_;
  const char* fin_;
  // Every line end is found in one pass after each read, 64 bytes to a word: bit i of a word
  // is set when byte i of its block ends a line (a CR, or an LF without a CR before it).
  // palabras_[i] and bloques_[i] belong to buffers_[i]; marcas_ is what is left of the word
  // of bloque_, siguientes_ the words after.
  std::unique_ptr<std::uint64_t[]> palabras_[2];
  std::size_t bloques_[2] = {0, 0};
  const char* bloque_;
  std::uint64_t marcas_ = 0;
  const std::uint64_t* siguientes_;
  const std::uint64_t* fin_marcas_;
  bool agotado_ = false;
  std::int64_t num_linea_ = 0;

  // The reading thread and what it shares with this one, under mutex_: pedido_ asks it to
  // fill buffers_[a_llenar_]; listo_ says it did, with leidos_ bytes or error_.
  std::thread adelanto_;
  std::mutex mutex_;
  std::condition_variable cambio_;
  bool pedido_ = false, listo_ = false, parar_ = false;
  int a_llenar_ = 0;
  std::size_t leidos_ = 0;
  std::exception_ptr error_;
};

}  // namespace tolvar
