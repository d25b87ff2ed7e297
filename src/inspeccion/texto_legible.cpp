#include "inspeccion/texto_legible.h"

#include <charconv>

#include "core/pagina_codigos.h"
#include "core/texto.h"

namespace tolvar {
namespace {

// The five bytes Windows-1252 leaves unassigned are shown as the control characters of the
// same number, as Windows itself maps them.
char32_t punto_de_codigo(unsigned char b) noexcept {
  const char32_t c = decodifica(b, pagina_codigos::ansi_1252);
  return c != 0 ? c : char32_t{b};
}

void pon_punto_de_codigo(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

void pon_entero(std::string& s, std::int64_t v) {
  char b[24];
  const auto r = std::to_chars(b, b + sizeof b, v);
  s.append(b, r.ptr);
}

void pon_utf8(std::string& s, std::string_view bytes_1252) {
  for (const char c : bytes_1252) pon_punto_de_codigo(s, punto_de_codigo(static_cast<unsigned char>(c)));
}

std::string utf8_de_1252(std::string_view bytes_1252) {
  std::string s;
  pon_utf8(s, bytes_1252);
  return s;
}

std::string cita_bytes(std::string_view bytes_1252) {
  std::string s = "\"";
  for (const char c : bytes_1252) {
    const auto b = static_cast<unsigned char>(c);
    const char32_t p = punto_de_codigo(b);
    if (c == '"' || c == '\\') {
      s += '\\';
      s += c;
    } else if (c == '\0') {
      s += "\\0";
    } else if (c == '\t') {
      s += "\\t";
    } else if (p < 0x20 || (p >= 0x7F && p <= 0x9F)) {
      s += "\\x";
      pon_hex(s, b);
    } else {
      pon_punto_de_codigo(s, p);
    }
  }
  s += '"';
  return s;
}

std::string hex_bytes(std::string_view bytes) {
  std::string s;
  for (const char c : bytes) {
    if (!s.empty()) s += ' ';
    pon_hex(s, static_cast<unsigned char>(c));
  }
  return s;
}

void pon_milesimas(std::string& s, std::int64_t milesimas) {
  // Unsigned from here on: the magnitude of the most negative value has no signed form.
  std::uint64_t m = static_cast<std::uint64_t>(milesimas);
  if (milesimas < 0) {
    s += '-';
    m = 0 - m;
  }
  pon_entero(s, static_cast<std::int64_t>(m / 1000));
  const auto f = static_cast<unsigned>(m % 1000);
  s += '.';
  s += static_cast<char>('0' + f / 100);
  s += static_cast<char>('0' + f / 10 % 10);
  s += static_cast<char>('0' + f % 10);
}

void pon_milesimas_corto(std::string& s, std::int64_t milesimas) {
  pon_milesimas(s, milesimas);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
}

}  // namespace tolvar
