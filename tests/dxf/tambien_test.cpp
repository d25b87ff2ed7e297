// LWPOLYLINE, LINE, MTEXT and INSERT, read on request: each written with the writer of the
// other kinds, to the exact bytes.
#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

constexpr std::string_view tabla = "0101 CAPA\r\nCERO 0\r\n";

// Converts d/a.dxf reading every kind; gives the .bin as muestra_hex() text.
std::string convierte(const std::string& dxf, std::string* err = nullptr,
                      contadores* cuentas = nullptr) {
  directorio_prueba d(tabla);
  d.conv.opciones().tambien = tipos_tambien::todos();
  d.pon("a.dxf", dxf);
  d.convierte();
  if (err != nullptr) *err = d.lee("a.err");
  if (cuentas != nullptr) *cuentas = d.conv.cuentas();
  return muestra_hex(d.lee("a.bin"));
}

// A closed triangle on CAPA at elevation 5: (10, 4000010), (20, 4000020), (30, 4000010).
const std::string lwpolyline_cerrada = muestra_hex(hex(
    "43 3D 30 31 30 31 00 00 00 00 04 00"     // C=, 0101, atr 0, num_elem 3 + the closing unit
    "10 27 00 00 10 27 00 00 88 13 00 00"
    "30 75 00 00 20 4E 00 00 88 13 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "10 27 00 00 10 27 00 00 88 13 00 00"
    "20 4E 00 00 20 4E 00 00 88 13 00 00"
    "30 75 00 00 10 27 00 00 88 13 00 00"
    "10 27 00 00 10 27 00 00 88 13 00 00"));  // the first vertex again

TEST(ProcesaLwpolyline, cada_10_empieza_un_vertice_y_el_ultimo_38_da_la_z) {
  const struct {
    const char* nombre;
    std::string dxf;
    std::string bin;
  } casos[] = {
      {"ordinaria",
       dibujo({"  0", "LWPOLYLINE", "  8", "CAPA", " 90", "3", " 70", "1", " 38", "5", " 10", "10", " 20", "4000010",
               " 10", "20", " 20", "4000020", " 42", "0.5", " 10", "30", " 20", "4000010", "  0", "EOF"}),
       lwpolyline_cerrada},
      // The last 70 and the last 38 count, wherever they stand; a 20 before any 10 is not
      // even read; widths, bulges and the extrusion are passed over.
      {"el_ultimo_70_y_el_ultimo_38",
       dibujo({"  0", "LWPOLYLINE", " 70", "0", " 38", "7", " 20", "no es un numero", " 10", "10", " 20", "4000010",
               " 40", "1", " 10", "20", " 20", "4000020", " 10", "30", " 20", "4000010", "210", "0", " 70", "129",
               " 38", "5", "  8", "CAPA", "  0", "EOF"}),
       lwpolyline_cerrada},
      // No 20: y is 0 in the record; no 38: z 0; no layer: layer "0".
      {"sin_20_sin_38_sin_capa", dibujo({"  0", "LWPOLYLINE", " 10", "1", " 10", "2", " 20", "4000003", "  0", "EOF"}),
       muestra_hex(hex("43 3D 43 45 52 4F 00 00 00 00 02 00"
                       "E8 03 00 00 00 00 00 00 00 00 00 00"
                       "D0 07 00 00 B8 0B 00 00 00 00 00 00"
                       "14 00 00 00 06 00 00 00 A5 07 00 00"
                       "E8 03 00 00 00 00 00 00 00 00 00 00"
                       "D0 07 00 00 B8 0B 00 00 00 00 00 00"))},
      {"sin_vertices_cerrada", dibujo({"  0", "LWPOLYLINE", "  8", "CAPA", " 70", "1", "  0", "EOF"}),
       muestra_hex(hex("43 3D 30 31 30 31 00 00 00 00 00 00"
                       "00 CA 9A 3B 00 CA 9A 3B 00 CA 9A 3B"
                       "00 00 00 00 00 00 00 00 00 00 00 00"
                       "14 00 00 00 06 00 00 00 A5 07 00 00"))},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(c.dxf), c.bin) << c.nombre;
}

TEST(ProcesaLwpolyline, cinco_mil_vertices_y_el_10_que_hace_5001_es_error_9) {
  const auto lwpolyline_de = [](int vertices) {
    std::string s = dibujo({"  0", "LWPOLYLINE", "  8", "CAPA"});
    for (int i = 0; i < vertices; ++i) s += dibujo({" 10", "1"});
    return s + dibujo({"  0", "EOF"});
  };
  const std::string bin = convierte(lwpolyline_de(5000));
  EXPECT_EQ(bin.substr(0, 35), "43 3D 30 31 30 31 00 00 00 00 88 13");  // num_elem 5000
  directorio_prueba d(tabla);
  d.conv.opciones().tambien = tipos_tambien::todos();
  d.pon("a.dxf", lwpolyline_de(5001));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), subindice_fuera_de_rango);
    EXPECT_EQ(e.num_linea(), 4 + 2 * 5001);  // the value of the 5001st group 10
  }
  EXPECT_EQ(d.lee("a.bin"), "");
}

