#include <gtest/gtest.h>

#include "core/error_conversion.h"
#include "output/registro.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

// The entity state as a reader leaves it, for the writer alone.
estado_conversion entidad(std::string codigo, std::vector<tipo_punto> puntos, bool cerrado = false) {
  estado_conversion e;
  e.codigo = std::move(codigo);
  for (std::size_t i = 0; i < puntos.size(); ++i) e.puntos[i + 1] = puntos[i];
  e.num_puntos = static_cast<std::int32_t>(puntos.size());
  e.elem_cerrado = cerrado;
  return e;
}

estado_conversion texto(std::string codigo, std::string t, double altura, tipo_punto p) {
  estado_conversion e = entidad(std::move(codigo), {p});
  e.EsTexto = true;
  e.texto = std::move(t);
  e.AlturaTexto = altura;
  return e;
}

std::string registro_de(estado_conversion e, bool atributo = false) {
  std::string r;
  compone_registro(e, atributo, r);
  return muestra_hex(r);
}

const tipo_punto en_1500_2250{1500, 2250, 0};

TEST(GrabaEntidad, point_del_ejemplo_sin_y_con_atributo) {
  const std::string sin = hex(
      "43 3D 30 31 30 31 00 00 00 00 01 00"
      "DC 05 00 00 CA 08 00 00 00 00 00 00"
      "DC 05 00 00 CA 08 00 00 00 00 00 00"
      "14 00 00 00 06 00 00 00 A5 07 00 00"
      "DC 05 00 00 CA 08 00 00 00 00 00 00");
  EXPECT_EQ(registro_de(entidad("0101", {en_1500_2250})), muestra_hex(sin));
  std::string con = sin;
  con[9] = 1;
  con += hex("01 00 00 00 00 00 32 30 31 20 20 20");
  EXPECT_EQ(registro_de(entidad("0101", {en_1500_2250}), true), muestra_hex(con));
}

TEST(GrabaEntidad, text_abc_del_ejemplo) {
  EXPECT_EQ(registro_de(texto("0101", "ABC", 2500.0, en_1500_2250)),
            muestra_hex(hex("54 3D 30 31 30 31 00 00 00 00 02 00"
                            "DC 05 00 00 CA 08 00 00 00 00 00 00"
                            "28 23 00 00 8E 12 00 00 00 00 00 00"   // 3 x 2500 + 1500, 2250 + 2500
                            "C4 09 00 00 00 00 00 00 00 00 00 00"
                            "DC 05 00 00 CA 08 00 00 00 00 00 00"
                            "41 42 43 00 20 20 20 20 20 20 20 20")));
}

TEST(GrabaEntidad, polyline_cerrada_del_ejemplo_en_capa_nueva) {
  EXPECT_EQ(registro_de(entidad("Nuevo", {{10000, 10000, 1000}, {20000, 10000, 2000}, {20000, 20000, 3000}}, true)),
            muestra_hex(hex("43 3D 4E 75 65 76 6F 00 00 00 04 00"
                            "10 27 00 00 10 27 00 00 E8 03 00 00"
                            "20 4E 00 00 20 4E 00 00 B8 0B 00 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "10 27 00 00 10 27 00 00 E8 03 00 00"
                            "20 4E 00 00 10 27 00 00 D0 07 00 00"
                            "20 4E 00 00 20 4E 00 00 B8 0B 00 00"
                            "10 27 00 00 10 27 00 00 E8 03 00 00")));
}

TEST(completa_codigo, recorta_y_rellena_con_nulos_hasta_siete) {
  const struct {
    std::string entrada, salida;
  } casos[] = {
      {"", std::string(7, '\0')},
      {"Nuevo", std::string("Nuevo\0\0", 7)},
      {"TRIANG", std::string("TRIANG\0", 7)},
      {"VI00001", "VI00001"},
      {"VI0000123", "VI0000123"},  // kept whole; the header takes seven
      {"  A1 ", std::string("A1\0\0\0\0\0", 7)},
      {"\tA", std::string("\tA\0\0\0\0\0", 7)},
  };
  for (const auto& c : casos) {
    std::string s = c.entrada;
    completa_codigo(s);
    EXPECT_EQ(s, c.salida) << c.entrada;
  }
  std::string largo(32768, 'x');
  EXPECT_THROW(completa_codigo(largo), error_conversion);
}

