#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

using ::testing::ElementsAre;

// A POINT on layer CAPA (code 0101) at (1.5, 4000002.25, 0): the 60 bytes it becomes.
const std::string point_dxf = dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0"});
const std::string point_bin = hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"   // C=, 0101, atr 0, num_elem 1
    "DC 05 00 00 CA 08 00 00 00 00 00 00"   // minima
    "DC 05 00 00 CA 08 00 00 00 00 00 00"   // maxima
    "14 00 00 00 06 00 00 00 A5 07 00 00"   // 20, 6, 1957
    "DC 05 00 00 CA 08 00 00 00 00 00 00"); // the point

TEST(ProcesoFichero, deriva_los_nombres_de_la_ruta_del_dibujo) {
  const struct {
    const char* dibujo;
    const char* bin;
    const char* err;
  } casos[] = {
      {"a.dxf", "a.bin", "a.err"},
      {"plano.parte.dxf", "plano.parte.bin", "plano.parte.err"},
      {"MAPA.DXF", "MAPA.bin", "MAPA.err"},
      {"b.Dxf", "b.bin", "b.err"},
  };
  for (const auto& c : casos) {
    directorio_prueba d;
    d.pon(c.dibujo, point_dxf);
    d.convierte(c.dibujo);
    EXPECT_EQ(d.lee(c.bin), point_bin) << c.dibujo;
    EXPECT_EQ(d.lee(c.err), "") << c.dibujo;
    EXPECT_EQ(d.conv.estado().fich_tab.generic_string(), "d/dxfbin.tab");
  }
}

TEST(ProcesoFichero, muestra_ceros_espera_y_al_final_cuentas_y_ficheros) {
  directorio_prueba d;
  d.pon("a.dxf", dibujo({"  0", "SECTION", "  2", "ENTITIES",
                         "  0", "POLYLINE", "  8", "CAPA", "  0", "VERTEX", " 10", "1", " 20", "4000000", "  0", "SEQEND",
                         "  0", "POINT", "  8", "CAPA", " 10", "1", " 20", "4000000", " 30", "0",
                         "  0", "TEXT", "  8", "CAPA", "  1", "A",
                         "  0", "TEXT", "  8", "CAPA", "  1", "B",
                         "  0", "TRIANG", " 10", "1", " 20", "2", " 30", "3",
                         "  0", "ENDSEC", "  0", "EOF"}));
  d.convierte();
  EXPECT_THAT(d.vista.llamadas,
              ElementsAre("espera", "contadores 0 0 0", "contadores 1 1 2",
                          "Creado el fichero : d/a.bin", "Creado el fichero : d/a.err", "fin", "normal"));
  EXPECT_EQ(d.conv.cuentas().cont_triang, 1);
}

TEST(ProcesoFichero, solo_un_grupo_0_nombra_una_entidad) {
  directorio_prueba d;
  // A layer called TEXT in the layer table, a string "POINT", a POINT with spaces around it
  // in a group 0 (trimmed, so counted) and a lower-case point (not counted).
  d.pon("a.dxf", dibujo({"  0", "TABLE", "  2", "LAYER", "  0", "LAYER", "  2", "TEXT", " 70", "0", "  0", "ENDTAB",
                         "  0", "TEXT", "  8", "CAPA", " 10", "0", " 20", "4000000", "  1", "POINT",
                         "  0", " POINT ", "  8", "CAPA", " 10", "0", " 20", "4000000", " 30", "0",
                         "  0", "point", " 10", "5",
                         "  0", "EOF"}));
  d.convierte();
  EXPECT_EQ(d.conv.cuentas().cont_text, 1);
  EXPECT_EQ(d.conv.cuentas().cont_point, 1);
  EXPECT_EQ(d.conv.cuentas().cont_polyline, 0);
}

TEST(ProcesoFichero, un_dibujo_sin_entidades_da_ficheros_vacios_y_ceros) {
  for (const std::string& contenido : {dibujo({"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC", "  0", "EOF"}),
                                      std::string("\r\n"), std::string("\n\n  \n")}) {
    directorio_prueba d;
    d.pon("a.dxf", contenido);
    d.convierte();
    EXPECT_EQ(d.lee("a.bin"), "");
    EXPECT_EQ(d.lee("a.err"), "");
    EXPECT_THAT(d.vista.llamadas, ::testing::Contains("contadores 0 0 0"));
    EXPECT_EQ(d.vista.llamadas.back(), "normal");
  }
}