TEST(ProcesaLine, dos_vertices_abiertos_y_lo_que_falta_es_0) {
  EXPECT_EQ(convierte(dibujo({"  0", "LINE", "  8", "CAPA", " 10", "1", " 20", "4000002", " 30", "3", " 11", "4",
                              " 21", "4000005", "  0", "EOF"})),
            muestra_hex(hex("43 3D 30 31 30 31 00 00 00 00 02 00"     // open: no closing unit
                            "E8 03 00 00 D0 07 00 00 00 00 00 00"
                            "A0 0F 00 00 88 13 00 00 B8 0B 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "E8 03 00 00 D0 07 00 00 B8 0B 00 00"     // (1, 4000002, 3)
                            "A0 0F 00 00 88 13 00 00 00 00 00 00")));  // (4, 4000005), no 31
}

// "Río del Molino Alto" at (1, 4000002, 0), 2.5 high, on CAPA.
const std::string mtext_rio = muestra_hex(hex(
    "54 3D 30 31 30 31 00 00 00 00 03 00"     // T=, 0101, num_elem 1 + 2 text units
    "E8 03 00 00 D0 07 00 00 00 00 00 00"
    "74 BD 00 00 94 11 00 00 00 00 00 00"     // 19 characters x 2500 + 1000 wide, 2500 high
    "C4 09 00 00 00 00 00 00 00 00 00 00"
    "E8 03 00 00 D0 07 00 00 00 00 00 00"
    "52 ED 6F 20 64 65 6C 20 4D 6F 6C 69"     // "Río del Moli" in Windows-1252
    "6E 6F 20 41 6C 74 6F 00 20 20 20 20"));  // "no Alto", the NUL, spaces

TEST(ProcesaMtext, los_3_y_el_ultimo_1_sin_formato) {
  const struct {
    const char* nombre;
    std::string dxf;
  } casos[] = {
      {"ordinario", dibujo({"  0", "MTEXT", "  8", "CAPA", " 10", "1", " 20", "4000002", " 30", "0", " 40", "2.5",
                            "  3", "{\\fArial;R\xC3\xADo} del ", "  1", "Molino\\PAlto", "  0", "EOF"})},
      // Pieces are joined whole, their spaces kept, before the UTF-8 test: an "í" cut between
      // two of them still decodes.
      {"trozos_y_caracter_partido",
       dibujo({"  0", "MTEXT", "  8", "CAPA", " 10", "1", " 20", "4000002", " 40", "2.5", "  1", "descartado",
               "  3", "  R\xC3", "  3", "\xADo del", "  1", " Molino\\PAlto  ", "  0", "EOF"})},
      // From the embedded object of newer files to the end, nothing is the text's.
      {"objeto_incrustado",
       dibujo({"  0", "MTEXT", "  8", "CAPA", " 10", "1", " 20", "4000002", " 40", "2.5", "  1", "R\\U+00EDo del Molino\\PAlto",
               "101", "Embedded Object", " 70", "1", " 10", "1", " 20", "0", " 30", "0", " 40", "99", "  1", "otro",
               "  0", "EOF"})},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(c.dxf), mtext_rio) << c.nombre;
}

TEST(ProcesaMtext, la_altura_se_hereda_del_text_y_el_punto_es_x) {
  // One height carried across TEXT and MTEXT alike; a lone "." is written "x".
  const std::string unidad = "54 3D 30 31 30 31 00 00 00 00 02 00"
                             "00 00 00 00 00 00 00 00 00 00 00 00"
                             "B8 0B 00 00 B8 0B 00 00 00 00 00 00"
                             "B8 0B 00 00 00 00 00 00 00 00 00 00"
                             "00 00 00 00 00 00 00 00 00 00 00 00";
  EXPECT_EQ(convierte(dibujo({"  0", "TEXT", "  8", "CAPA", " 40", "3", "  1", "A", "  0", "MTEXT", "  8", "CAPA",
                              "  1", ".", "  0", "EOF"})),
            muestra_hex(hex(unidad + "41 00 20 20 20 20 20 20 20 20 20 20" + unidad +
                            "78 00 20 20 20 20 20 20 20 20 20 20")));
  // A text of 300 characters in pieces of 250 fills 25 units, with no room for the NUL.
  std::string err;
  const std::string largo = convierte(dibujo({"  0", "MTEXT", "  8", "CAPA", "  3", std::string(250, 'a'), "  1",
                                              std::string(50, 'b'), "  0", "EOF"}));
  EXPECT_EQ(largo.substr(0, 35), "54 3D 30 31 30 31 00 00 00 00 1A 00");
  EXPECT_EQ(largo.substr(largo.size() - 35), "62 62 62 62 62 62 62 62 62 62 62 62");
}

