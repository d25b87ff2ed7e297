// Malformed code tables. The table is loaded before a drawing's outputs are created, so a bad
// one must fail naming the table and its line and leave what an earlier batch wrote alone.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fiabilidad.h"

namespace tolvar::prueba {
namespace {

std::string repite(std::string_view linea, int veces) {
  std::string s;
  for (int i = 0; i < veces; ++i) s += linea;
  return s;
}

TEST(tablas_malas, fallan_con_su_numero_y_su_linea_sin_tocar_las_salidas) {
  const struct {
    const char* nombre;
    std::optional<std::string> tabla;  // none: the directory has no table
    int numero;
    std::int64_t num_linea;
  } casos[] = {
      {"linea_en_blanco_al_final", "0101 CAPA\r\n\r\n", argumento_no_valido, 2},
      {"linea_en_blanco_en_medio", "0101 CAPA\r\n\r\nA2 RIO\r\n", argumento_no_valido, 2},
      {"tabulador_en_vez_de_espacio", "0101\tCAPA\r\n", argumento_no_valido, 1},
      {"linea_de_espacios", "0101 CAPA\r\n    \r\n", argumento_no_valido, 2},
      {"codigo_sin_texto_de_capa", "0101 CAPA\r\nA2 \r\n", argumento_no_valido, 2},
      {"fines_de_linea_cr", "0101 CAPA\rA2\r", argumento_no_valido, 2},
      {"linea_con_un_nul", std::string("0101 CAPA\r\n\0\r\n", 14), argumento_no_valido, 2},
      {"primer_espacio_en_la_posicion_32767", std::string(32766, 'C') + " CAPA\r\n", desbordamiento,
       1},
      {"32768_lineas", repite("A CAPA\r\n", 32768), desbordamiento, 32768},
      {"linea_de_mas_de_1_mib", "0101 CAPA\r\nA " + std::string(std::size_t{1} << 20, 'x') + "\r\n",
       desbordamiento, 2},
      {"falta_la_tabla", std::nullopt, fichero_no_encontrado, 0},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    directorio_prueba d;
    if (c.tabla) {
      d.pon("dxfbin.tab", *c.tabla);
    } else {
      d.fs.contenido.erase("d/dxfbin.tab");
    }
    d.pon("a.dxf", point_dxf);
    d.pon("b.dxf", point_dxf);
    d.pon("a.bin", "viejo");
    d.pon("a.err", "viejo\r\n");
    const auto e = convierte_con_fallo(d);
    comprueba_fallo(e, c.numero, std::filesystem::path("d") / "dxfbin.tab", c.num_linea);
    EXPECT_EQ(d.lee("a.bin"), "viejo");
    EXPECT_EQ(d.lee("a.err"), "viejo\r\n");
    EXPECT_FALSE(d.existe("b.bin"));
    EXPECT_FALSE(d.existe("b.err"));
  }
}

TEST(tablas_malas, justo_dentro_de_cada_limite_se_carga) {
  const struct {
    const char* nombre;
    std::string tabla;
    std::string bin;
  } casos[] = {
      {"ultima_fila_sin_fin_de_linea", "A1 RIO\r\n0101 CAPA", point_bin},
      {"32767_lineas", repite("A RIO\r\n", 32766) + "0101 CAPA\r\n", point_bin},
      {"primer_espacio_en_la_posicion_32766", std::string(32765, 'C') + " CAPA\r\n",
       hex("43 3D 43 43 43 43 43 43 43 00 01 00"    // C=, the code's first 7 bytes
           "DC 05 00 00 CA 08 00 00 00 00 00 00"
           "DC 05 00 00 CA 08 00 00 00 00 00 00"
           "14 00 00 00 06 00 00 00 A5 07 00 00"
           "DC 05 00 00 CA 08 00 00 00 00 00 00")},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    directorio_prueba d(c.tabla);
    d.pon("a.dxf", point_dxf);
    const auto e = convierte_con_fallo(d);
    ASSERT_FALSE(e.has_value()) << e->what();
    EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(c.bin));
    EXPECT_EQ(d.lee("a.err"), "");
  }
}

}  // namespace
}  // namespace tolvar::prueba
