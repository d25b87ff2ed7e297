#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tolvar {

// What the coordinate rule takes off every northing read with the offset, in thousandths.
inline constexpr std::int64_t desplazamiento_y = 4000000000;

// The largest count a signed 16-bit field of the files holds: rows of the code table,
// characters of a code or a text, units of a record.
inline constexpr std::size_t max_16 = 32767;

// These throw error_conversion without a file or line; the reader that called them adds it.

// A decimal number as drawings write it: optional sign, digits with an optional point and
// fraction (".5" and "5." too), optional exponent; spaces around it allowed. Anything else
// (a comma, "inf", "nan", hex, nothing) is error 13. Too small to represent is 0; too large
// is error 6.
double lee_numero(std::string_view texto);

// An optionally signed decimal integer, spaces around allowed. Returns false for anything
// else; `desborda` tells an integer too large for 32 bits.
bool lee_entero(std::string_view texto, std::int32_t& valor, bool& desborda) noexcept;

// Nearest integer, halves to even; error 6 outside the signed 32-bit range (NaN included).
std::int32_t redondea_32(double valor);

// The coordinate rule: value x 1000, less desplazamiento_y for a northing read with the offset,
// rounded half to even into signed 32 bits.
std::int32_t escala_coord(std::string_view texto, bool con_desplazamiento);

// Steps 3 to 6 of the coordinate rule on a value already read or computed, in drawing units.
// For a value read from a text, escala_valor(lee_coordenada(t), d) == escala_coord(t, d).
std::int32_t escala_valor(double valor, bool con_desplazamiento);

// lee_numero() with the commonest form of a coordinate ("217887.088") read without a loop: it
// gives the same double, the one nearest to the value written.
double lee_coordenada(std::string_view texto);

// A text height: value x 1000, kept as a double and not rounded; error 6 when it is too large
// to compute.
double escala_altura(std::string_view texto);

}  // namespace tolvar
