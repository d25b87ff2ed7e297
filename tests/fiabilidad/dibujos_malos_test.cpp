// Malformed drawings in the middle of a batch: each must fail with its number, file and line,
// keep the drawing before it whole, keep the records its own drawing wrote before the fault,
// and stop the batch there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fiabilidad.h"

namespace tolvar::prueba {
namespace {

// How a binary DXF starts: its sentinel, then groups as binary codes and NUL-ended strings.
constexpr char dxf_binario[] = "AutoCAD Binary DXF\r\n\x1a\0" "\0\0SECTION\0" "\2\0HEADER\0";
// What old files carry after their 0/EOF.
constexpr char basura[] = "\x1a\0\xff garbage";

struct caso_dibujo {
  const char* nombre;
  std::string dibujo;      // b.dxf; a.dxf and c.dxf hold the good point
  int numero;
  std::int64_t num_linea;
  std::string bin;         // what b.bin must hold: the records finished before the fault
  std::string err = "";
};

// 5000 vertices at the good point's position, after a POLYLINE header on lines 11 to 14.
std::string polyline_de(int vertices) {
  std::string s = tras_point({"  0", "POLYLINE", "  8", "CAPA"});
  const std::string vertex =
      dibujo({"  0", "VERTEX", " 10", "1.5", " 20", "4000002.25", " 30", "0"});
  for (int i = 0; i < vertices; ++i) s += vertex;
  return s;
}

void comprueba_caso(const caso_dibujo& c) {
  SCOPED_TRACE(c.nombre);
  directorio_prueba d;
  d.pon("a.dxf", point_dxf);
  d.pon("b.dxf", c.dibujo);
  d.pon("c.dxf", point_dxf);
  const auto e = convierte_con_fallo(d);
  comprueba_fallo(e, c.numero, std::filesystem::path("d") / "b.dxf", c.num_linea);
  EXPECT_EQ(d.lee("a.bin"), point_bin);
  EXPECT_EQ(d.lee("a.err"), "");
  EXPECT_EQ(muestra_hex(d.lee("b.bin")), muestra_hex(c.bin));
  EXPECT_EQ(d.lee("b.err"), c.err);
  EXPECT_FALSE(d.existe("c.bin"));
  EXPECT_FALSE(d.existe("c.err"));
  for (const std::string& llamada : d.vista.llamadas) {
    EXPECT_NE(llamada, "Creado el fichero : d/b.bin");
    EXPECT_NE(llamada, "fin");
  }
}

TEST(dibujos_malos, el_fin_del_dibujo_dentro_de_cada_entidad_es_62) {
  const caso_dibujo casos[] = {
      {"polyline_sin_vertices", tras_point({"  0", "POLYLINE", "  8", "CAPA"}), fin_de_fichero, 14,
       point_bin},
      {"dentro_de_un_vertex", tras_point({"  0", "POLYLINE", "  0", "VERTEX", " 10", "5"}),
       fin_de_fichero, 16, point_bin},
      {"tras_el_ultimo_vertex",
       tras_point({"  0", "POLYLINE", "  0", "VERTEX", " 10", "5", " 20", "4000000", " 30", "0"}),
       fin_de_fichero, 20, point_bin},
      {"point_sin_z", tras_point({"  0", "POINT", "  8", "CAPA", " 10", "1", " 20", "4000000"}),
       fin_de_fichero, 18, point_bin},
      {"text_sin_grupo_1", tras_point({"  0", "TEXT", "  8", "CAPA", " 40", "2.5"}), fin_de_fichero,
       16, point_bin},
      {"triang", tras_point({"  0", "TRIANG", " 10", "1", " 20", "2"}), fin_de_fichero, 16,
       point_bin},
      {"codigo_sin_linea_de_valor", tras_point({"  0", "POINT", " 10"}), fin_de_fichero, 13,
       point_bin},
      {"codigo_sin_valor_ni_fin_de_linea", point_dxf + "  0\r\nPOINT\r\n 10", fin_de_fichero, 13,
       point_bin},
      {"dibujo_de_cero_bytes", "", fin_de_fichero, 0, ""},
  };
  for (const auto& c : casos) comprueba_caso(c);
}

TEST(dibujos_malos, lo_que_no_es_un_codigo_o_un_numero_es_13) {
  const caso_dibujo casos[] = {
      {"codigo_no_numerico", tras_point({"  0", "POINT", "X", "1"}), tipo_incompatible, 13,
       point_bin},
      {"codigo_con_decimales", tras_point({"  0", "POINT", " 10.0", "1"}), tipo_incompatible, 13,
       point_bin},
      {"codigo_en_blanco", tras_point({"  0", "POINT", "", "1"}), tipo_incompatible, 13, point_bin},
      {"numero_con_coma", tras_point({"  0", "POINT", " 10", "1,5"}), tipo_incompatible, 14,
       point_bin},
      {"nan", tras_point({"  0", "POINT", " 10", "nan"}), tipo_incompatible, 14, point_bin},
      {"inf", tras_point({"  0", "POINT", " 20", "inf"}), tipo_incompatible, 14, point_bin},
      {"hexadecimal", tras_point({"  0", "POINT", " 30", "0x10"}), tipo_incompatible, 14,
       point_bin},
      {"valor_vacio", tras_point({"  0", "POINT", " 10", ""}), tipo_incompatible, 14, point_bin},
      {"dos_signos", tras_point({"  0", "POINT", " 10", "+-1"}), tipo_incompatible, 14, point_bin},
      {"altura_no_numerica", tras_point({"  0", "TEXT", " 40", "alta", "  1", "A"}),
       tipo_incompatible, 14, point_bin},
      {"indicadores_70_no_enteros", tras_point({"  0", "POLYLINE", " 70", "1.0"}),
       tipo_incompatible, 14, point_bin},
      {"tras_una_capa_desconocida", tras_point({"  0", "POINT", "  8", "RARA", " 10", "x"}),
       tipo_incompatible, 16, point_bin, "RARA\r\n"},
      {"tras_dos_registros",
       tras_point({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0",
                   "  0", "POINT", " 10", "x"}),
       tipo_incompatible, 24, point_bin + point_bin},
      {"fines_de_linea_cr", point_dxf + dibujo({"  0", "POINT", " 10", "1,5"}, "\r"),
       tipo_incompatible, 14, point_bin},
      {"fines_de_linea_lf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25",
                                    " 30", "0", "  0", "POINT", " 10", "1,5"}, "\n"),
       tipo_incompatible, 14, point_bin},
      {"dxf_binario",
       std::string(dxf_binario, sizeof dxf_binario - 1),
       tipo_incompatible, 1, ""},
      // A UTF-8 byte order mark is no part of a single-byte drawing.
      {"marca_de_orden_utf8", "\xEF\xBB\xBF" + point_dxf, tipo_incompatible, 1, ""},
      {"ctrl_z_sin_eof", point_dxf + "\x1a", tipo_incompatible, 11, ""},
      {"valor_con_nul", tras_point({"  0", "POINT", " 10", std::string("1\0", 2)}),
       tipo_incompatible, 14, point_bin},
      {"codigo_con_nul", tras_point({"  0", "POINT", std::string("\0", 1), "1"}), tipo_incompatible,
       13, point_bin},
  };
  for (const auto& c : casos) comprueba_caso(c);
}

