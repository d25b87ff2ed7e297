#pragma once

// What the reliability suites share: a good drawing with its exact bytes, and the check that
// a failure says what it is and where.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {

// A POINT on layer CAPA (code 0101) at (1.5, 4000002.25, 0): lines 1 to 10 of a drawing.
inline const std::string point_dxf =
    dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0.0"});
inline const std::string point_bin = hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"    // C=, 0101, atr 0, num_elem 1
    "DC 05 00 00 CA 08 00 00 00 00 00 00"    // xmin 1500, ymin 2250, zmin 0
    "DC 05 00 00 CA 08 00 00 00 00 00 00"    // xmax, ymax, zmax
    "14 00 00 00 06 00 00 00 A5 07 00 00"    // 20, 6, 1957
    "DC 05 00 00 CA 08 00 00 00 00 00 00");  // the point

// The good point, then `lineas` from line 11 on, every line ended by CR LF.
inline std::string tras_point(std::initializer_list<std::string_view> lineas) {
  return point_dxf + dibujo(lineas);
}

// Runs the batch of "d" and gives the failure it ended with; none when it succeeded.
inline std::optional<error_conversion> convierte_con_fallo(directorio_prueba& d,
                                                          std::string_view elegido = "a.dxf") {
  try {
    d.convierte(elegido);
  } catch (const error_conversion& e) {
    return e;
  }
  return std::nullopt;
}

// The failure has its number, names `fichero` and, when `num_linea` is not 0, that line, both
// in its fields and in the message as a C string shows it (where a window or stderr stops).
inline void comprueba_fallo(const std::optional<error_conversion>& e, int numero,
                            const std::filesystem::path& fichero, std::int64_t num_linea) {
  ASSERT_TRUE(e.has_value()) << "the run reported success";
  EXPECT_EQ(e->numero(), numero) << e->what();
  EXPECT_EQ(e->fichero(), fichero) << e->what();
  EXPECT_EQ(e->num_linea(), num_linea) << e->what();
  const std::string mensaje = e->what();  // up to its first NUL, as any C string
  EXPECT_NE(mensaje.find("Error " + std::to_string(numero) + " ("), std::string::npos) << mensaje;
  EXPECT_NE(mensaje.find(fichero.filename().string()), std::string::npos) << mensaje;
  if (num_linea != 0) {
    EXPECT_NE(mensaje.find(", line " + std::to_string(num_linea)), std::string::npos) << mensaje;
  } else {
    EXPECT_EQ(mensaje.find(", line "), std::string::npos) << mensaje;
  }
}

}  // namespace tolvar::prueba
