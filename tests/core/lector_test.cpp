#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/lector_lineas.h"
#include "core/numeros.h"
#include "support/dibujos.h"

namespace tolvar {
namespace {

using prueba::fuente_troceada;


std::vector<std::string> lineas_de(const std::string& datos, std::size_t trozo) {
  fuente_troceada f(datos, trozo);
  lector_lineas l(f, "d/a.dxf");
  std::vector<std::string> r;
  std::string_view linea;
  while (l.lee(linea)) r.emplace_back(linea);
  return r;
}

TEST(lector_lineas, reconoce_cada_fin_de_linea_aunque_caiga_entre_lecturas) {
  const struct {
    const char* nombre;
    std::string datos;
    std::vector<std::string> lineas;
  } casos[] = {
      {"crlf", "  0\r\nPOINT\r\n", {"  0", "POINT"}},
      {"lf", "  0\nPOINT\n", {"  0", "POINT"}},
      {"cr_solo", "  0\rPOINT\r", {"  0", "POINT"}},
      {"mezclados", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"ultima_sin_fin", "a\r\nb", {"a", "b"}},
      {"lineas_vacias", "\r\n\r\nx\r\n", {"", "", "x"}},
      {"lf_cr_son_dos_fines", "a\n\rb", {"a", "", "b"}},
      {"espacios_conservados", " 10 \r\n", {" 10 "}},
      {"vacio", "", {}},
  };
  for (const auto& c : casos) {
    for (std::size_t trozo : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 16}) {
      EXPECT_EQ(lineas_de(c.datos, trozo), c.lineas) << c.nombre << ", trozo " << trozo;
    }
  }
}

TEST(lector_lineas, cuenta_las_lineas_desde_uno) {
  fuente_troceada f("a\r\nb\rc\n", 2);
  lector_lineas l(f, "x");
  std::string_view linea;
  EXPECT_EQ(l.num_linea(), 0);
  ASSERT_TRUE(l.lee(linea));
  ASSERT_TRUE(l.lee(linea));
  ASSERT_TRUE(l.lee(linea));
  EXPECT_EQ(linea, "c");
  EXPECT_EQ(l.num_linea(), 3);
  EXPECT_FALSE(l.lee(linea));
}

TEST(lector_lineas, una_linea_de_mas_de_un_mib_es_desbordamiento_con_su_numero) {
  std::string datos = "0\r\n";
  datos.append(lector_lineas::max_linea + 1, 'x');
  datos += "\r\nfin\r\n";
  fuente_troceada f(datos, std::size_t{1} << 16);
  lector_lineas l(f, "d/largo.dxf");
  std::string_view linea;
  ASSERT_TRUE(l.lee(linea));
  try {
    l.lee(linea);
    FAIL() << "a line over 1 MiB was accepted";
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), desbordamiento);
    EXPECT_EQ(e.num_linea(), 2);
    EXPECT_EQ(e.fichero(), "d/largo.dxf");
  }
}

TEST(lector_lineas, una_linea_de_un_mib_justo_se_lee) {
  std::string datos(lector_lineas::max_linea, 'y');
  datos += "\r\nz";
  fuente_troceada f(datos, std::size_t{1} << 16);
  lector_lineas l(f, "x");
  std::string_view linea;
  ASSERT_TRUE(l.lee(linea));
  EXPECT_EQ(linea.size(), lector_lineas::max_linea);
  ASSERT_TRUE(l.lee(linea));
  EXPECT_EQ(linea, "z");
}

struct grupo_leido {
  int codigo;
  std::string valor;
  std::int64_t num_linea;
  friend bool operator==(const grupo_leido&, const grupo_leido&) = default;
};

void PrintTo(const grupo_leido& g, std::ostream* os) {
  *os << g.codigo << "/" << g.valor << "@" << g.num_linea;
}

std::vector<grupo_leido> grupos_de(const std::string& datos) {
  fuente_troceada f(datos, 3);
  lector_grupos l(f, "d/a.dxf");
  std::vector<grupo_leido> r;
  while (const grupo* g = l.siguiente()) r.push_back({g->codigo, std::string(g->valor), g->num_linea});
  return r;
}