TEST(dibujos_malos, lo_que_no_cabe_es_6_y_el_punto_5001_es_9) {
  const caso_dibujo casos[] = {
      {"x_1e400", tras_point({"  0", "POINT", " 10", "1e400"}), desbordamiento, 14, point_bin},
      {"altura_1e400", tras_point({"  0", "TEXT", " 40", "1e400"}), desbordamiento, 14, point_bin},
      {"x_justo_fuera_por_arriba", tras_point({"  0", "POINT", " 10", "2147483.648"}),
       desbordamiento, 14, point_bin},
      {"x_justo_fuera_por_abajo", tras_point({"  0", "POINT", " 10", "-2147483.649"}),
       desbordamiento, 14, point_bin},
      {"y_con_desplazamiento_fuera_por_arriba", tras_point({"  0", "POINT", " 20", "6147483.648"}),
       desbordamiento, 14, point_bin},
      {"y_con_desplazamiento_fuera_por_abajo", tras_point({"  0", "POINT", " 20", "1852516.351"}),
       desbordamiento, 14, point_bin},
      {"z_justo_fuera", tras_point({"  0", "POINT", " 30", "2147483.648"}), desbordamiento, 14,
       point_bin},
      {"y_de_vertex_fuera", tras_point({"  0", "POLYLINE", "  0", "VERTEX", " 20", "6147483.648"}),
       desbordamiento, 16, point_bin},
      {"y_de_triang_justo_fuera", tras_point({"  0", "TRIANG", " 21", "2147483.648"}),
       desbordamiento, 14, point_bin},
      {"y_de_triang_en_coordenadas_de_mapa", tras_point({"  0", "TRIANG", " 10", "1", " 20", "4100000"}),
       desbordamiento, 16, point_bin},
      {"codigo_fuera_de_32_bits", tras_point({"  0", "POINT", "99999999999", "1"}), desbordamiento,
       13, point_bin},
      // Found when the record is put together: named by the entity's first line, whole or
      // nothing.
      {"altura_de_text_fuera", tras_point({"  0", "TEXT", "  8", "CAPA", " 40", "2147483.648", "  1", "A"}),
       desbordamiento, 12, point_bin},
      {"caja_de_text_demasiado_ancha",
       tras_point({"  0", "TEXT", "  8", "CAPA", " 40", "1000", "  1", std::string(2148, 'A')}), desbordamiento, 12,
       point_bin},
      {"text_de_32768_caracteres", tras_point({"  0", "TEXT", "  8", "CAPA", "  1", std::string(32768, 'A')}),
       desbordamiento, 12, point_bin},
      {"polyline_de_5001_vertices", polyline_de(5001), subindice_fuera_de_rango, 40016, point_bin},
  };
  for (const auto& c : casos) comprueba_caso(c);
}

