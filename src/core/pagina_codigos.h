#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvar {

// The Windows code pages a drawing or the .bin files may be in. A .bin file and the code table
// hold one byte per character in one of them, ANSI_1252 unless told otherwise.
enum class pagina_codigos : std::uint8_t {
  ansi_1250, ansi_1251, ansi_1252, ansi_1253, ansi_1254, ansi_1255, ansi_1256, ansi_1257,
  ansi_1258
};

// "ANSI_1250" to "ANSI_1258" in any case, as a drawing's $DWGCODEPAGE names them; nullopt for
// any other text, one with spaces around it included (callers trim).
std::optional<pagina_codigos> pagina_por_nombre(std::string_view nombre) noexcept;
// "ANSI_1252" and so on, for messages and help.
std::string_view nombre_pagina(pagina_codigos p) noexcept;

// The byte of code point c in page p: c itself below 0x80, '?' where the page has none.
char codifica(char32_t c, pagina_codigos p) noexcept;
// The code point of byte b in page p: b itself below 0x80, 0 where the page leaves b unassigned.
char32_t decodifica(unsigned char b, pagina_codigos p) noexcept;

// Well-formed UTF-8 as Unicode defines it: no overlong form, no surrogate (U+D800 to U+DFFF),
// nothing above U+10FFFF, no sequence cut short, no continuation byte on its own.
bool es_utf8_valido(std::string_view s) noexcept;

// A value's text into page salida, in place: plain ASCII stays; well-formed UTF-8 is decoded;
// anything else is read in page dibujo (kept byte for byte when dibujo is salida). A character
// salida lacks, or a byte unassigned in dibujo, becomes one '?'. Never longer than it was.
void a_pagina_salida(std::string& valor, pagina_codigos dibujo, pagina_codigos salida);

// Each "\U+" and four hex digits (either case) becomes that character in page salida, in one
// scan from the left, in place; "\u+" and an escape with fewer digits stay as text.
void sustituye_escapes_u(std::string& valor, pagina_codigos salida);

// A layer name or a TEXT string as the .bin file holds it: a_pagina_salida, then
// sustituye_escapes_u. Nearly every value is ASCII without a backslash; those cost one scan.
void convierte_valor(std::string& valor, pagina_codigos dibujo, pagina_codigos salida);

// For a scan of its own (MTEXT formatting) that meets a backslash: true when resto, the text
// right after it, starts with "U+" and four hex digits, whose code point goes in c. U+0000 is
// given as U+FFFD, which no page has: a NUL byte would end the text early in its record.
bool lee_escape_u(std::string_view resto, char32_t& c) noexcept;

// One line of the code table into page salida, in place: a UTF-8 byte-order mark at the start
// of the first line is dropped, and a line that is well-formed UTF-8 with a byte above 0x7F is
// decoded; any other line is taken to be in salida already and stays as it is.
void linea_tabla_a_pagina(std::string& linea, bool primera, pagina_codigos salida);

}  // namespace tolvar
