#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

constexpr std::string_view tabla = "0101 CAPA\r\nCERO 0\r\n";

std::string convierte(const std::string& dxf, std::string* err = nullptr) {
  return convierte_hex(tabla, dxf, err);
}

// The point (1.5, 4000002.25, 0) of layer CAPA, as a whole 60-byte record.
const std::string point_0101 = muestra_hex(hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"));

TEST(ProcesaPoint, lee_los_grupos_del_point_hasta_el_siguiente_grupo_0) {
  const struct {
    const char* nombre;
    std::string dxf;
  } casos[] = {
      {"ordinario", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0", "  0", "EOF"})},
      {"grupos_en_otro_orden", dibujo({"0", "POINT", "30", "0.0", "20", "4000002.25", "8", "CAPA", "10", "1.5"})},
      // A colour 30 is a colour, not a Z; an X written "0" is a value; the last of a group wins.
      {"valores_que_parecen_codigos",
       dibujo({"  0", "POINT", "  8", "CAPA", " 62", "30", " 10", "0", " 10", "1.5", " 20", "4000002.25", " 30", "0"})},
      {"capa_tras_la_z", dibujo({"  0", "POINT", " 10", "1.5", " 20", "4000002.25", " 30", "0", "  8", "CAPA"})},
      {"valor_sin_usar_que_no_es_numero",
       dibujo({"  0", "POINT", "  8", "CAPA", " 62", "rojo", " 10", "1.5", " 20", "4000002.25", " 30", "0", " 39", "x"})},
      {"fin_de_fichero_tras_la_z", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0"})},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(c.dxf), point_0101) << c.nombre;
}

TEST(ProcesaPoint, un_point_en_la_capa_0_se_escribe_con_su_codigo) {
  std::string err;
  EXPECT_EQ(convierte(dibujo({"  0", "POINT", "  8", "0", " 62", "0", " 10", "0", " 20", "4000000", " 30", "0"}), &err),
            muestra_hex(hex("43 3D 43 45 52 4F 00 00 00 00 01 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00")));
  EXPECT_EQ(err, "");
}

TEST(ProcesaPoint, sin_capa_propia_va_a_la_capa_0_y_no_hereda) {
  std::string err;
  const std::string bin = convierte(dibujo({"  0", "POINT", "  8", "OTRA", " 10", "1", " 20", "4000000", " 30", "1",
                                            "  0", "POINT", " 30", "2"}), &err);
  EXPECT_EQ(bin.substr(0, 35), "43 3D 4E 75 65 76 6F 00 00 00 01 00");   // Nuevo
  EXPECT_EQ(bin.substr(180, 35), "43 3D 43 45 52 4F 00 00 00 00 01 00"); // CERO: layer "0"
  // Coordinates not given are 0, without the offset.
  EXPECT_EQ(bin.substr(180 + 144, 35), "00 00 00 00 00 00 00 00 D0 07 00 00");
  EXPECT_EQ(err, "OTRA\r\n");
}

TEST(ProcesaPoint, un_point_sin_z_se_cuenta_y_no_se_escribe) {
  directorio_prueba d(tabla);
  d.pon("a.dxf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1", " 20", "4000000",
                         "  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0", "  0", "EOF"}));
  d.convierte();
  EXPECT_EQ(muestra_hex(d.lee("a.bin")), point_0101);
  EXPECT_EQ(d.conv.cuentas().cont_point, 2);
}

TEST(ProcesaPoint, el_fin_del_dibujo_antes_de_la_z_es_error_62) {
  directorio_prueba d(tabla);
  d.pon("a.dxf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1"}));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), fin_de_fichero);
    EXPECT_EQ(e.num_linea(), 6);
  }
}