// The other side of each limit converts, to the exact bytes.
TEST(dibujos_malos, justo_dentro_de_cada_limite_se_convierte) {
  const struct {
    const char* nombre;
    std::string dibujo;
    std::string bin;
  } casos[] = {
      {"point_en_los_extremos_de_32_bits",
       dibujo({"  0", "POINT", "  8", "CAPA", " 10", "2147483.647", " 20", "6147483.647", " 30",
               "-2147483.648"}),
       hex("43 3D 30 31 30 31 00 00 00 00 01 00"     // C=, 0101, atr 0, num_elem 1
           "00 CA 9A 3B 00 CA 9A 3B 00 00 00 80"     // minima: x and y keep 1,000,000,000
           "FF FF FF 7F FF FF FF 7F 00 00 00 00"     // maxima: z keeps 0
           "14 00 00 00 06 00 00 00 A5 07 00 00"     // 20, 6, 1957
           "FF FF FF 7F FF FF FF 7F 00 00 00 80")},  // 2147483647, 2147483647, -2147483648
      {"point_en_los_otros_extremos",
       dibujo({"  0", "POINT", "  8", "CAPA", " 10", "-2147483.648", " 20", "1852516.352", " 30",
               "2147483.647"}),
       hex("43 3D 30 31 30 31 00 00 00 00 01 00"
           "00 00 00 80 00 00 00 80 00 CA 9A 3B"     // z keeps 1,000,000,000
           "00 00 00 00 00 00 00 00 FF FF FF 7F"     // x and y keep 0
           "14 00 00 00 06 00 00 00 A5 07 00 00"
           "00 00 00 80 00 00 00 80 FF FF FF 7F")},
      {"y_de_triang_justo_dentro",
       dibujo({"  0", "TRIANG", " 10", "0", " 20", "2147483.647", " 30", "0", "  0", "EOF"}),
       hex("43 3D 54 52 49 41 4E 47 00 00 01 00"     // C=, TRIANG, atr 0, num_elem 1
           "00 00 00 00 00 CA 9A 3B 00 00 00 00"
           "00 00 00 00 FF FF FF 7F 00 00 00 00"
           "14 00 00 00 06 00 00 00 A5 07 00 00"
           "00 00 00 00 FF FF FF 7F 00 00 00 00")},
      {"x_demasiado_pequena_es_0",
       dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1e-400", " 20", "4000000", " 30", "-1e-400"}),
       hex("43 3D 30 31 30 31 00 00 00 00 01 00"
           "00 00 00 00 00 00 00 00 00 00 00 00"
           "00 00 00 00 00 00 00 00 00 00 00 00"
           "14 00 00 00 06 00 00 00 A5 07 00 00"
           "00 00 00 00 00 00 00 00 00 00 00 00")},
      {"linea_de_1_mib_justo", tras_point({"999", std::string(std::size_t{1} << 20, 'c')}), point_bin},
      {"basura_tras_eof", point_dxf + dibujo({"  0", "EOF"}) + std::string(basura, sizeof basura - 1),
       point_bin},
      {"text_de_32767_caracteres",
       dibujo({"  0", "TEXT", "  8", "CAPA", " 10", "0", " 20", "4000000", "  1",
               std::string(32767, 'A')}),
       hex("54 3D 30 31 30 31 00 00 00 00 AC 0A"     // T=, 0101, num_elem 2732
           "00 00 00 00 00 00 00 00 00 00 00 00"     // height 0: the box is the point
           "00 00 00 00 00 00 00 00 00 00 00 00"
           "00 00 00 00 00 00 00 00 00 00 00 00"
           "00 00 00 00 00 00 00 00 00 00 00 00") +  // the insertion point
           [] {
             std::string unidades;
             for (int i = 0; i < 2730; ++i) unidades += "AAAAAAAAAAAA";
             return unidades + std::string("AAAAAAA\0    ", 12);  // 32,767 = 12 x 2730 + 7
           }()},
      {"polyline_de_5000_vertices", polyline_de(5000) + dibujo({"  0", "SEQEND"}),
       point_bin + hex("43 3D 30 31 30 31 00 00 00 00 88 13"    // num_elem 5000
                       "DC 05 00 00 CA 08 00 00 00 00 00 00"
                       "DC 05 00 00 CA 08 00 00 00 00 00 00"
                       "14 00 00 00 06 00 00 00 A5 07 00 00") +
           [] {
             std::string puntos;
             for (int i = 0; i < 5000; ++i) puntos += hex("DC 05 00 00 CA 08 00 00 00 00 00 00");
             return puntos;
           }()},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    directorio_prueba d;
    d.pon("a.dxf", c.dibujo);
    d.pon("b.dxf", point_dxf);
    const auto e = convierte_con_fallo(d);
    ASSERT_FALSE(e.has_value()) << e->what();
    const std::string bin = d.lee("a.bin");
    EXPECT_EQ(bin.size(), c.bin.size());
    EXPECT_TRUE(bin == c.bin) << muestra_hex(bin.substr(0, 240));
    EXPECT_EQ(d.lee("b.bin"), point_bin);
  }
}

