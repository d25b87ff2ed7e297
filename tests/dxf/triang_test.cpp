#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

std::string convierte(const std::string& dxf, std::string* err = nullptr) {
  return convierte_hex("0101 CAPA\r\n", dxf, err);
}

TEST(ProcesaTriang, esquinas_por_el_ultimo_digito_del_codigo) {
  const std::string tres = muestra_hex(hex(
      "43 3D 54 52 49 41 4E 47 00 00 03 00"
      "E8 03 00 00 A0 86 01 00 00 00 00 00"   // y without offset: 100 -> 100,000
      "B8 0B 00 00 40 0D 03 00 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "E8 03 00 00 A0 86 01 00 00 00 00 00"
      "D0 07 00 00 40 0D 03 00 00 00 00 00"
      "B8 0B 00 00 A0 86 01 00 00 00 00 00"));
  const struct {
    const char* nombre;
    std::string dxf;
  } casos[] = {
      {"esquina_a_esquina", dibujo({"  0", "TRIANG", "  8", "0", " 10", "1", " 20", "100", " 30", "0",
                                    " 11", "2", " 21", "200", " 31", "0", " 12", "3", " 22", "100", " 32", "0",
                                    "  0", "SEQEND"})},
      {"eje_a_eje", dibujo({"  0", "TRIANG", " 10", "1", " 11", "2", " 12", "3", " 20", "100", " 21", "200", " 22", "100",
                            " 30", "0", " 31", "0", " 32", "0", "  0", "EOF"})},
      {"sin_z", dibujo({"  0", "TRIANG", " 62", "0", " 10", "1", " 11", "2", " 12", "3", " 20", "100", " 21", "200",
                        " 22", "100", "  0", "ENDSEC"})},
  };
  for (const auto& c : casos) {
    std::string err;
    EXPECT_EQ(convierte(c.dxf, &err), tres) << c.nombre;
    EXPECT_EQ(err, "") << c.nombre;  // a triangle's layer is never looked up
  }
}

TEST(ProcesaTriang, cuatro_esquinas_hasta_la_mas_alta_nombrada) {
  // Only the fourth corner is named: the three before it are (0, 0, 0).
  EXPECT_EQ(convierte(dibujo({"  0", "TRIANG", " 33", "-1.5", "  0", "EOF"})),
            muestra_hex(hex("43 3D 54 52 49 41 4E 47 00 00 04 00"
                            "00 00 00 00 00 00 00 00 24 FA FF FF"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 00 00 00 00 24 FA FF FF")));
  // No corner at all: a record without points.
  EXPECT_EQ(convierte(dibujo({"  0", "TRIANG", "  8", "0", " 14", "9", " 40", "9", "  0", "EOF"})).substr(0, 35),
            "43 3D 54 52 49 41 4E 47 00 00 00 00");
}

TEST(ProcesaTriang, la_y_no_lleva_desplazamiento) {
  EXPECT_EQ(convierte(dibujo({"  0", "TRIANG", " 10", "0", " 20", "2000000.0", "  0", "EOF"})).substr(48 * 3 + 12, 11),
            "00 94 35 77");
  directorio_prueba d("0101 CAPA\r\n");
  d.pon("a.dxf", dibujo({"  0", "TRIANG", " 10", "0", " 20", "4100000.0", " 30", "0", "  0", "EOF"}));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), desbordamiento);
    EXPECT_EQ(e.num_linea(), 6);
  }
}

TEST(ProcesaTriang, el_fin_del_dibujo_dentro_es_error_62) {
  directorio_prueba d("0101 CAPA\r\n");
  d.pon("a.dxf", dibujo({"  0", "TRIANG", " 10", "0"}));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), fin_de_fichero);
  }
}

TEST(ProcesaTriang, un_text_triang_no_abre_un_triangulo) {
  directorio_prueba d("0101 CAPA\r\n");
  d.pon("a.dxf", dibujo({"  0", "TEXT", "  8", "CAPA", "  1", "TRIANG", " 10", "1", " 20", "4000000",
                         "  0", "EOF"}));
  d.convierte();
  EXPECT_EQ(d.conv.cuentas().cont_triang, 0);
  EXPECT_EQ(d.lee("a.bin").size(), 72u);
}

}  // namespace
}  // namespace tolvar::prueba
