#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/ficheros.h"

namespace tolvar {

// Splits a file into lines without ever holding more than one buffer of it. A line ends at
// CR LF, LF or a lone CR; a last line without an end is a line too; an empty file has none.
// A line over max_linea bytes is error 6: no DXF line comes near it, and it must not make
// us swallow a whole file that has no line ends (a binary DXF, say) into memory.
class lector_lineas {
 public:
  static constexpr std::size_t max_linea = std::size_t{1} << 20;
  // Line ends are looked for 64 bytes at a time, one bit of a word per byte.
  static constexpr std::size_t bytes_bloque = 64;

  lector_lineas(fuente& origen, std::filesystem::path fichero);

  // The next line, without its end; false at the end of the file. The view stays valid
  // until the next call. Inline for the common case, a line already marked in the buffer
  // with data after it: a drawing is tens of millions of lines of eight bytes.
  bool lee(std::string_view& linea) {
    while (marcas_ == 0 && siguientes_ != fin_marcas_) {
      marcas_ = *siguientes_++;
      bloque_ += bytes_bloque;
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
  void marca_buffer() noexcept;

  fuente& origen_;
  std::filesystem::path fichero_;
  std::unique_ptr<char[]> buffer_;
  const char* ini_;
  const char* fin_;
  // Every line end of the buffer is found in one pass after each read, 64 bytes to a word:
  // bit i of a word is set when byte i of its block ends a line (a CR, or an LF without a CR
  // before it). marcas_ is what is left of the word of bloque_; siguientes_ the words after.
  std::unique_ptr<std::uint64_t[]> palabras_;
  const char* bloque_;
  std::uint64_t marcas_ = 0;
  const std::uint64_t* siguientes_;
  const std::uint64_t* fin_marcas_;
  bool agotado_ = false;
  std::int64_t num_linea_ = 0;
};

// The eight bytes at p as one integer, the first in the lowest byte whatever the machine's
// order: for looking at eight characters at once.
inline std::uint64_t ocho_bytes(const char* p) noexcept {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if constexpr (std::endian::native == std::endian::big) {
    std::uint64_t r = 0;
    for (int j = 0; j < 8; ++j, w >>= 8) r = (r << 8) | (w & 0xFFu);
    w = r;
  }
  return w;
}

// Spaces off both ends; only the space character, as everywhere in these files (a tab stays).
constexpr std::string_view recorta(std::string_view s) noexcept {
  std::size_t a = 0, b = s.size();
  while (a < b && s[a] == ' ') ++a;
  while (b > a && s[b - 1] == ' ') --b;
  return s.substr(a, b - a);
}

// A short, quotable form of a text for an error message: at most 60 bytes, control bytes
// (NUL, tab, ...) written as \xNN so that the message stays one printable C string.
std::string cita(std::string_view texto);

}  // namespace tolvar
