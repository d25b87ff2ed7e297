// The fast paths of the conversion against what they stand in for: line ends found 64 bytes
// at a time, group codes read without the general routine, coordinates read as integers.
// Each case sits where a fast path has an edge: a block boundary, a read boundary, the
// eight bytes looked at in one go, the third and the sixth decimal.
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

constexpr std::size_t grande = std::size_t{1} << 16;  // a read that takes the whole text

std::vector<std::string> lineas_de(const std::string& datos, std::size_t trozo) {
  fuente_troceada f(datos, trozo);
  lector_lineas l(f, "d/a.dxf");
  std::vector<std::string> r;
  std::string_view linea;
  while (l.lee(linea)) {
    r.emplace_back(linea);
    EXPECT_EQ(l.num_linea(), static_cast<std::int64_t>(r.size()));
  }
  return r;
}

TEST(lector_lineas_por_bloques, un_fin_de_linea_en_cualquier_byte_de_un_bloque) {
  const struct {
    const char* nombre;
    const char* fin;
  } fines[] = {{"crlf", "\r\n"}, {"lf", "\n"}, {"cr", "\r"}};
  // Offsets 62 to 65 and 126 to 129 put the end, or the two halves of a CR LF, on both sides
  // of a block boundary; reads of 1, 7 and 64 bytes put them on both sides of a read too.
  for (const auto& f : fines) {
    for (std::size_t antes = 0; antes < 131; ++antes) {
      const std::string primera(antes, 'a');
      const std::string larga(70, 'c');  // longer than a block
      const std::string datos = primera + f.fin + "b" + f.fin + f.fin + larga + f.fin + "z";
      const std::vector<std::string> esperadas = {primera, "b", "", larga, "z"};
      for (const std::size_t trozo : {std::size_t{1}, std::size_t{7}, std::size_t{64}, grande}) {
        EXPECT_EQ(lineas_de(datos, trozo), esperadas)
            << f.nombre << ", " << antes << " bytes, trozo " << trozo;
      }
    }
  }
}

TEST(lector_lineas_por_bloques, cr_y_lf_sueltos_alrededor_del_limite_de_bloque) {
  const struct {
    const char* nombre;
    std::string datos;
    std::vector<std::string> lineas;
  } casos[] = {
      // 63 bytes, then LF CR: the LF closes the line, the CR at byte 64 another one.
      {"lf_cr_partido", std::string(63, 'x') + "\n\rY", {std::string(63, 'x'), "", "Y"}},
      // A CR at byte 63 and a CR at 64: two line ends, no CR LF.
      {"cr_cr_partido", std::string(63, 'x') + "\r\rY", {std::string(63, 'x'), "", "Y"}},
      // A CR LF whose LF starts the next block is one line end.
      {"crlf_partido", std::string(63, 'x') + "\r\nY\r\n", {std::string(63, 'x'), "Y"}},
      // An LF at byte 64 after a non-CR at 63 is a line end of its own.
      {"lf_al_inicio_del_bloque", std::string(64, 'x') + "\nY", {std::string(64, 'x'), "Y"}},
      {"solo_fines", std::string(200, '\n'), std::vector<std::string>(200, "")},
      {"solo_crlf", [] {
         std::string s;
         for (int i = 0; i < 100; ++i) s += "\r\n";
         return s;
       }(), std::vector<std::string>(100, "")},
      {"cr_final", std::string(64, 'x') + "\r", {std::string(64, 'x')}},
  };
  for (const auto& c : casos) {
    for (const std::size_t trozo : {std::size_t{1}, std::size_t{63}, std::size_t{64}, grande})
      EXPECT_EQ(lineas_de(c.datos, trozo), c.lineas) << c.nombre << ", trozo " << trozo;
  }
}

TEST(lector_lineas_por_bloques, muchas_lecturas_no_pierden_ni_repiten_lineas) {
  // More than one read of the buffer's size, with lines of every length from 0 to 99.
  std::string datos;
  std::vector<std::string> esperadas;
  for (int i = 0; datos.size() < (std::size_t{3} << 20); ++i) {
    esperadas.emplace_back(static_cast<std::size_t>(i % 100), static_cast<char>('A' + i % 26));
    datos += esperadas.back();
    datos += (i % 3 == 0) ? "\n" : "\r\n";
  }
  EXPECT_EQ(lineas_de(datos, std::size_t{1} << 20), esperadas);
  EXPECT_EQ(lineas_de(datos, 4099), esperadas);
}

struct leido {
  int codigo;
  std::string valor;
  friend bool operator==(const leido&, const leido&) = default;
};

void PrintTo(const leido& g, std::ostream* os) { *os << g.codigo << "/" << g.valor; }

