#pragma once

// Small helpers on text that every layer uses: trimming a value, quoting it in a message, a
// path as UTF-8, a byte in hexadecimal, eight characters looked at as one word.

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

namespace tolvar {

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

// UTF-8 text of a path, for messages and the window; the same bytes on POSIX.
std::string texto_ruta(const std::filesystem::path& ruta);
// The path that a UTF-8 text names: a command-line argument, a name typed in a test. A plain
// std::string would be read in Windows' ANSI code page, which cannot hold every name.
std::filesystem::path ruta_de_texto(std::string_view utf8);

// The value of an environment variable, empty when it is not set.
std::string variable_entorno(const char* nombre);

// Appends the byte as two hexadecimal digits, in capitals: "0A".
void pon_hex(std::string& s, unsigned char byte);

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

}  // namespace tolvar