TEST(ProcesaInsert, un_punto_en_su_insercion_sin_sus_atributos) {
  std::string err;
  contadores cuentas;
  // ATTRIB and SEQEND belong to the INSERT; a POINT between them is still read.
  const std::string bin = convierte(
      dibujo({"  0", "INSERT", "  8", "CAPA", "  2", "POZO", " 10", "1.5", " 20", "4000002.25", " 41", "2",
              "  0", "ATTRIB", "  8", "OTRA", "  1", "7", "  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20",
              "4000002.25", " 30", "0", "  0", "SEQEND", "  8", "OTRA", "  0", "EOF"}),
      &err, &cuentas);
  const std::string punto = "43 3D 30 31 30 31 00 00 00 00 01 00"
                            "DC 05 00 00 CA 08 00 00 00 00 00 00"
                            "DC 05 00 00 CA 08 00 00 00 00 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "DC 05 00 00 CA 08 00 00 00 00 00 00";
  EXPECT_EQ(bin, muestra_hex(hex(punto + punto)));  // written without a 30
  EXPECT_EQ(err, "");
  EXPECT_EQ(cuentas.cont_insert, 1);
  EXPECT_EQ(cuentas.cont_point, 1);
  EXPECT_TRUE(cuentas.omitidas.vacia()) << cuentas.omitidas.texto();
}

TEST(tipos_tambien, el_fin_de_los_datos_dentro_de_uno_es_error_62) {
  const struct {
    const char* nombre;
    std::string dxf;
    std::int64_t linea;
  } casos[] = {
      {"lwpolyline", dibujo({"  0", "LWPOLYLINE", " 10", "1"}), 4},
      {"line", dibujo({"  0", "LINE", " 11", "1", " 21", "4000000", " 31", "0"}), 8},
      // No exception here for the text's last group, as a TEXT has.
      {"mtext", dibujo({"  0", "MTEXT", " 10", "1", "  1", "texto"}), 6},
      {"insert", dibujo({"  0", "INSERT", " 30", "0"}), 4},
      {"spline", dibujo({"  0", "SPLINE", " 10", "1"}), 4},
      {"leader", dibujo({"  0", "LEADER", " 10", "1"}), 4},
      // In its header, among its paths, and after them where nothing more is read.
      {"hatch", dibujo({"  0", "HATCH", "  8", "CAPA"}), 4},
      {"hatch_en_un_camino", dibujo({"  0", "HATCH", " 91", "1", " 92", "2", " 72", "0"}), 8},
      {"hatch_tras_sus_caminos", dibujo({"  0", "HATCH", " 91", "0", " 75", "1", " 98", "0"}), 8},
  };
  for (const auto& c : casos) {
    directorio_prueba d(tabla);
    d.conv.opciones().tambien = tipos_tambien::todos();
    d.pon("a.dxf", c.dxf);
    try {
      d.convierte();
      ADD_FAILURE() << c.nombre;
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), fin_de_fichero) << c.nombre;
      EXPECT_EQ(e.num_linea(), c.linea) << c.nombre;
    }
  }
}

TEST(tipos_tambien, sin_pedirlos_nada_cambia_y_se_cuentan_como_omitidos) {
  const std::string dxf = dibujo({"  0", "LINE", " 10", "1", "  0", "LWPOLYLINE", " 10", "1", "  0", "LINE",
                                  "  0", "MTEXT", "  1", "x", "  0", "INSERT", "  0", "POINT", "  8", "CAPA",
                                  " 10", "1.5", " 20", "4000002.25", " 30", "0", "  0", "EOF"});
  directorio_prueba d(tabla);
  d.pon("a.dxf", dxf);
  d.convierte();
  EXPECT_EQ(d.lee("a.bin").size(), 60u);
  EXPECT_EQ(d.conv.cuentas().omitidas.texto(), "2 LINE, 1 INSERT, 1 LWPOLYLINE, 1 MTEXT");
  EXPECT_EQ(d.conv.cuentas().cont_line, 0);
}

}  // namespace
}  // namespace tolvar::prueba