TEST(lector_grupos_codigos_cortos, leen_lo_mismo_que_la_rutina_general) {
  const struct {
    const char* codigo;
    int esperado;
  } casos[] = {
      {"  0", 0},   {" 10", 10},  {"999", 999}, {"8", 8},       {"08", 8},     {" 8", 8},
      {"  8 ", 8},  {"0 ", 0},    {"007", 7},   {"1000", 1000}, {" +5", 5},    {"-1", -1},
      {"  70", 70}, {"100", 100},
  };
  for (const auto& c : casos) {
    fuente_troceada f(std::string(c.codigo) + "\r\nV\r\n", 1 << 16);
    lector_grupos l(f, "d/a.dxf");
    const grupo* g = l.siguiente();
    ASSERT_NE(g, nullptr) << c.codigo;
    EXPECT_EQ((leido{g->codigo, std::string(g->valor)}), (leido{c.esperado, "V"})) << c.codigo;
  }
}

TEST(lector_grupos_codigos_cortos, rechazan_lo_que_la_rutina_general_rechaza) {
  // A space between digits, or anything but digits and leading spaces, is no code.
  for (const char* codigo : {"1 0", "a", " a1", "1a", "1-", " 1\t", "\x01", "1.", "+", "-"}) {
    fuente_troceada f(std::string("  0\r\nPOINT\r\n") + codigo + "\r\nV\r\n", 1 << 16);
    lector_grupos l(f, "d/a.dxf");
    ASSERT_NE(l.siguiente(), nullptr);
    try {
      l.siguiente();
      ADD_FAILURE() << "\"" << codigo << "\" was read as a group code";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), tipo_incompatible) << codigo;
      EXPECT_EQ(e.num_linea(), 3) << codigo;
    }
  }
}

TEST(escala_coord_entera, da_lo_que_daria_el_camino_en_coma_flotante) {
  const struct {
    const char* texto;
    bool y;
    std::int32_t esperado;
  } casos[] = {
      {"452100.125", false, 452100125},
      {"4470310.5", true, 470310500},
      {"4470310.500", true, 470310500},
      {"4470310.500000", true, 470310500},   // zeros past the third decimal
      {"7.2500", false, 7250},
      {"1100.000", false, 1100000},           // eight bytes exactly
      {"1100.00", false, 1100000},            // seven
      {"0.000", false, 0},
      {"-0.000", false, 0},
      {"-452100.125", false, -452100125},
      {"+452100.125", false, 452100125},
      {"7.", false, 7000},
      {".125", false, 125},
      {"1234567.1", false, 1234567100},       // seven whole digits in the eight bytes
      {"01234567", false, 1234567000},        // eight digits, no point
      {"0000001.5", false, 1500},
      {"0000000001.5", false, 1500},          // ten whole digits, the most taken as integers
      {"00000000001.5", false, 1500},         // eleven: the double path
      {"2147483.647", false, 2147483647},
      {"-2147483.648", false, -2147483647 - 1},
      {"6147483.647", true, 2147483647},
      {"1852516.352", true, -2147483647 - 1},
      {"4470310.5e0", true, 470310500},       // an exponent: the double path
      {"452100.123456", false, 452100123},    // six decimals, rounded in integers
      {"452100.1236", false, 452100124},
      {"-452100.12351", false, -452100124},
      {"4470310.4994", true, 470310499},
      {"4470310.99951", true, 470311000},     // rounding carries into the whole part
      {"0.000499", false, 0},
      {"0.000501", false, 1},
      {"2147483.647499", false, 2147483647},
      {"7.2500001", false, 7250},             // seven decimals: the double path
      {"  452100.125 ", false, 452100125},
  };
  for (const auto& c : casos) EXPECT_EQ(escala_coord(c.texto, c.y), c.esperado) << c.texto;
}

TEST(escala_coord_entera, rechaza_lo_mismo_que_el_camino_en_coma_flotante) {
  const struct {
    const char* texto;
    bool y;
    int numero;
  } casos[] = {
      {"12345678.9", false, desbordamiento},  // eight whole digits: the loop after the eight bytes
      {"2147483.648", false, desbordamiento},
      {"2147483.64751", false, desbordamiento},  // rounds up past the limit
      {"2147483.6475001", false, desbordamiento},
      {"1852516.351", true, desbordamiento},
      {"4470310.5", false, desbordamiento},   // a northing without the offset
      {"1234567x", false, tipo_incompatible},
      {"12345\xC9.5", false, tipo_incompatible},
      {"452100.12a", false, tipo_incompatible},
      {"4470310..5", true, tipo_incompatible},
      {"1.2.3", false, tipo_incompatible},
      {"1234567,5", false, tipo_incompatible},
      {"12 34", false, tipo_incompatible},
      {".", false, tipo_incompatible},
      {"+.", false, tipo_incompatible},
      {"-", false, tipo_incompatible},
      {"", false, tipo_incompatible},
  };
  for (const auto& c : casos) {
    try {
      escala_coord(c.texto, c.y);
      ADD_FAILURE() << "\"" << c.texto << "\" was accepted";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.texto;
    }
  }
}

}  // namespace
}  // namespace tolvar