TEST(GrabaEntidad, campo_cod_de_la_cabecera) {
  const struct {
    const char* codigo;
    const char* cabecera;
  } casos[] = {
      {"", "43 3D 00 00 00 00 00 00 00 00 01 00"},
      {"Nuevo", "43 3D 4E 75 65 76 6F 00 00 00 01 00"},
      {"TRIANG", "43 3D 54 52 49 41 4E 47 00 00 01 00"},
      {"VI00001", "43 3D 56 49 30 30 30 30 31 00 01 00"},
      {"VI0000123", "43 3D 56 49 30 30 30 30 31 00 01 00"},
      {" A ", "43 3D 41 00 00 00 00 00 00 00 01 00"},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(registro_de(entidad(c.codigo, {en_1500_2250})).substr(0, 35), c.cabecera) << c.codigo;
  }
}

TEST(GrabaEntidad, unidades_de_texto) {
  const struct {
    const char* nombre;
    std::string texto;
    const char* num_elem;       // bytes 10-11
    std::string unidades;       // after the insertion point
    const char* xmax;           // bytes 24-27 with height 1000 and xmin 1500
  } casos[] = {
      {"doce", "ABCDEFGHIJKL", "02 00", "41 42 43 44 45 46 47 48 49 4A 4B 4C", "BC 34 00 00"},
      {"trece", "ABCDEFGHIJKLM", "03 00",
       "41 42 43 44 45 46 47 48 49 4A 4B 4C\n4D 00 20 20 20 20 20 20 20 20 20 20", "A4 38 00 00"},
      {"veinticuatro", "ABCDEFGHIJKLMNOPQRSTUVWX", "03 00",
       "41 42 43 44 45 46 47 48 49 4A 4B 4C\n4D 4E 4F 50 51 52 53 54 55 56 57 58", "9C 63 00 00"},
      {"vacio", "", "01 00", "", "DC 05 00 00"},
      {"solo_espacios", "    ", "01 00", "", "DC 05 00 00"},
      {"espacios_fuera", "  AB  ", "02 00", "41 42 00 20 20 20 20 20 20 20 20 20", "AC 0D 00 00"},
      {"nulo_ya_puesto", std::string("AB\0", 3), "02 00", "41 42 00 00 20 20 20 20 20 20 20 20", "94 11 00 00"},
  };
  for (const auto& c : casos) {
    const std::string r = registro_de(texto("0101", c.texto, 1000.0, en_1500_2250));
    EXPECT_EQ(r.substr(30, 5), c.num_elem) << c.nombre;
    EXPECT_EQ(r.substr(36 + 36, 11), c.xmax) << c.nombre;
    EXPECT_EQ(r.size() > 5 * 36 ? r.substr(5 * 36) : "", c.unidades) << c.nombre;
  }
}

TEST(GrabaEntidad, caja_del_texto_redondeada_a_par) {
  const struct {
    double altura;
    const char* ymax;         // bytes 28-31
    const char* xmax;
  } casos[] = {
      {2.5, "CC 08 00 00", "DE 05 00 00"},   // ymax 2252.5 -> 2252; xmax 1502.5 -> 1502
      {3.5, "CE 08 00 00", "E0 05 00 00"},   // 2253.5 -> 2254; 1503.5 -> 1504
  };
  for (const auto& c : casos) {
    const std::string r = registro_de(texto("0101", "A", c.altura, en_1500_2250));
    EXPECT_EQ(r.substr(36 + 36 + 12, 11), c.ymax) << c.altura;
    EXPECT_EQ(r.substr(36 + 36, 11), c.xmax) << c.altura;
  }
  // Ten characters at 2500: 25,000 wide.
  EXPECT_EQ(registro_de(texto("0101", "ABCDEFGHIJ", 2500.0, en_1500_2250)).substr(72, 11), "84 67 00 00");
  // dato1 itself: 2 for 2.5, 4 for 3.5
  EXPECT_EQ(registro_de(texto("0101", "A", 2.5, en_1500_2250)).substr(108, 11), "02 00 00 00");
  EXPECT_EQ(registro_de(texto("0101", "A", 3.5, en_1500_2250)).substr(108, 11), "04 00 00 00");
}

