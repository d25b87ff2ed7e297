#pragma once

#include <cstdint>
#include <string>

#include "core/estado_conversion.h"

namespace tolvar {

// The .bin format: entity records back to back, nothing else. A record is a header unit,
// a 36-byte extent block, then num_elem units of 12 bytes (points, the closing copy of the
// first point, text slices), then, when atr is 1, the attribute unit. Little-endian, no
// padding, one byte per character.
inline constexpr std::size_t bytes_unidad = 12;
inline constexpr std::size_t bytes_cabecera = 12;
inline constexpr std::size_t bytes_ventana = 36;
inline constexpr std::size_t bytes_cod = 7;
// Minima start here and maxima at 0, and the comparisons are strict: readers of the files
// rely on exactly these extents, odd as they are for negative or very large coordinates.
inline constexpr std::int32_t inicio_minimo = 1000000000;
inline constexpr std::int32_t dato_1 = 20, dato_2 = 6, dato_3 = 1957;
// The attribute unit: num_atr 1, valor_atr 0, cod_atr "201   ".
inline constexpr char unidad_atributo[bytes_unidad] = {1, 0, 0, 0, 0, 0, '2', '0', '1', ' ', ' ', ' '};

// Trims spaces and pads with NUL bytes to at least 7 characters (longer codes stay whole;
// the header takes their first 7). Error 6 for a code over 32,767 characters.
void completa_codigo(std::string& codigo);
// Trims spaces and appends one NUL byte.
void completa_texto(std::string& texto);

// Builds in `registro` the whole record of the entity held in `e` (points 1 to num_puntos;
// a text when EsTexto; closed when elem_cerrado and it has a point), with the attribute unit
// when `atributo`. Leaves e.codigo and, for a text, e.texto completed as above.
// Every check is made before the record is built, so an error 6 (a text too long for
// num_elem, a height or text box outside 32 bits) leaves nothing half written.
void compone_registro(estado_conversion& e, bool atributo, std::string& registro);

}  // namespace tolvar
