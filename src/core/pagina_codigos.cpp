#include "core/pagina_codigos.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace tolvar {
namespace {

struct punto_y_byte {
  char16_t punto;
  unsigned char byte;
};

#include "core/paginas_windows.inc"

constexpr std::size_t num_paginas = std::size(unicode_de_byte);
static_assert(num_paginas == static_cast<std::size_t>(pagina_codigos::ansi_1258) + 1);
static_assert(std::size(inicio_inversa) == num_paginas + 1);

constexpr std::string_view nombres[num_paginas] = {"ANSI_1250", "ANSI_1251", "ANSI_1252",
                                                   "ANSI_1253", "ANSI_1254", "ANSI_1255",
                                                   "ANSI_1256", "ANSI_1257", "ANSI_1258"};

constexpr char sin_caracter = '?';

constexpr std::size_t indice(pagina_codigos p) noexcept { return static_cast<std::size_t>(p); }

constexpr unsigned byte_de(char c) noexcept { return static_cast<unsigned char>(c); }

bool es_ascii(std::string_view s) noexcept {
  return std::all_of(s.begin(), s.end(), [](char c) { return byte_de(c) < 0x80; });
}

// True when s has a byte above 0x7F or a backslash. Nearly every value of a drawing has
// neither and leaves here at once, so eight bytes are looked at per step, which halves the
// time of a byte loop on values of a dozen bytes or more; the tail goes byte by byte.
bool hay_que_convertir(std::string_view s) noexcept {
  constexpr std::uint64_t unos = 0x0101010101010101u, altos = 0x8080808080808080u;
  constexpr std::uint64_t barras = unos * '\\';
  const char* p = s.data();
  std::size_t n = s.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    // A byte of x is 0 where w has a backslash; (x - unos) & ~x sets the top bit of a byte
    // only if some byte of x is 0, and w's own top bits are the bytes above 0x7F.
    const std::uint64_t x = w ^ barras;
    if ((w | ((x - unos) & ~x)) & altos) return true;
  }
  for (; n > 0; ++p, --n)
    if (byte_de(*p) >= 0x80 || *p == '\\') return true;
  return false;
}

// s is well-formed UTF-8. Every code point becomes one byte written from the front, so what
// is written never overtakes what is still to be read.
void utf8_a_pagina(std::string& s, pagina_codigos salida) noexcept {
  std::size_t escrito = 0;
  for (std::size_t i = 0; i < s.size();) {
    char32_t c = byte_de(s[i]);
    const std::size_t largo = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (largo > 1) {
      c &= 0x7Fu >> largo;  // the bits of the lead byte under its length marker
      for (std::size_t k = 1; k < largo; ++k) c = (c << 6) | (byte_de(s[i + k]) & 0x3Fu);
    }
    s[escrito++] = codifica(c, salida);
    i += largo;
  }
  s.resize(escrito);
}

// Every byte above 0x7F from page dibujo into page salida.
void traduce_bytes(std::string& s, pagina_codigos dibujo, pagina_codigos salida) noexcept {
  const char16_t* const fila = unicode_de_byte[indice(dibujo)];
  for (char& c : s) {
    const unsigned b = byte_de(c);
    if (b < 0x80) continue;
    const char16_t punto = fila[b - 0x80];
    c = punto == 0 ? sin_caracter : codifica(punto, salida);
  }
}