// The blocks of a drawing hold at most 4,000,000 groups, counted from each block's first
// group 0: one more is error 7 at its code's line, with the point before it written.
TEST(dibujos_malos, mas_de_4000000_grupos_en_los_bloques_es_7) {
  const auto bloques = [](std::size_t grupos) {
    // Lines 11 to 18 open the section and the block; its first group 0 is on line 19.
    std::string s = tras_point({"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  2", "B", "  0", "POINT"});
    s.reserve(s.size() + 9 * grupos);
    for (std::size_t i = 1; i < grupos; ++i) s += "999\r\nx\r\n";
    return s + dibujo({"  0", "ENDBLK", "  0", "ENDSEC", "  0", "EOF"});
  };
  for (const std::size_t grupos : {std::size_t{4000000}, std::size_t{4000001}}) {
    directorio_prueba d;
    d.conv.opciones().bloques = true;
    d.pon("a.dxf", bloques(grupos));
    const auto e = convierte_con_fallo(d);
    if (grupos == 4000000) {
      EXPECT_FALSE(e.has_value()) << e->what();
    } else {
      comprueba_fallo(e, sin_memoria, std::filesystem::path("d") / "a.dxf", 19 + 2 * 4000000);
    }
    EXPECT_EQ(d.lee("a.bin"), point_bin);
  }
}

TEST(dibujos_malos, mil_y_un_dibujos_es_9_antes_de_convertir_ninguno) {
  directorio_prueba d;
  for (int i = 0; i < 1001; ++i) d.pon("p" + std::to_string(1000 + i) + ".dxf", point_dxf);
  // Left by an earlier batch: a batch that never starts must not touch it.
  d.pon("p1000.bin", "viejo");
  const auto e = convierte_con_fallo(d, "p1000.dxf");
  comprueba_fallo(e, subindice_fuera_de_rango, "d", 0);
  EXPECT_EQ(d.lee("p1000.bin"), "viejo");
  EXPECT_FALSE(d.existe("p1000.err"));
  EXPECT_FALSE(d.existe("p2000.bin"));
  EXPECT_TRUE(d.vista.llamadas.empty());
}

// The fuzzer's first find: a NUL in a group code went into the message as it was, and the
// message shown as a C string ended there, without the file and the line.
TEST(regresiones, un_nul_en_la_entrada_cortaba_el_mensaje_antes_del_fichero) {
  directorio_prueba d;
  d.pon("a.dxf", std::string("\0", 1));
  const auto e = convierte_con_fallo(d);
  comprueba_fallo(e, tipo_incompatible, std::filesystem::path("d") / "a.dxf", 1);
  EXPECT_STREQ(e->what(),
               (R"(Error 13 (type mismatch): "\x00" is not a group code -- )" +
                (std::filesystem::path("d") / "a.dxf").string() + ", line 1")
                   .c_str());
}

}  // namespace
}  // namespace tolvar::prueba
