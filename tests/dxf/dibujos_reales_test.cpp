// Drawings as CAD programs write them (tests/dibujos, written by ezdxf): symbols and a
// dimension defined in blocks, an INSERT with its attribute, R12 in Windows-1252 and R2018 in
// UTF-8. The map's own entities, to the exact bytes; nothing of the blocks.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

std::string lee_dibujo(const char* nombre) {
  std::ifstream f(std::string(TOLVAR_DIBUJOS) + "/" + nombre, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// The table is Windows-1252, as the programs that read the .bin files keep it.
constexpr std::string_view tabla =
    "VE01 VERTICE\r\nTO01 TOPONIMO\r\nCA01 CAMI\xD1O\r\nPZ01 POZOS\r\nCE01 CERCA\r\n";

// "Peñíscola" at (452000, 4470000), 2.5 high: the same bytes from either drawing.
const std::string text_penyiscola = hex(
    "54 3D 54 4F 30 31 00 00 00 00 02 00"
    "00 F9 F0 1A 80 A1 03 1C 00 00 00 00"
    "E4 50 F1 1A 44 AB 03 1C 00 00 00 00"
    "C4 09 00 00 00 00 00 00 00 00 00 00"
    "00 F9 F0 1A 80 A1 03 1C 00 00 00 00"
    "50 65 F1 ED 73 63 6F 6C 61 00 20 20");   // P e ñ í s c o l a, in Windows-1252
const std::string insert_pozo = hex(
    "43 3D 50 5A 30 31 00 00 00 00 01 00"
    "40 06 F4 1A 00 BC 09 1C 00 00 00 00"
    "40 06 F4 1A 00 BC 09 1C 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "40 06 F4 1A 00 BC 09 1C 00 00 00 00");   // (452200, 4470400, 0)

struct resultado {
  std::string bin, err, omitidas;
  contadores cuentas;
};

resultado convierte(const char* nombre, tipos_tambien tambien) {
  directorio_prueba d(tabla);
  d.conv.opciones().tambien = tambien;
  d.pon("a.dxf", lee_dibujo(nombre));
  d.convierte();
  return {d.lee("a.bin"), d.lee("a.err"), d.conv.cuentas().omitidas.texto(), d.conv.cuentas()};
}

TEST(dibujos_reales, r12_con_simbolos_y_una_cota) {
  const std::string point = hex(
      "43 3D 56 45 30 31 00 00 00 00 01 00"
      "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00"
      "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00");  // (452100.125, 4470310.5, 1100)
  const std::string polyline = hex(
      "43 3D 43 41 30 31 00 00 00 00 03 00"     // CAMIÑO: the layer in Windows-1252
      "A0 7F F2 1A 60 35 08 1C 10 27 00 00"
      "C0 CD F2 1A 70 5C 08 1C E0 2E 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "A0 7F F2 1A 60 35 08 1C 10 27 00 00"
      "B0 A6 F2 1A 70 5C 08 1C F8 2A 00 00"
      "C0 CD F2 1A 60 35 08 1C E0 2E 00 00");
  const std::string line = hex(
      "43 3D 43 45 30 31 00 00 00 00 02 00"
      "00 F9 F0 1A 80 A1 03 1C 00 00 00 00"
      "10 20 F1 1A 08 B5 03 1C 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "00 F9 F0 1A 80 A1 03 1C 00 00 00 00"
      "10 20 F1 1A 08 B5 03 1C 00 00 00 00");
  // The symbol's POINT, TEXT and POLYLINE around 0,0 and the dimension's points in its block
  // are none of them: read as features, the first would not even fit in 32 bits.
  const resultado solo = convierte("r12_simbolos_y_cotas.dxf", {});
  EXPECT_EQ(muestra_hex(solo.bin), muestra_hex(point + text_penyiscola + polyline));
  EXPECT_EQ(solo.err, "");
  EXPECT_EQ(solo.omitidas, "1 DIMENSION, 1 INSERT, 1 LINE");
  EXPECT_EQ(solo.cuentas.cont_point, 1);
  EXPECT_EQ(solo.cuentas.cont_text, 1);
  EXPECT_EQ(solo.cuentas.cont_polyline, 1);

  const resultado todo = convierte("r12_simbolos_y_cotas.dxf", tipos_tambien::todos());
  EXPECT_EQ(muestra_hex(todo.bin), muestra_hex(point + text_penyiscola + polyline + insert_pozo + line));
  EXPECT_EQ(todo.omitidas, "1 DIMENSION");
}

TEST(dibujos_reales, r2018_en_utf8_con_la_tabla_en_windows_1252) {
  const std::string point = hex(
      "43 3D 43 41 30 31 00 00 00 00 01 00"     // on CAMIÑO, written in UTF-8
      "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00"
      "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00");
  const std::string lwpolyline = hex(
      "43 3D 43 41 30 31 00 00 00 00 04 00"     // closed, at elevation 5
      "A0 7F F2 1A 60 35 08 1C 88 13 00 00"
      "C0 CD F2 1A 70 5C 08 1C 88 13 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "A0 7F F2 1A 60 35 08 1C 88 13 00 00"
      "B0 A6 F2 1A 70 5C 08 1C 88 13 00 00"
      "C0 CD F2 1A 60 35 08 1C 88 13 00 00"
      "A0 7F F2 1A 60 35 08 1C 88 13 00 00");
  const std::string line = hex(
      "43 3D 43 45 30 31 00 00 00 00 02 00"
      "00 F9 F0 1A 80 A1 03 1C E8 03 00 00"
      "10 20 F1 1A 08 B5 03 1C D0 07 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "00 F9 F0 1A 80 A1 03 1C E8 03 00 00"
      "10 20 F1 1A 08 B5 03 1C D0 07 00 00");
  const std::string mtext = hex(
      "54 3D 54 4F 30 31 00 00 00 00 03 00"     // "{\fArial|b1;Río} Ebro\PAzud"
      "50 BC F1 1A D0 64 04 1C 00 00 00 00"
      "7C 08 F2 1A AC 6A 04 1C 00 00 00 00"
      "DC 05 00 00 00 00 00 00 00 00 00 00"
      "50 BC F1 1A D0 64 04 1C 00 00 00 00"
      "52 ED 6F 20 45 62 72 6F 20 41 7A 75"     // "Río Ebro Azu"
      "64 00 20 20 20 20 20 20 20 20 20 20");
  const resultado solo = convierte("r2018_utf8.dxf", {});
  EXPECT_EQ(muestra_hex(solo.bin), muestra_hex(point + text_penyiscola));
  EXPECT_EQ(solo.err, "");  // CAMIÑO found in the table
  EXPECT_EQ(solo.omitidas, "1 DIMENSION, 1 INSERT, 1 LINE, 1 LWPOLYLINE, 1 MTEXT");

  const resultado todo = convierte("r2018_utf8.dxf", tipos_tambien::todos());
  EXPECT_EQ(muestra_hex(todo.bin),
            muestra_hex(point + text_penyiscola + lwpolyline + line + mtext + insert_pozo));
  EXPECT_EQ(todo.omitidas, "1 DIMENSION");
  EXPECT_EQ(todo.cuentas.cont_lwpolyline, 1);
  EXPECT_EQ(todo.cuentas.cont_mtext, 1);
}

}  // namespace
}  // namespace tolvar::prueba