TEST(GrabaEntidad, extension_con_sus_valores_de_partida) {
  // Negative z: zmin is it, zmax stays 0. x over 1e9: xmin stays 1e9.
  EXPECT_EQ(registro_de(entidad("A", {{1500000000, 5, -7}})).substr(36, 107),
            "00 CA 9A 3B 05 00 00 00 F9 FF FF FF\n"
            "00 2F 68 59 05 00 00 00 00 00 00 00\n"
            "14 00 00 00 06 00 00 00 A5 07 00 00");
  // No vertices: the start values, num_elem 0, and nothing after the block, closed or not.
  for (const bool cerrado : {false, true}) {
    EXPECT_EQ(registro_de(entidad("A", {}, cerrado)),
              muestra_hex(hex("43 3D 41 00 00 00 00 00 00 00 00 00"
                              "00 CA 9A 3B 00 CA 9A 3B 00 CA 9A 3B"
                              "00 00 00 00 00 00 00 00 00 00 00 00"
                              "14 00 00 00 06 00 00 00 A5 07 00 00")))
        << cerrado;
  }
}

TEST(GrabaEntidad, atributo_en_todo_tipo_de_registro_tras_el_texto) {
  const std::string r = registro_de(texto("0101", "ABC", 2500.0, en_1500_2250), true);
  EXPECT_EQ(r.substr(27, 2), "01");
  EXPECT_EQ(r.substr(r.size() - 71), "41 42 43 00 20 20 20 20 20 20 20 20\n01 00 00 00 00 00 32 30 31 20 20 20");
  const std::string c = registro_de(entidad("A", {{1, 2, 3}, {4, 5, 6}}, true), true);
  EXPECT_EQ(c.substr(27, 8), "01 03 00");
  EXPECT_EQ(c.substr(c.size() - 35), "01 00 00 00 00 00 32 30 31 20 20 20");
}

TEST(GrabaEntidad, los_desbordamientos_no_dejan_nada_escrito) {
  const struct {
    const char* nombre;
    estado_conversion e;
  } casos[] = {
      {"texto_de_32768", texto("A", std::string(32768, 'x'), 1.0, {0, 0, 0})},
      {"altura_enorme", texto("A", "x", 3e9, {0, 0, 0})},
      {"ancho_enorme", texto("A", std::string(1000, 'x'), 3e6, {0, 0, 0})},
      {"alto_enorme", texto("A", "x", 2e9, {0, 2000000000, 0})},
  };
  for (const auto& c : casos) {
    estado_conversion e = c.e;
    std::string r = "sin tocar";
    try {
      compone_registro(e, false, r);
      ADD_FAILURE() << c.nombre;
    } catch (const error_conversion& err) {
      EXPECT_EQ(err.numero(), desbordamiento) << c.nombre;
    }
  }
  // 32,767 characters are the longest text, the spaces around it not counted: 1 point and
  // 2,731 units, the last with 7 characters, the NUL and spaces.
  estado_conversion e = texto("A", "  " + std::string(32767, 'x') + " ", 1.0, {0, 0, 0});
  std::string r;
  compone_registro(e, false, r);
  EXPECT_EQ(r.size(), 48u + 12u * 2732u);
  EXPECT_EQ(r.substr(10, 2), hex("AC 0A"));
  EXPECT_EQ(r.substr(r.size() - 12), std::string("xxxxxxx\0    ", 12));
}

TEST(GrabaEntidad, un_registro_roto_no_llega_al_fichero) {
  directorio_prueba d;
  d.pon("a.dxf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0",
                         "  0", "TEXT", "  8", "CAPA", " 40", "3000000", "  1", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}));
  try {
    d.convierte();
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), desbordamiento);
    EXPECT_EQ(e.num_linea(), 12);  // where the TEXT starts
  }
  EXPECT_EQ(d.lee("a.bin").size(), 60u);
}

TEST(GrabaEntidad, dos_entidades_van_seguidas) {
  directorio_prueba d;
  d.vista.atributo = true;
  d.pon("a.dxf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0",
                         "  0", "POINT", "  8", "OTRA", " 10", "1.5", " 20", "4000002.25", " 30", "0"}));
  d.convierte();
  const std::string bin = d.lee("a.bin");
  ASSERT_EQ(bin.size(), 144u);
  EXPECT_EQ(muestra_hex(bin.substr(72, 12)), "43 3D 4E 75 65 76 6F 00 00 01 01 00");
  EXPECT_EQ(d.vista.consultas_atributo, 2);
}

}  // namespace
}  // namespace tolvar::prueba
