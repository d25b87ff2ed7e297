#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

constexpr std::string_view tabla = "0101 CAPA\r\nCERO 0\r\n";

std::string convierte(const std::string& dxf, std::string* err = nullptr) {
  return convierte_hex(tabla, dxf, err);
}

std::string vertice(std::string_view x, std::string_view y, std::string_view z, std::string_view capa = "CAPA") {
  std::string v = dibujo({"  0", "VERTEX", "  8"});
  v += capa;
  v += "\r\n";
  v += dibujo({" 10"}) + std::string(x) + "\r\n" + dibujo({" 20"}) + std::string(y) + "\r\n";
  if (!z.empty()) v += dibujo({" 30"}) + std::string(z) + "\r\n";
  return v;
}

// The closed polyline (10, 4000010, 1), (20, 4000010, 2), (20, 4000020, 3) on an unknown layer.
const std::string cerrada_nueva = muestra_hex(hex(
    "43 3D 4E 75 65 76 6F 00 00 00 04 00"
    "10 27 00 00 10 27 00 00 E8 03 00 00"
    "20 4E 00 00 20 4E 00 00 B8 0B 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "10 27 00 00 10 27 00 00 E8 03 00 00"
    "20 4E 00 00 10 27 00 00 D0 07 00 00"
    "20 4E 00 00 20 4E 00 00 B8 0B 00 00"
    "10 27 00 00 10 27 00 00 E8 03 00 00"));

std::string polyline(std::string_view indicadores, std::string_view capa = "NUEVA") {
  std::string p = dibujo({"  0", "POLYLINE", "  8"}) + std::string(capa) + "\r\n" + dibujo({" 66", "1"});
  if (!indicadores.empty()) p += dibujo({" 70"}) + std::string(indicadores) + "\r\n";
  return p + dibujo({" 10", "0.0", " 20", "0.0", " 30", "0.0"}) + vertice("10", "4000010", "1", "0") +
         vertice("20", "4000010", "2", "0") + vertice("20", "4000020", "3", "0") + dibujo({"  0", "SEQEND", "  8", "0"});
}

TEST(ProcesaPolyline, cerrada_cuando_el_bit_1_de_70_esta_puesto) {
  const struct {
    const char* indicadores;
    bool cerrada;
  } casos[] = {{"1", true}, {"     1", true}, {"9", true}, {"129", true}, {"0", false},
               {"8", false}, {"", false}, {"128", false}};
  for (const auto& c : casos) {
    std::string err;
    const std::string bin = convierte(polyline(c.indicadores), &err);
    if (c.cerrada) {
      EXPECT_EQ(bin, cerrada_nueva) << c.indicadores;
    } else {
      EXPECT_EQ(bin.substr(0, 35), "43 3D 4E 75 65 76 6F 00 00 00 03 00") << c.indicadores;
      EXPECT_EQ(bin.size(), cerrada_nueva.size() - 36) << c.indicadores;
    }
    // Only the polyline's layer is looked up; its vertices' and SEQEND's are not.
    EXPECT_EQ(err, "NUEVA\r\n") << c.indicadores;
  }
}

TEST(ProcesaPolyline, un_70_que_no_es_entero_es_error_13) {
  directorio_prueba d(tabla);
  d.pon("a.dxf", polyline("1.0"));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), tipo_incompatible);
    EXPECT_EQ(e.num_linea(), 8);
  }
}

TEST(procesaVertex, un_vertice_sin_30_tiene_z_0_y_una_x_0_es_un_valor) {
  // The first entity leaves z 7 in every point it used: the polyline must not see it.
  const std::string bin =
      convierte(dibujo({"  0", "POLYLINE", "  8", "CAPA", "  0", "VERTEX", " 10", "1", " 20", "4000001", " 30", "7",
                        "  0", "VERTEX", " 10", "1", " 20", "4000001", " 30", "7", "  0", "SEQEND"}) +
                dibujo({"  0", "POLYLINE", "  8", "CAPA"}) + vertice("0", "4000002", "") + vertice("3", "4000003", "") +
                dibujo({"  0", "SEQEND"}));
  EXPECT_EQ(bin.substr(72 * 3),
            muestra_hex(hex("43 3D 30 31 30 31 00 00 00 00 02 00"
                            "00 00 00 00 D0 07 00 00 00 00 00 00"
                            "B8 0B 00 00 B8 0B 00 00 00 00 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "00 00 00 00 D0 07 00 00 00 00 00 00"
                            "B8 0B 00 00 B8 0B 00 00 00 00 00 00")));
}

