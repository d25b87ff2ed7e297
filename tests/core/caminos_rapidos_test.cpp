// The fast paths of the conversion against what they stand in for: line ends found 64 bytes
// at a time, group codes read without the general routine, coordinates read as integers.
// Each case sits where a fast path has an edge: a block boundary, a read boundary, the
// eight bytes looked at in one go, the third and the sixth decimal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
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

// A file that says how long it is, rightly or not (a file may grow or shrink after it was
// measured): the hint sizes the first buffer and never decides where the file ends.
class fuente_con_tamano final : public fuente {
 public:
  fuente_con_tamano(std::string datos, std::uint64_t tamano, std::size_t trozo)
      : datos_(std::move(datos)), tamano_(tamano), trozo_(trozo) {}
  std::size_t lee(char* destino, std::size_t max) override {
    const std::size_t n = std::min({max, trozo_, datos_.size() - pos_});
    std::memcpy(destino, datos_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  std::optional<std::uint64_t> tamano() const override { return tamano_; }

 private:
  std::string datos_;
  std::uint64_t tamano_;
  std::size_t trozo_;
  std::size_t pos_ = 0;
};

TEST(lector_lineas_por_bloques, el_tamano_anunciado_no_cambia_las_lineas) {
  std::string largo;
  std::vector<std::string> lineas_largo;
  for (int i = 0; i < 30000; ++i) {
    lineas_largo.push_back(std::to_string(i));
    largo += lineas_largo.back() + (i % 3 == 0 ? "\r\n" : "\n");
  }
  const struct {
    const char* nombre;
    std::string datos;
    std::uint64_t tamano;
    std::vector<std::string> lineas;
  } casos[] = {
      {"exacto", "abc\r\nde\n", 8, {"abc", "de"}},
      {"sin_fin_de_linea", "abc\r\nde", 7, {"abc", "de"}},
      {"cr_al_final", "abc\r", 4, {"abc"}},
      {"vacio", "", 0, {}},
      // The first read ends on the CR, and its LF comes with the byte that asks for more.
      {"cr_lf_partido_por_la_primera_lectura", "abcd\r\nxyz", 4, {"abcd", "xyz"}},
      {"cr_y_luego_otra_linea", "abcd\rxyz", 4, {"abcd", "xyz"}},
      {"crecio_despues", "abc\r\nde\r\nfg", 2, {"abc", "de", "fg"}},
      {"menguo_despues", "abc\n", 1000, {"abc"}},
      {"mucho_mas_largo", largo, 10, lineas_largo},
      {"largo_y_exacto", largo, largo.size(), lineas_largo},
  };
  for (const auto& c : casos) {
    for (const std::size_t trozo : {std::size_t{1}, std::size_t{3}, grande}) {
      fuente_con_tamano f(c.datos, c.tamano, trozo);
      lector_lineas l(f, "d/a.dxf");
      std::vector<std::string> leidas;
      std::string_view linea;
      while (l.lee(linea)) leidas.emplace_back(linea);
      EXPECT_EQ(leidas, c.lineas) << c.nombre << ", trozo " << trozo;
    }
  }
}

// Reads of the size the reader asks for, as from a file larger than one read: after the first
// the rest come from the reading thread.
constexpr std::size_t entera = lector_lineas::bytes_lectura;

// The line end `fin` placed so that its first byte is the last of read number `lectura`
// (1, 2, 3), after lines of 99 bytes and one of 'a' that fill the reads before it; then "b",
// `fin` and "c". `antes` gives back the lines in front of `fin`.
std::string fin_al_final_de_lectura(std::size_t lectura, const char* fin,
                                    std::vector<std::string>& antes) {
  const std::size_t posicion = lectura * entera - 1;
  const std::size_t rellenas = posicion / 100 - 1;
  std::string datos;
  antes.assign(rellenas, std::string(99, 'r'));
  for (std::size_t i = 0; i < rellenas; ++i) datos += std::string(99, 'r') + "\n";
  antes.emplace_back(posicion - datos.size(), 'a');
  datos += antes.back();
  return datos + fin + "b" + fin + "c";
}

TEST(lector_lineas_por_bloques, un_fin_de_linea_partido_entre_dos_lecturas_del_segundo_hilo) {
  const struct {
    const char* nombre;
    const char* fin;
    std::vector<std::string> despues;  // the lines after those in front of the first end
  } casos[] = {
      {"crlf", "\r\n", {"b", "c"}},
      {"cr", "\r", {"b", "c"}},
      {"cr_cr", "\r\r", {"", "b", "", "c"}},
      {"lf_cr", "\n\r", {"", "b", "", "c"}},
      {"lf", "\n", {"b", "c"}},
  };
  for (const auto& c : casos) {
    for (const std::size_t lectura : {std::size_t{1}, std::size_t{2}, std::size_t{3}}) {
      std::vector<std::string> esperadas;
      const std::string datos = fin_al_final_de_lectura(lectura, c.fin, esperadas);
      esperadas.insert(esperadas.end(), c.despues.begin(), c.despues.end());
      EXPECT_EQ(lineas_de(datos, entera), esperadas) << c.nombre << ", lectura " << lectura;
    }
  }
}

TEST(lector_lineas_por_bloques, un_cr_que_acaba_el_fichero_al_final_de_una_lectura) {
  for (const std::size_t lectura : {std::size_t{1}, std::size_t{2}}) {
    std::vector<std::string> esperadas;
    std::string datos = fin_al_final_de_lectura(lectura, "\r", esperadas);
    datos.resize(lectura * entera);  // up to that CR and no further
    EXPECT_EQ(lineas_de(datos, entera), esperadas) << "lectura " << lectura;
  }
}

// Serves lines "abc" ended by LF, a whole read at a time, and fails on read number `falla`.
class fuente_que_falla final : public fuente {
 public:
  explicit fuente_que_falla(int falla) : falla_(falla) {}
  std::size_t lee(char* destino, std::size_t max) override {
    if (++lecturas == falla_) throw error_conversion(error_de_dispositivo, al_leer, "d/a.dxf");
    for (std::size_t i = 0; i + 4 <= max; i += 4) std::memcpy(destino + i, "abc\n", 4);
    return max - max % 4;
  }
  int lecturas = 0;

 private:
  int falla_;
};

TEST(lector_lineas_por_bloques, un_fallo_del_segundo_hilo_sale_tras_las_lineas_leidas_antes) {
  // Reads 1 and 2 (the second made by the reading thread) hold bytes_lectura / 4 lines each.
  constexpr std::int64_t lineas_por_lectura = static_cast<std::int64_t>(entera / 4);
  for (const int falla : {2, 3}) {
    fuente_que_falla f(falla);
    lector_lineas l(f, "d/a.dxf");
    std::string_view linea;
    std::int64_t leidas = 0;
    try {
      while (l.lee(linea)) {
        ASSERT_EQ(linea, "abc");
        ++leidas;
      }
      ADD_FAILURE() << "the failed read was not reported";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), error_de_dispositivo);
      EXPECT_EQ(leidas, lineas_por_lectura * (falla - 1)) << "read " << falla;
    }
    // Asked again, the reader fails again rather than waiting for a read that never comes.
    EXPECT_THROW(l.lee(linea), error_conversion) << "read " << falla;
  }
}