TEST(ProcesoFichero, convertir_dos_veces_deja_solo_lo_de_la_segunda) {
  directorio_prueba d;
  d.pon("a.dxf", point_dxf);
  d.pon("a.bin", "basura de una conversion anterior, mas larga que el resultado......................");
  d.pon("a.err", "CAPA VIEJA\r\n");
  d.convierte();
  d.convierte();
  EXPECT_EQ(d.lee("a.bin"), point_bin);
  EXPECT_EQ(d.lee("a.err"), "");
}

TEST(ProcesoFichero, cada_dibujo_empieza_de_cero) {
  // The first drawing leaves a text height, a layer code and a point behind; the second has a
  // text without height and a point without layer: neither may take what the first left.
  directorio_prueba d("0101 CAPA\r\n0000 0\r\n");
  d.pon("a.dxf", dibujo({"  0", "TEXT", "  8", "CAPA", " 10", "7", " 20", "4000007", " 30", "7", " 40", "2.5", "  1", "A",
                         "  0", "EOF"}));
  d.pon("b.dxf", dibujo({"  0", "TEXT", "  8", "CAPA", "  1", "B", "  0", "POINT", " 30", "1", "  0", "EOF"}));
  d.convierte();
  EXPECT_EQ(muestra_hex(d.lee("b.bin")),
            muestra_hex(hex("54 3D 30 31 30 31 00 00 00 00 02 00"   // T=0101, two units
                            "00 00 00 00 00 00 00 00 00 00 00 00"   // minima: the point (0, 0, 0)
                            "00 00 00 00 00 00 00 00 00 00 00 00"   // maxima: no width, no height
                            "00 00 00 00 00 00 00 00 00 00 00 00"   // height 0
                            "00 00 00 00 00 00 00 00 00 00 00 00"   // insertion point
                            "42 00 20 20 20 20 20 20 20 20 20 20"   // B
                            "43 3D 30 30 30 30 00 00 00 00 01 00"   // C=0000: layer "0"
                            "00 00 00 00 00 00 00 00 E8 03 00 00"
                            "00 00 00 00 00 00 00 00 E8 03 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "00 00 00 00 00 00 00 00 E8 03 00 00")));
}

TEST(ProcesoFichero, sin_tabla_falla_con_53_antes_de_crear_las_salidas) {
  directorio_prueba d;
  d.fs.contenido.erase("d/dxfbin.tab");
  d.pon("a.dxf", point_dxf);
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), fichero_no_encontrado);
    EXPECT_EQ(e.fichero().generic_string(), "d/dxfbin.tab");
  }
  EXPECT_FALSE(d.existe("a.bin"));
  EXPECT_FALSE(d.existe("a.err"));
}

TEST(ProcesoFichero, un_dibujo_de_cero_bytes_falla_con_62_y_deja_salidas_vacias) {
  directorio_prueba d;
  d.pon("a.dxf", "");
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), fin_de_fichero);
    EXPECT_EQ(e.fichero().generic_string(), "d/a.dxf");
  }
  EXPECT_EQ(d.lee("a.bin"), "");
  EXPECT_EQ(d.lee("a.err"), "");
}

TEST(ProcesoFichero, un_fallo_a_medio_dibujo_conserva_los_registros_anteriores) {
  directorio_prueba d;
  d.pon("a.dxf", point_dxf + dibujo({"  0", "POINT", " 10", "12,5"}));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), tipo_incompatible);
    EXPECT_EQ(e.num_linea(), 14);
    EXPECT_EQ(e.what(),
              nativa("Error 13 (type mismatch): \"12,5\" is not a number -- d/a.dxf, line 14"));
  }
  EXPECT_EQ(d.lee("a.bin"), point_bin);
}