TEST(ProcesaPolyline, sin_seqend_acaba_en_la_siguiente_entidad) {
  std::string err;
  const std::string bin = convierte(dibujo({"  0", "POLYLINE", "  8", "CAPA"}) + vertice("1", "4000000", "0") +
                                    dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0",
                                            "  0", "EOF"}),
                                    &err);
  EXPECT_EQ(bin, muestra_hex(hex("43 3D 30 31 30 31 00 00 00 00 01 00"
                                 "E8 03 00 00 00 00 00 00 00 00 00 00"
                                 "E8 03 00 00 00 00 00 00 00 00 00 00"
                                 "14 00 00 00 06 00 00 00 A5 07 00 00"
                                 "E8 03 00 00 00 00 00 00 00 00 00 00"
                                 "43 3D 30 31 30 31 00 00 00 00 01 00"
                                 "DC 05 00 00 CA 08 00 00 00 00 00 00"
                                 "DC 05 00 00 CA 08 00 00 00 00 00 00"
                                 "14 00 00 00 06 00 00 00 A5 07 00 00"
                                 "DC 05 00 00 CA 08 00 00 00 00 00 00")));
}

TEST(ProcesaPolyline, polyline_sin_vertices_y_0_eof_dentro) {
  const std::string vacia = muestra_hex(hex("43 3D 30 31 30 31 00 00 00 00 00 00"
                                            "00 CA 9A 3B 00 CA 9A 3B 00 CA 9A 3B"
                                            "00 00 00 00 00 00 00 00 00 00 00 00"
                                            "14 00 00 00 06 00 00 00 A5 07 00 00"));
  EXPECT_EQ(convierte(dibujo({"  0", "POLYLINE", "  8", "CAPA", " 70", "1", "  0", "SEQEND"})), vacia);
  EXPECT_EQ(convierte(dibujo({"  0", "POLYLINE", "  8", "CAPA", "  0", "EOF", "  0", "POINT"})), vacia);
}

TEST(ProcesaPolyline, cinco_mil_vertices_si_y_el_5001_no) {
  std::string dxf = dibujo({"  0", "POLYLINE", "  8", "CAPA"});
  for (int i = 1; i <= 5000; ++i) dxf += vertice(std::to_string(i), "4000000", "");
  {
    directorio_prueba d(tabla);
    d.pon("a.dxf", dxf + dibujo({"  0", "SEQEND"}));
    d.convierte();
    const std::string bin = d.lee("a.bin");
    ASSERT_EQ(bin.size(), 48u + 12u * 5000u);
    EXPECT_EQ(bin.substr(10, 2), hex("88 13"));                       // 5000
    EXPECT_EQ(bin.substr(bin.size() - 12, 4), hex("40 4B 4C 00"));    // x of the last: 5,000,000
  }
  directorio_prueba d(tabla);
  d.pon("a.dxf", dxf + vertice("5001", "4000000", "") + dibujo({"  0", "SEQEND"}));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), subindice_fuera_de_rango);
    EXPECT_EQ(e.num_linea(), 4 + 5000 * 8 + 2);  // the 0/VERTEX that would be the 5001st
  }
  EXPECT_EQ(d.lee("a.bin"), "");
}

TEST(ProcesaPolyline, el_fin_del_dibujo_dentro_es_error_62) {
  for (const std::string& dxf : {dibujo({"  0", "POLYLINE", "  8", "CAPA"}),
                                 dibujo({"  0", "POLYLINE", "  8", "CAPA", "  0", "VERTEX", " 10", "1"}),
                                 dibujo({"  0", "POLYLINE", "  0", "VERTEX", " 10", "1", " 20", "4000002", "  0", "VERTEX"})}) {
    directorio_prueba d(tabla);
    d.pon("a.dxf", dxf);
    try {
      d.convierte();
      ADD_FAILURE() << dxf;
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), fin_de_fichero) << dxf;
    }
  }
}

TEST(ProcesaPolyline, una_capa_llamada_text_en_la_tabla_de_capas_no_es_un_text) {
  directorio_prueba d(tabla);
  d.pon("a.dxf", dibujo({"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER",
                         "  0", "LAYER", "  2", "TEXT", " 70", "0", " 62", "1",
                         "  0", "LAYER", "  2", "POLYLINE", " 70", "0", "  0", "ENDTAB", "  0", "ENDSEC",
                         "  0", "SECTION", "  2", "ENTITIES", "  0", "POLYLINE", "  8", "TEXT", " 70", "1",
                         "  0", "SEQEND", "  0", "ENDSEC", "  0", "EOF"}));
  d.convierte();
  EXPECT_EQ(d.conv.cuentas().cont_text, 0);
  EXPECT_EQ(d.conv.cuentas().cont_polyline, 1);
  EXPECT_EQ(muestra_hex(d.lee("a.bin")).substr(0, 35), "43 3D 4E 75 65 76 6F 00 00 00 00 00");
  EXPECT_EQ(d.lee("a.err"), "TEXT\r\n");
}

}  // namespace
}  // namespace tolvar::prueba