// A TEXT "ABC" of height 2.5 at (1.5, 4000002.25, 0) on CAPA.
const std::string text_abc = muestra_hex(hex(
    "54 3D 30 31 30 31 00 00 00 00 02 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "28 23 00 00 8E 12 00 00 00 00 00 00"
    "C4 09 00 00 00 00 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "41 42 43 00 20 20 20 20 20 20 20 20"));

TEST(ProcesaText, lee_los_grupos_del_text_hasta_el_siguiente_grupo_0) {
  const struct {
    const char* nombre;
    std::string dxf;
  } casos[] = {
      {"ordinario", dibujo({"  0", "TEXT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0", " 40", "2.5",
                            "  1", "ABC", " 50", "0", "  7", "STANDARD", "  0", "EOF"})},
      // A red text: colour 1 is a value, not the string.
      {"texto_rojo", dibujo({"  0", "TEXT", "  8", "CAPA", " 62", "1", " 10", "1.5", " 20", "4000002.25", " 30", "0",
                             " 40", "2.5", "  1", "ABC"})},
      {"altura_escrita_1_no_es_codigo",
       dibujo({"  0", "TEXT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0", " 40", "1", " 40", "2.5",
               "  1", "ABC"})},
      {"grupo_1_antes_de_las_coordenadas",
       dibujo({"  0", "TEXT", "  1", "ABC", "  8", "CAPA", " 40", "2.5", " 10", "1.5", " 20", "4000002.25"})},
      {"espacios_alrededor", dibujo({"  0", "TEXT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 40", "2.5",
                                     "  1", "   ABC  "})},
  };
  for (const auto& c : casos) EXPECT_EQ(convierte(c.dxf), text_abc) << c.nombre;
}

TEST(ProcesaText, el_texto_se_guarda_entero_salvo_el_punto_solo) {
  const struct {
    std::string valor;
    std::string unidades;
  } casos[] = {
      {"Casa, ruinas", "43 61 73 61 2C 20 72 75 69 6E 61 73"},
      {"\"Rio\" 2", "22 52 69 6F 22 20 32 00 20 20 20 20"},
      {".", "78 00 20 20 20 20 20 20 20 20 20 20"},
      {" . ", "78 00 20 20 20 20 20 20 20 20 20 20"},
      {"..", "2E 2E 00 20 20 20 20 20 20 20 20 20"},
      {"TRIANG", "54 52 49 41 4E 47 00 20 20 20 20 20"},
  };
  for (const auto& c : casos) {
    directorio_prueba d(tabla);
    d.pon("a.dxf", dibujo({"  0", "TEXT", "  8", "CAPA", "  1"}) + c.valor + "\r\n" +
                       dibujo({" 10", "0", "  0", "EOF"}));
    d.convierte();
    const std::string bin = muestra_hex(d.lee("a.bin"));
    EXPECT_EQ(bin.substr(180), c.unidades) << c.valor;
    EXPECT_EQ(d.conv.cuentas().cont_triang, 0) << c.valor;
  }
}

TEST(ProcesaText, sin_altura_toma_la_del_texto_anterior_del_dibujo) {
  const std::string bin = convierte(dibujo({"  0", "TEXT", "  8", "CAPA", " 40", "2.5", "  1", "A",
                                            "  0", "TEXT", "  8", "CAPA", "  1", "B"}));
  EXPECT_EQ(bin.substr(72 * 3 + 36 * 3, 11), "C4 09 00 00");  // dato1 of the second: 2500
}

TEST(ProcesaText, sin_grupo_1_el_texto_esta_vacio) {
  EXPECT_EQ(convierte(dibujo({"  0", "TEXT", "  8", "CAPA", " 40", "1", "  0", "POINT", "  8", "CAPA", " 30", "0"})),
            muestra_hex(hex("54 3D 30 31 30 31 00 00 00 00 01 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 E8 03 00 00 00 00 00 00"
                            "E8 03 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "43 3D 30 31 30 31 00 00 00 00 01 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "00 00 00 00 00 00 00 00 00 00 00 00")));
}

TEST(ProcesaText, errores_del_text) {
  const struct {
    const char* nombre;
    std::string dxf;
    int numero;
    std::int64_t num_linea;
  } casos[] = {
      {"fin_antes_del_grupo_1", dibujo({"  0", "TEXT", "  8", "CAPA", " 40", "2"}), fin_de_fichero, 6},
      {"altura_con_coma", dibujo({"  0", "TEXT", " 40", "2,5", "  1", "A"}), tipo_incompatible, 4},
      {"altura_vacia", dibujo({"  0", "TEXT", " 40", "", "  1", "A"}), tipo_incompatible, 4},
      {"y_fuera_de_rango", dibujo({"  0", "TEXT", " 20", "6147483.648", "  1", "A"}), desbordamiento, 4},
  };
  for (const auto& c : casos) {
    directorio_prueba d(tabla);
    d.pon("a.dxf", c.dxf);
    try {
      d.convierte();
      ADD_FAILURE() << c.nombre;
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.nombre;
      EXPECT_EQ(e.num_linea(), c.num_linea) << c.nombre;
      EXPECT_EQ(e.fichero().generic_string(), "d/a.dxf") << c.nombre;
    }
    EXPECT_EQ(d.lee("a.bin"), "") << c.nombre;
  }
}

TEST(ProcesaText, capa_vacia_se_busca_y_se_lista) {
  std::string err;
  const std::string bin = convierte(dibujo({"  0", "TEXT", "  8", "", "  1", "A"}), &err);
  EXPECT_EQ(bin.substr(0, 35), "54 3D 4E 75 65 76 6F 00 00 00 02 00");
  EXPECT_EQ(err, "\r\n");
}

}  // namespace
}  // namespace tolvar::prueba