TEST(ProcesoFichero, los_errores_del_disco_no_se_callan) {
  const struct {
    const char* nombre;
    void (*prepara)(ficheros_memoria&);
    int numero;
    const char* fichero;
  } casos[] = {
      {"err_no_creable", [](ficheros_memoria& fs) { fs.no_creables.insert("d/a.err"); }, permiso_denegado, "d/a.err"},
      {"bin_no_borrable", [](ficheros_memoria& fs) { fs.pon("d/a.bin", "x"); fs.no_borrables.insert("d/a.bin"); },
       permiso_denegado, "d/a.bin"},
      {"disco_lleno_al_escribir", [](ficheros_memoria& fs) { fs.escritura_fallida["d/a.bin"] = 2; }, disco_lleno, "d/a.bin"},
      {"disco_lleno_al_cerrar", [](ficheros_memoria& fs) { fs.cierre_fallido.insert("d/a.bin"); }, disco_lleno, "d/a.bin"},
  };
  for (const auto& c : casos) {
    directorio_prueba d;
    d.pon("a.dxf", point_dxf + point_dxf);
    c.prepara(d.fs);
    try {
      d.convierte();
      ADD_FAILURE() << c.nombre << ": reported success";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.nombre;
      EXPECT_EQ(e.fichero().generic_string(), c.fichero) << c.nombre;
    }
    EXPECT_EQ(std::count(d.vista.llamadas.begin(), d.vista.llamadas.end(), "fin"), 0) << c.nombre;
  }
}

// Every failure the conversion raises has its Spanish wording, for the window and a Spanish
// terminal; the English one stays what() and the default.
TEST(ProcesoFichero, cada_fallo_tiene_su_mensaje_en_espanol) {
  const struct {
    const char* tabla;
    std::string dibujo;
    const char* mensaje;
  } casos[] = {
      {"0101 CAPA\r\n", dibujo({"  0", "POINT", " 10", "12,5"}),
       "Error 13 (tipos no coinciden): \"12,5\" no es un número -- d/a.dxf, línea 4"},
      {"0101 CAPA\r\n", dibujo({"  0", "POINT", " 10", "1e400"}),
       "Error 6 (desbordamiento): \"1e400\" es demasiado grande -- d/a.dxf, línea 4"},
      {"0101 CAPA\r\n", dibujo({"  0", "POINT", " 20", "9000000"}),
       "Error 6 (desbordamiento): la coordenada \"9000000\" queda fuera de 32 bits al escalarla -- "
       "d/a.dxf, línea 4"},
      {"0101 CAPA\r\n", dibujo({"  0", "TEXT", "  1", std::string(32768, 'A')}),
       "Error 6 (desbordamiento): texto de 32768 caracteres, más de 32.767 -- d/a.dxf, línea 2"},
      {"0101 CAPA\r\n", dibujo({"  0", "POLYLINE", " 70", "x"}),
       "Error 13 (tipos no coinciden): \"x\" no es un número entero -- d/a.dxf, línea 4"},
      {"0101 CAPA\r\n", dibujo({"  0", "POLYLINE", " 10"}),
       "Error 62 (se ha leído más allá del final del fichero): el código de grupo 10 no tiene línea "
       "de valor -- d/a.dxf, línea 3"},
      {"0101 CAPA\r\n", dibujo({"  0", "TRIANG"}),
       "Error 62 (se ha leído más allá del final del fichero): el dibujo termina dentro de un "
       "TRIANG -- d/a.dxf, línea 2"},
      {"0101 CAPA\r\n", dibujo({"0", "POINT", "1O", "1"}),
       "Error 13 (tipos no coinciden): \"1O\" no es un código de grupo -- d/a.dxf, línea 3"},
      {"0101 CAPA\r\n", "",
       "Error 62 (se ha leído más allá del final del fichero): el dibujo está vacío -- d/a.dxf"},
      {"0101\r\n", "",
       "Error 5 (argumento no válido): \"0101\" no es un código, un espacio y un texto de capa -- "
       "d/dxfbin.tab, línea 1"},
  };
  for (const auto& c : casos) {
    directorio_prueba d(c.tabla);
    d.pon("a.dxf", c.dibujo);
    try {
      d.convierte();
      ADD_FAILURE() << c.mensaje;
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.mensaje(idioma::espanol), nativa(c.mensaje));
      EXPECT_EQ(e.mensaje(idioma::ingles), e.what());
    }
  }
}

}  // namespace
}  // namespace tolvar::prueba