TEST(lector_grupos, lee_pares_de_codigo_y_valor) {
  const struct {
    const char* nombre;
    std::string datos;
    std::vector<grupo_leido> grupos;
  } casos[] = {
      {"codigos_alineados_a_la_derecha", "  0\r\nPOINT\r\n  8\r\nCAPA\r\n 10\r\n1.5\r\n",
       {{0, "POINT", 1}, {8, "CAPA", 3}, {10, "1.5", 5}}},
      {"valor_recortado_de_espacios_solo", "  1\r\n \tA, \"B\" \r\n", {{1, "\tA, \"B\"", 1}}},
      {"codigo_con_signo", "-3\r\nx\r\n+5\r\ny\r\n", {{-3, "x", 1}, {5, "y", 3}}},
      {"valor_vacio", "  8\r\n\r\n  0\r\nEOF\r\n", {{8, "", 1}, {0, "EOF", 3}}},
      {"nada_tras_eof", "  0\r\nEOF\r\n\x1a basura\r\n", {{0, "EOF", 1}}},
      {"eof_con_espacios", "  0\r\n EOF \r\nX\r\n", {{0, "EOF", 1}}},
      {"eof_en_minusculas_no_termina", "  0\r\neof\r\n  0\r\nEOF\r\n", {{0, "eof", 1}, {0, "EOF", 3}}},
      {"lineas_en_blanco_al_final", "  0\r\nEOF2\r\n\r\n   \r\n\r\n", {{0, "EOF2", 1}}},
      {"solo_lineas_en_blanco", "\r\n\r\n", {}},
      {"una_linea_vacia", "\r\n", {}},
      {"lf_y_cr", "0\nPOINT\r10\r\n1\n", {{0, "POINT", 1}, {10, "1", 3}}},
  };
  for (const auto& c : casos) EXPECT_EQ(grupos_de(c.datos), c.grupos) << c.nombre;
}

TEST(lector_grupos, rechaza_lo_que_no_es_un_par_nombrando_la_linea) {
  const struct {
    const char* nombre;
    std::string datos;
    int numero;
    std::int64_t num_linea;
  } casos[] = {
      {"codigo_no_numerico", "  0\r\nPOINT\r\nX\r\n1\r\n", tipo_incompatible, 3},
      {"codigo_decimal", "  0\r\nPOINT\r\n10.0\r\n1\r\n", tipo_incompatible, 3},
      {"codigo_con_tabulador", "\t8\r\nCAPA\r\n", tipo_incompatible, 1},
      {"linea_en_blanco_en_medio", "  0\r\nPOINT\r\n\r\n  8\r\nCAPA\r\n", tipo_incompatible, 3},
      {"codigo_sin_valor", "  0\r\nPOINT\r\n  8\r\n", fin_de_fichero, 3},
      {"codigo_enorme", "99999999999\r\nx\r\n", desbordamiento, 1},
      {"dibujo_de_cero_bytes", "", fin_de_fichero, 0},
      {"signo_solo", "-\r\nx\r\n", tipo_incompatible, 1},
  };
  for (const auto& c : casos) {
    try {
      grupos_de(c.datos);
      ADD_FAILURE() << c.nombre << ": accepted";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.nombre;
      EXPECT_EQ(e.num_linea(), c.num_linea) << c.nombre;
      EXPECT_EQ(e.fichero(), "d/a.dxf") << c.nombre;
    }
  }
}

TEST(lector_grupos, el_mensaje_dice_numero_causa_fichero_y_linea) {
  try {
    grupos_de("  0\r\nPOINT\r\n1O\r\n1\r\n");
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_STREQ(e.what(), "Error 13 (type mismatch): \"1O\" is not a group code -- d/a.dxf, line 3");
  }
}

TEST(lector_grupos, devuelve_repite_el_grupo_y_exige_falla_al_final) {
  fuente_troceada f("  0\r\nPOINT\r\n 10\r\n2\r\n", 64);
  lector_grupos l(f, "d/a.dxf");
  ASSERT_EQ(l.siguiente()->valor, "POINT");
  const grupo& g = l.exige("POINT");
  EXPECT_EQ(g.codigo, 10);
  l.devuelve();
  EXPECT_EQ(l.siguiente()->valor, "2");
  try {
    l.exige("POINT");
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), fin_de_fichero);
    EXPECT_EQ(e.num_linea(), 4);
    EXPECT_NE(std::string(e.what()).find("inside a POINT"), std::string::npos);
  }
}

TEST(lee_entero, acepta_enteros_con_signo_y_espacios) {
  const struct {
    const char* texto;
    bool valido;
    std::int32_t valor;
    bool desborda;
  } casos[] = {
      {"1", true, 1, false},       {"   129", true, 129, false}, {"-9 ", true, -9, false},
      {"+7", true, 7, false},      {"1.0", false, 0, false},     {"", false, 0, false},
      {"0x1", false, 0, false},    {"1 2", false, 0, false},     {"2147483647", true, 2147483647, false},
      {"-2147483648", true, INT32_MIN, false}, {"2147483648", false, 0, true},
      {"99999999999999999999999", false, 0, true},
  };
  for (const auto& c : casos) {
    std::int32_t v = 0;
    bool desborda = false;
    EXPECT_EQ(lee_entero(c.texto, v, desborda), c.valido) << c.texto;
    if (c.valido) {
      EXPECT_EQ(v, c.valor) << c.texto;
    }
    EXPECT_EQ(desborda, c.desborda) << c.texto;
  }
}

}  // namespace
}  // namespace tolvar