TEST(lector_lineas_por_bloques, el_segundo_hilo_lee_una_lectura_por_delante_y_no_mas) {
  fuente_que_falla f(1000);
  {
    lector_lineas l(f, "d/a.dxf");
    std::string_view linea;
    ASSERT_TRUE(l.lee(linea));
    EXPECT_EQ(linea, "abc");
  }
  // The first read, and at most the one the thread had begun when the reader was destroyed.
  EXPECT_GE(f.lecturas, 1);
  EXPECT_LE(f.lecturas, 2);
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
      // Three decimals exactly, read in one go: one to eight whole digits, with a sign.
      {"1.250", false, 1250},
      {"-12.500", false, -12500},
      {"+0.479", false, 479},
      {"123.456", false, 123456},
      {"1234.567", false, 1234567},           // four whole digits: the first in the eight bytes
      {"-1234.567", false, -1234567},
      {"4608211.678", true, 608211678},
      {"00000001.000", false, 1000},          // eight whole digits, all of the eight bytes
      {"-00000001.001", false, -1001},
      {"000000001.000", false, 1000},         // nine: the long way
      {".250", false, 250},                   // no whole digits: the long way
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
      {"452100.a12", false, tipo_incompatible},
      {"4521a0.125", false, tipo_incompatible},  // a letter among the eight bytes
      {"1a.125", false, tipo_incompatible},      // among fewer than four whole digits
      {"12345678.901", false, desbordamiento},   // eight whole digits, too many thousandths
      {"-+1.000", false, tipo_incompatible},
      {"1 34.000", false, tipo_incompatible},
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
