// Sections: the BLOCKS section defines symbols and is not the map; what the main loop passes
// over is counted by name.
#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

constexpr std::string_view tabla = "0101 CAPA\r\n";

// The point (1.5, 4000002.25, 0) on CAPA.
const std::string point_0101 = hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00");
const std::string point = dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0"});
// A symbol drawn around 0,0: read as map features its northings would not fit in 32 bits.
const std::string bloque = dibujo({"  0", "BLOCK", "  8", "0", "  2", "POZO", "  0", "POINT", "  8", "SIMBOLO",
                                   " 10", "0", " 20", "0", " 30", "0", "  0", "TEXT", "  8", "SIMBOLO", "  1", "P",
                                   "  0", "LINE", "  0", "ENDBLK"});

TEST(secciones, lo_que_define_un_bloque_no_se_convierte) {
  const struct {
    const char* nombre;
    std::string dxf;
    std::string bin;
    int points;
    const char* omitidas;
  } casos[] = {
      {"bloques_y_entidades",
       dibujo({"  0", "SECTION", "  2", "BLOCKS"}) + bloque + dibujo({"  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"}) +
           point + dibujo({"  0", "INSERT", "  2", "POZO", "  0", "ENDSEC", "  0", "EOF"}),
       point_0101, 1, "1 INSERT"},
      // Without a name the section is none of the two: its entities are read all the same,
      // what it holds besides is no news.
      {"seccion_sin_nombre", dibujo({"  0", "SECTION", "  0", "CIRCLE"}) + point + dibujo({"  0", "ENDSEC", "  0", "LINE"}),
       point_0101, 1, "1 LINE"},
      {"blocks_en_minusculas_no_es_blocks",
       dibujo({"  0", "SECTION", "  2", "blocks"}) + point + dibujo({"  0", "ENDSEC"}), point_0101, 1, ""},
      {"entidades_fuera_de_toda_seccion", point + dibujo({"  0", "ARC"}) + point, point_0101 + point_0101, 2, "1 ARC"},
      {"eof_dentro_de_blocks",
       point + dibujo({"  0", "SECTION", "  2", "BLOCKS"}) + bloque + dibujo({"  0", "EOF"}) + point, point_0101, 1, ""},
      {"fin_de_los_datos_dentro_de_blocks", point + dibujo({"  0", "SECTION", "  2", "BLOCKS", "  0", "POINT", " 10"}, "\r\n") +
                                                "1\r\n",
       point_0101, 1, ""},
  };
  for (const auto& c : casos) {
    directorio_prueba d(tabla);
    d.pon("a.dxf", c.dxf);
    d.convierte();
    EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(c.bin)) << c.nombre;
    EXPECT_EQ(d.lee("a.err"), "") << c.nombre;  // no layer of a block is looked up
    EXPECT_EQ(d.conv.cuentas().cont_point, c.points) << c.nombre;
    EXPECT_EQ(d.conv.cuentas().cont_text, 0) << c.nombre;
    EXPECT_EQ(d.conv.cuentas().omitidas.texto(), c.omitidas) << c.nombre;
  }
}

TEST(secciones, dentro_de_blocks_los_grupos_se_leen_aun) {
  const struct {
    const char* nombre;
    std::string dxf;
    int numero;
    std::int64_t linea;
  } casos[] = {
      {"codigo_no_numerico", dibujo({"  0", "SECTION", "  2", "BLOCKS", "1O", "x"}), tipo_incompatible, 5},
      {"codigo_sin_valor", dibujo({"  0", "SECTION", "  2", "BLOCKS", "  0"}), fin_de_fichero, 5},
  };
  for (const auto& c : casos) {
    directorio_prueba d(tabla);
    d.pon("a.dxf", c.dxf);
    try {
      d.convierte();
      ADD_FAILURE() << c.nombre;
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.nombre;
      EXPECT_EQ(e.num_linea(), c.linea) << c.nombre;
    }
  }
}

TEST(secciones, se_cuentan_los_grupos_0_no_leidos_fuera_de_otras_secciones) {
  directorio_prueba d(tabla);
  // HEADER, TABLES and OBJECTS hold group 0s of their own, which are no entities; VERTEX,
  // SEQEND and ATTRIB belong to the entity before them; an empty value counts by its name.
  d.pon("a.dxf", dibujo({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  0", "ENDSEC",
                         "  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER", "  0", "LAYER", "  2",
                         "CAPA", "  0", "ENDTAB", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES", "  0",
                         "LINE", "  0", "  LINE  ", "  0", "line", "  0", "", "  0", "VERTEX", "  0", "SEQEND", "  0",
                         "ATTRIB", "  0", "HATCH", "  0", "ENDSEC", "  0", "SECTION", "  2", "OBJECTS", "  0",
                         "DICTIONARY", "  0", "ENDSEC", "  0", "EOF"}));
  d.convierte();
  EXPECT_EQ(d.conv.cuentas().omitidas.texto(), "2 LINE, 1 , 1 HATCH, 1 line");
  EXPECT_EQ(d.lee("a.bin"), "");
}

}  // namespace
}  // namespace tolvar::prueba
