// Drawings as CAD programs write them (tests/dibujos, written by ezdxf): symbols and a
// dimension defined in blocks, an INSERT with its attribute, R12 in Windows-1252 and R2018 in
// UTF-8. The map's own entities, to the exact bytes; nothing of the blocks.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

std::string lee_dibujo(const char* nombre) {
  std::ifstream f(std::string(TOLVAR_DIBUJOS) + "/" + nombre, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// The table is Windows-1252, as the programs that read the .bin files keep it.
constexpr std::string_view tabla =
    "VE01 VERTICE\r\nTO01 TOPONIMO\r\nCA01 CAMI\xD1O\r\nPZ01 POZOS\r\nCE01 CERCA\r\nCU01 CURVAS\r\nTI01 TIN\r\n"
    "PA01 PARCELAS\r\nCO01 COTAS\r\n";

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

resultado convierte(const char* nombre, tipos_tambien tambien, bool arcos = false) {
  directorio_prueba d(tabla);
  d.conv.opciones().tambien = tambien;
  d.conv.opciones().arcos = arcos;
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

// Curves within a thousandth, faces, a polyface mesh and entities mirrored by the extrusion
// (0, 0, -1): the units of each record, and the small ones to the byte.
TEST(dibujos_reales, r2000_con_curvas_caras_y_una_malla) {
  const std::string texto_espejo = hex(
      "54 3D 43 55 30 31 00 00 00 00 02 00"
      "00 F9 F0 1A C0 AE 06 1C 00 00 00 00"
      "70 10 F1 1A A8 B2 06 1C 00 00 00 00"
      "E8 03 00 00 00 00 00 00 00 00 00 00"
      "00 F9 F0 1A C0 AE 06 1C 00 00 00 00"     // (452000, 4470200): x -452000 mirrored
      "45 73 70 65 6A 6F 00 20 20 20 20 20");
  const std::string caras = hex(
      "43 3D 54 49 30 31 00 00 00 00 04 00"     // the mesh's faces, corners 1 2 3 and 1 3 4
      "00 F9 F0 1A E0 4F 0E 1C 10 27 00 00"
      "E8 FC F0 1A C8 53 0E 1C E0 2E 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "00 F9 F0 1A E0 4F 0E 1C 10 27 00 00"
      "E8 FC F0 1A E0 4F 0E 1C F8 2A 00 00"
      "E8 FC F0 1A C8 53 0E 1C E0 2E 00 00"
      "00 F9 F0 1A E0 4F 0E 1C 10 27 00 00"
      "43 3D 54 49 30 31 00 00 00 00 04 00"
      "00 F9 F0 1A E0 4F 0E 1C 10 27 00 00"
      "E8 FC F0 1A C8 53 0E 1C C8 32 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "00 F9 F0 1A E0 4F 0E 1C 10 27 00 00"
      "E8 FC F0 1A C8 53 0E 1C E0 2E 00 00"
      "00 F9 F0 1A C8 53 0E 1C C8 32 00 00"
      "00 F9 F0 1A E0 4F 0E 1C 10 27 00 00");
  const resultado todo = convierte("r2000_curvas_y_caras.dxf", tipos_tambien::todos(), true);
  // Circle, arc, ellipse, two polylines with arcs, the mirrored circle, text and polyline,
  // 3DFACE, SOLID, TRACE and the two faces.
  std::vector<int> num_elem;
  for (std::size_t i = 0; i + 12 <= todo.bin.size();) {
    const int n = static_cast<unsigned char>(todo.bin[i + 10]) | static_cast<unsigned char>(todo.bin[i + 11]) << 8;
    num_elem.push_back(n);
    i += 48 + 12 * static_cast<std::size_t>(n);
  }
  EXPECT_EQ(num_elem, (std::vector<int>{224, 41, 91, 148, 81, 101, 2, 2, 4, 5, 5, 4, 4}));
  EXPECT_EQ(muestra_hex(todo.bin.substr(8520, 72)), muestra_hex(texto_espejo));
  EXPECT_EQ(muestra_hex(todo.bin.substr(todo.bin.size() - 192)), muestra_hex(caras));
  EXPECT_EQ(todo.omitidas, "");
  EXPECT_EQ(todo.cuentas.cont_polyline, 2);
  EXPECT_EQ(todo.cuentas.cont_circle, 2);
  EXPECT_EQ(todo.cuentas.cont_trace, 1);

  // Read only by default: the 2D polyline with its chords, the text and the mesh.
  const resultado solo = convierte("r2000_curvas_y_caras.dxf", {});
  EXPECT_EQ(solo.bin.size(), 48u + 3 * 12 + 72 + 192);
  EXPECT_EQ(solo.omitidas, "2 CIRCLE, 2 LWPOLYLINE, 1 3DFACE, 1 ARC, 1 ELLIPSE, 1 SOLID, 1 TRACE");
}

// Symbols nested, scaled, rotated, mirrored and in an array, attributes and two dimensions,
// drawn with --blocks: 155 records, each within a thousandth of ezdxf's own exploded geometry
// (scripts/compara_bloques_ezdxf.py); here their number and two of them to the byte.
TEST(dibujos_reales, r2018_con_bloques_dibujados) {
  const std::string point = hex(
      "43 3D 50 5A 30 31 00 00 00 00 01 00"     // HOJA's point (2, 2) from its base (1, 1)
      "E8 FC F0 1A 68 A5 03 1C 00 00 00 00"     // in ARBOL at (452000, 4470000)
      "E8 FC F0 1A 68 A5 03 1C 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "E8 FC F0 1A 68 A5 03 1C 00 00 00 00");
  const std::string mtext = hex(
      "54 3D 50 5A 30 31 00 00 00 00 02 00"     // ARBOL's "Arbol" at (0, -2), 0.8 high, from
      "80 13 F7 1A B0 99 03 1C 00 00 00 00"     // the INSERT at (452400, 4470000) with the
      "20 23 F7 1A D0 9C 03 1C 00 00 00 00"     // attributes
      "20 03 00 00 00 00 00 00 00 00 00 00"
      "80 13 F7 1A B0 99 03 1C 00 00 00 00"
      "41 72 62 6F 6C 00 20 20 20 20 20 20");
  directorio_prueba d(tabla);
  d.conv.opciones().tambien = tipos_tambien::todos();
  d.conv.opciones().arcos = true;
  d.conv.opciones().bloques = true;
  d.pon("a.dxf", lee_dibujo("r2018_bloques.dxf"));
  d.convierte();
  const std::string bin = d.lee("a.bin");
  std::vector<std::size_t> inicios;
  for (std::size_t i = 0; i + 12 <= bin.size();) {
    inicios.push_back(i);
    i += 48 + 12 * (static_cast<unsigned char>(bin[i + 10]) | static_cast<std::size_t>(static_cast<unsigned char>(bin[i + 11])) << 8);
  }
  ASSERT_EQ(inicios.size(), 155u);
  EXPECT_EQ(muestra_hex(bin.substr(0, 60)), muestra_hex(point));
  EXPECT_EQ(muestra_hex(bin.substr(inicios[135], 72)), muestra_hex(mtext));
  // The visible attribute on layer "0"; the dimensions' three points each on Defpoints.
  std::string err = "0\r\n";
  for (int i = 0; i < 6; ++i) err += "Defpoints\r\n";
  EXPECT_EQ(d.lee("a.err"), err);
  EXPECT_EQ(d.conv.cuentas().cont_insert, 6);
  EXPECT_EQ(d.conv.cuentas().cont_dimension, 2);
  EXPECT_EQ(d.conv.cuentas().omitidas.texto(), "");
}

// Splines, hatches and leaders, the same drawing written as R2000 and as R2018 (which gives a
// spline edge fit data of its own before the path's 97): the same records, byte for byte.
// The points of the curves are checked against ezdxf's by scripts/coteja_ezdxf.py; here, the
// units of each record and the ones made of values as given, to the byte.
TEST(dibujos_reales, splines_hatches_y_leaders_de_r2000_y_r2018) {
  const std::string isla = hex(
      "43 3D 50 41 30 31 00 00 00 00 05 00"     // the building in the parcel, at elevation 12.5
      "10 20 F1 1A 30 4F 05 1C D4 30 00 00"
      "20 47 F1 1A 40 76 05 1C D4 30 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "10 20 F1 1A 30 4F 05 1C D4 30 00 00"     // (452010, 4470110)
      "20 47 F1 1A 30 4F 05 1C D4 30 00 00"
      "20 47 F1 1A 40 76 05 1C D4 30 00 00"
      "10 20 F1 1A 40 76 05 1C D4 30 00 00"
      "10 20 F1 1A 30 4F 05 1C D4 30 00 00");
  const std::string leaders = hex(
      "43 3D 43 4F 30 31 00 00 00 00 03 00"
      "00 F9 F0 1A C0 AE 06 1C E8 03 00 00"
      "A8 5A F1 1A D0 D5 06 1C E8 03 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "00 F9 F0 1A C0 AE 06 1C E8 03 00 00"     // (452000, 4470200, 1)
      "10 20 F1 1A D0 D5 06 1C E8 03 00 00"
      "A8 5A F1 1A D0 D5 06 1C E8 03 00 00"     // (452025, 4470210, 1)
      "43 3D 43 4F 30 31 00 00 00 00 02 00"
      "90 58 F2 1A B0 87 06 1C 00 00 00 00"
      "1D 80 F2 1A B4 B0 06 1C 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "1D 80 F2 1A B4 B0 06 1C 00 00 00 00"     // (452100.125, 4470200.5, 0)
      "90 58 F2 1A B0 87 06 1C 00 00 00 00");
  const resultado r2000 = convierte("r2000_contornos.dxf", tipos_tambien::todos(), true);
  const resultado r2018 = convierte("r2018_contornos.dxf", tipos_tambien::todos(), true);
  EXPECT_EQ(muestra_hex(r2018.bin), muestra_hex(r2000.bin));
  // Clamped, rational, closed, fit points only, a double knot; a parcel and its building, the
  // path of every edge, a circle and a path ending on a rational spline, the two paths of the
  // mirrored hatch; two leaders.
  std::vector<int> num_elem;
  std::size_t offset_isla = 0;
  for (std::size_t i = 0; i + 12 <= r2018.bin.size();) {
    const int n = static_cast<unsigned char>(r2018.bin[i + 10]) | static_cast<unsigned char>(r2018.bin[i + 11]) << 8;
    num_elem.push_back(n);
    if (num_elem.size() == 7) offset_isla = i;
    i += 48 + 12 * static_cast<std::size_t>(n);
  }
  EXPECT_EQ(num_elem, (std::vector<int>{295, 404, 241, 3, 175, 167, 5, 420, 274, 255, 115, 82, 3, 2}));
  EXPECT_EQ(muestra_hex(r2018.bin.substr(offset_isla, isla.size())), muestra_hex(isla));
  EXPECT_EQ(muestra_hex(r2018.bin.substr(r2018.bin.size() - leaders.size())), muestra_hex(leaders));
  EXPECT_EQ(r2018.err, "");
  EXPECT_EQ(r2018.omitidas, "");
  EXPECT_EQ(r2018.cuentas.cont_spline, 5);
  EXPECT_EQ(r2018.cuentas.cont_hatch, 4);
  EXPECT_EQ(r2018.cuentas.cont_leader, 2);

  const resultado solo = convierte("r2018_contornos.dxf", {});
  EXPECT_EQ(solo.bin, "");
  EXPECT_EQ(solo.omitidas, "5 SPLINE, 4 HATCH, 2 LEADER");
}

}  // namespace
}  // namespace tolvar::prueba