int valor_hex(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<pagina_codigos> pagina_por_nombre(std::string_view nombre) noexcept {
  constexpr std::string_view prefijo = "ANSI_125";
  if (nombre.size() != prefijo.size() + 1) return std::nullopt;
  for (std::size_t k = 0; k < prefijo.size(); ++k) {
    // Upper case by hand: a locale's toupper could take bytes above 0x7F for letters.
    const char c = nombre[k];
    const char mayuscula = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (mayuscula != prefijo[k]) return std::nullopt;
  }
  const char ultima = nombre.back();
  if (ultima < '0' || ultima > '8') return std::nullopt;
  return static_cast<pagina_codigos>(ultima - '0');
}

std::string_view nombre_pagina(pagina_codigos p) noexcept { return nombres[indice(p)]; }

char codifica(char32_t c, pagina_codigos p) noexcept {
  if (c < 0x80) return static_cast<char>(c);
  const punto_y_byte* const primero = byte_de_unicode + inicio_inversa[indice(p)];
  const punto_y_byte* const ultimo = byte_de_unicode + inicio_inversa[indice(p) + 1];
  const punto_y_byte* const e = std::lower_bound(
      primero, ultimo, c, [](const punto_y_byte& a, char32_t b) { return a.punto < b; });
  return e != ultimo && e->punto == c ? static_cast<char>(e->byte) : sin_caracter;
}

char32_t decodifica(unsigned char b, pagina_codigos p) noexcept {
  return b < 0x80 ? char32_t{b} : char32_t{unicode_de_byte[indice(p)][b - 0x80]};
}

// Unicode's table of well-formed byte sequences: the second byte's range depends on the
// first, which is how overlong forms, surrogates and code points above U+10FFFF are refused.
bool es_utf8_valido(std::string_view s) noexcept {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned b = byte_de(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t largo = 0;
    unsigned min_segundo = 0x80, max_segundo = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      largo = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      largo = 3;
      if (b == 0xE0) min_segundo = 0xA0;       // overlong below U+0800
      else if (b == 0xED) max_segundo = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      largo = 4;
      if (b == 0xF0) min_segundo = 0x90;       // overlong below U+10000
      else if (b == 0xF4) max_segundo = 0x8F;  // above U+10FFFF
    } else {
      return false;  // a continuation byte on its own, C0, C1 or F5 to FF
    }
    if (n - i < largo) return false;
    const unsigned segundo = byte_de(s[i + 1]);
    if (segundo < min_segundo || segundo > max_segundo) return false;
    for (std::size_t k = 2; k < largo; ++k)
      if ((byte_de(s[i + k]) & 0xC0u) != 0x80u) return false;
    i += largo;
  }
  return true;
}

void a_pagina_salida(std::string& valor, pagina_codigos dibujo, pagina_codigos salida) {
  if (es_ascii(valor)) return;
  if (es_utf8_valido(valor))
    utf8_a_pagina(valor, salida);
  else if (dibujo != salida)
    traduce_bytes(valor, dibujo, salida);
  // else: already in the output page, its unassigned bytes too, which stay as they came.
}

bool lee_escape_u(std::string_view resto, char32_t& c) noexcept {
  if (resto.size() < 6 || resto[0] != 'U' || resto[1] != '+') return false;
  char32_t v = 0;
  for (std::size_t k = 2; k < 6; ++k) {
    const int d = valor_hex(resto[k]);
    if (d < 0) return false;
    v = (v << 4) | static_cast<char32_t>(d);
  }
  c = v == 0 ? U'\uFFFD' : v;
  return true;
}

void sustituye_escapes_u(std::string& valor, pagina_codigos salida) {
  constexpr std::size_t largo_escape = 7;  // \U+XXXX
  std::size_t i = valor.find("\\U+");
  if (i == std::string::npos) return;
  // Each escape shrinks to one byte, written from the front behind the reading position.
  std::size_t escrito = i;
  while (i < valor.size()) {
    char32_t c = 0;
    if (valor[i] == '\\' && lee_escape_u(std::string_view(valor).substr(i + 1), c)) {
      valor[escrito++] = codifica(c, salida);
      i += largo_escape;
    } else {
      valor[escrito++] = valor[i++];
    }
  }
  valor.resize(escrito);
}

void convierte_valor(std::string& valor, pagina_codigos dibujo, pagina_codigos salida) {
  if (!hay_que_convertir(valor)) return;
  a_pagina_salida(valor, dibujo, salida);
  sustituye_escapes_u(valor, salida);
}

void linea_tabla_a_pagina(std::string& linea, bool primera, pagina_codigos salida) {
  constexpr std::string_view marca_orden = "\xEF\xBB\xBF";
  if (primera && linea.starts_with(marca_orden)) linea.erase(0, marca_orden.size());
  if (!es_ascii(linea) && es_utf8_valido(linea)) utf8_a_pagina(linea, salida);
}

}  // namespace tolvar
