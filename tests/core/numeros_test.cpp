#include <gtest/gtest.h>

#include <cmath>

#include "core/error_conversion.h"
#include "core/numeros.h"

namespace tolvar {
namespace {

TEST(escala_coord, multiplica_por_mil_resta_el_desplazamiento_y_redondea_a_par) {
  const struct {
    const char* texto;
    bool y;
    std::int32_t esperado;
  } casos[] = {
      {"1234.5678", false, 1234568},
      {"0.0025", false, 2},          // ties to even, down
      {"0.0035", false, 4},          // ties to even, up
      {"-0.0005", false, 0},
      {"-0.0015", false, -2},
      {"4123456.789", true, 123456789},
      {"4000000.0005", true, 0},
      {"4000002.25", true, 2250},
      {"  1.5  ", false, 1500},
      {"+1.5", false, 1500},
      {".5", false, 500},
      {"5.", false, 5000},
      {"1e3", false, 1000000},
      {"1.5E-3", false, 2},
      {"-12", false, -12000},
      {"1e-400", false, 0},          // too small to represent: zero
      {"0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000000000000000000000001",
       false, 0},
      {"2147483.647", false, 2147483647},
      {"-2147483.648", false, -2147483647 - 1},
      {"6147483.647", true, 2147483647},
      {"1852516.352", true, -2147483647 - 1},
  };
  for (const auto& c : casos) EXPECT_EQ(escala_coord(c.texto, c.y), c.esperado) << c.texto;
}

TEST(escala_coord, rechaza_lo_que_no_es_un_numero_o_no_cabe) {
  const struct {
    const char* texto;
    bool y;
    int numero;
  } casos[] = {
      {"12,5", false, tipo_incompatible},   {"", false, tipo_incompatible},
      {"   ", false, tipo_incompatible},    {"inf", false, tipo_incompatible},
      {"-inf", false, tipo_incompatible},   {"nan", false, tipo_incompatible},
      {"NAN", false, tipo_incompatible},    {"0x10", false, tipo_incompatible},
      {"1e", false, tipo_incompatible},     {"+-5", false, tipo_incompatible},
      {"--5", false, tipo_incompatible},    {"1 2", false, tipo_incompatible},
      {".", false, tipo_incompatible},      {"e5", false, tipo_incompatible},
      {"1.5\t", false, tipo_incompatible},  {"1,234.5", false, tipo_incompatible},
      {"1e400", false, desbordamiento},     {"-1e400", false, desbordamiento},
      {"1e306", false, desbordamiento},     {"2147483.648", false, desbordamiento},
      {"-2147483.649", false, desbordamiento}, {"6147483.648", true, desbordamiento},
      {"1852516.351", true, desbordamiento},    {"4123456.789", false, desbordamiento},
      {"1e-400", true, desbordamiento},  // zero, less the offset
  };
  for (const auto& c : casos) {
    try {
      escala_coord(c.texto, c.y);
      ADD_FAILURE() << "accepted " << c.texto;
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.texto;
    }
  }
}

TEST(escala_altura, no_redondea_ni_desplaza) {
  EXPECT_DOUBLE_EQ(escala_altura("2.5"), 2500.0);
  EXPECT_DOUBLE_EQ(escala_altura("0.0025"), 2.5);
  EXPECT_DOUBLE_EQ(escala_altura("-1"), -1000.0);
  EXPECT_THROW(escala_altura("1e306"), error_conversion);
  EXPECT_THROW(escala_altura("dos"), error_conversion);
}

TEST(redondea_32, redondea_mitades_a_par_y_vigila_el_rango) {
  EXPECT_EQ(redondea_32(2.5), 2);
  EXPECT_EQ(redondea_32(3.5), 4);
  EXPECT_EQ(redondea_32(-2.5), -2);
  EXPECT_EQ(redondea_32(2147483647.4), 2147483647);
  EXPECT_THROW(redondea_32(2147483647.5), error_conversion);
  EXPECT_THROW(redondea_32(-2147483648.6), error_conversion);
  EXPECT_THROW(redondea_32(std::nan("")), error_conversion);
}

}  // namespace
}  // namespace tolvar
