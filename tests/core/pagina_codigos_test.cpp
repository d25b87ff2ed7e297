#include <gtest/gtest.h>

#include <string>

#include "core/pagina_codigos.h"

namespace tolvar {
namespace {

using enum pagina_codigos;

TEST(pagina_codigos, nombres_de_ansi_1250_a_ansi_1258_en_cualquier_caja) {
  const struct {
    std::string_view nombre;
    std::optional<pagina_codigos> esperada;
  } casos[] = {
      {"ANSI_1252", ansi_1252}, {"ansi_1252", ansi_1252}, {"Ansi_1250", ansi_1250},
      {"aNsI_1255", ansi_1255}, {"ANSI_1258", ansi_1258}, {"ANSI_1249", std::nullopt},
      {"ANSI_1259", std::nullopt}, {"ANSI_932", std::nullopt}, {"1252", std::nullopt},
      {"", std::nullopt}, {" ANSI_1252", std::nullopt}, {"ANSI_1252 ", std::nullopt},
      {"ANSI-1252", std::nullopt}, {"ANSI_12520", std::nullopt}, {"ANSI_125", std::nullopt},
  };
  for (const auto& c : casos) EXPECT_EQ(pagina_por_nombre(c.nombre), c.esperada) << c.nombre;
  EXPECT_EQ(nombre_pagina(ansi_1250), "ANSI_1250");
  EXPECT_EQ(nombre_pagina(ansi_1258), "ANSI_1258");
}

TEST(pagina_codigos, codifica_cada_pagina_y_da_interrogacion_sin_byte) {
  const struct {
    char32_t c;
    pagina_codigos p;
    char esperado;
  } casos[] = {
      {U'\0', ansi_1252, '\0'},       {U'\u0141', ansi_1250, '\xA3'},
      {U'\u00A0', ansi_1257, '\xA0'}, {U'\u2122', ansi_1258, '\x99'},  // first and last
      {U'\u03A9', ansi_1253, '\xD9'},
      {U'\u011F', ansi_1254, '\xF0'}, {U'\u05D0', ansi_1255, '\xE0'},
      {U'\u0639', ansi_1256, '\xDA'}, {U'\u0105', ansi_1257, '\xE0'},
      {U'\u0303', ansi_1258, '\xDE'}, {U'\u1EA0', ansi_1258, '?'},   // no precomposed letter
      {U'\u0081', ansi_1252, '?'},    {U'\u05BA', ansi_1255, '?'},     // bytes left unassigned
      {U'\U000120AC', ansi_1252, '?'}, {char32_t{0x110000}, ansi_1252, '?'},
  };
  for (const auto& c : casos)
    EXPECT_EQ(codifica(c.c, c.p), c.esperado) << std::hex << static_cast<unsigned>(c.c);
}

TEST(pagina_codigos, utf8_bien_formado_segun_unicode) {
  const struct {
    std::string_view s;
    bool esperado;
  } casos[] = {
      {"", true},                  {{"\0\xC3\xB1", 3}, true},  {"\xC2\x80", true},
      {"\xE0\xA0\x80", true},      {"\xED\x9F\xBF", true},     {"\xEE\x80\x80", true},
      {"\xF0\x90\x80\x80", true},  {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
      {"\xC0\xAF", false},         {"\xC1\xBF", false},        {"\xE0\x9F\xBF", false},
      {"\xF0\x8F\xBF\xBF", false}, {"\x80", false},            {"a\xBF" "b", false},
      {"\xED\xA0\x80", false},     {"\xED\xBF\xBF", false},    {"\xF4\x90\x80\x80", false},
      {"\xF5\x80\x80\x80", false}, {"\xFF", false},            {"\xE2\x82", false},
      {"\xE2\x82" "A", false},     {{"\xE2\x82\xAC", 2}, false},  // cut by the view, not a NUL
  };
  for (const auto& c : casos)
    EXPECT_EQ(es_utf8_valido(c.s), c.esperado) << testing::PrintToString(c.s);
}

// convierte_valor: the four rules together, as a layer name or a TEXT string goes out.
TEST(pagina_codigos, convierte_valor_a_la_pagina_de_salida) {
  const struct {
    std::string valor, esperado;
    pagina_codigos dibujo = ansi_1252, salida = ansi_1252;
  } casos[] = {
      {"CURVA 10", "CURVA 10", ansi_1250},     {"Pe\xC3\xB1\xC3\xADscola", "Pe\xF1\xEDscola"},
      {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xA3\xF3" "d\x9F", ansi_1252, ansi_1250},
      {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xCC\xEE\xF1\xEA\xE2\xE0", ansi_1252,
       ansi_1251},
      {"\xC4\x90\xC6\xB0\xE1\xBB\x9Dng", "\xD0\xFD?ng", ansi_1252, ansi_1258},
      {"5 \xE2\x82\xAC", "5 \x88", ansi_1252, ansi_1251},
      {"\xC5\x81\xF0\x9F\x98\x80 x", "?? x"},  // one '?' per code point
      // Not UTF-8: the drawing's page, kept byte for byte when it is the output page.
      {"Pe\xF1\x81\xEDscola", "Pe\xF1\x81\xEDscola"},
      {"\xA3\xF3" "d\x9F", "\xA3\xF3" "d\x9F", ansi_1250, ansi_1250},
      {"\xA3\xF3" "d\x9F", "?\xF3" "d?", ansi_1250, ansi_1252},
      {"Caf\xE9 \x81\xF1", "Caf\xE9 ??", ansi_1252, ansi_1250},
      {"\xC0\xAF", "??", ansi_1252, ansi_1251},  {"\x80 5", "\x88 5", ansi_1252, ansi_1251},
      {"\xE0\x80\xAE", "?\x88\xAE", ansi_1252, ansi_1251},  // overlong
      {"\xED\xA0\x80", "?\xA0\x88", ansi_1252, ansi_1251},  // surrogate
      {"\xF4\x90\x80\x80", "??\x88\x88", ansi_1252, ansi_1251},
      {"Pe\xC3\xB1" "a\xC3", "Pe?\xB1" "a?", ansi_1252, ansi_1251},
      // Escapes.
      {"Espa\\U+00D1" "A", "Espa\xD1" "A"},   {"\\U+00d1", "\xD1"},
      {"\\U+00F1" "A", "\xF1" "A"},           {"\\U+00F1\\U+00D1", "\xF1\xD1"},
      {"\\U+20AC", "\x88", ansi_1252, ansi_1251},
      {"\\U+0141", "?"},                     {"a\\U+0000b", "a?b"},
      {"\\U+D800", "?"},                     {"\\U+00F", "\\U+00F"},
      {"\\U+00Fx", "\\U+00Fx"},              {"\\u+00F1", "\\u+00F1"},
      {"a\\U+", "a\\U+"},                    {"a\\", "a\\"},
      {"\\\\U+00F1", "\\\xF1"},              {"\\U+005CU+00F1", "\\U+00F1"},  // one scan
      {"Pe\xC3\xB1" "a \\U+00CD", "Pe\xF1" "a \xCD", ansi_1250},
      {"\xA3\\U+0141", "\xA3\xA3", ansi_1250, ansi_1250},
      // The quick scan goes eight bytes a step, then byte by byte.
      {"CARRETERA \\U+00D1", "CARRETERA \xD1"},
      {"CARRETERA Pe\xC3\xB1" "a", "CARRETERA Pe\xF1" "a"},
      {"CARRETERA\xC3\xB1", "CARRETERA\xF1"},
  };
  for (const auto& c : casos) {
    std::string v = c.valor;
    convierte_valor(v, c.dibujo, c.salida);
    EXPECT_EQ(v, c.esperado) << testing::PrintToString(c.valor);
  }
}

TEST(pagina_codigos, cada_regla_por_separado) {
  std::string v = "\xC3\xB1\\U+00D1";
  a_pagina_salida(v, ansi_1252, ansi_1252);
  EXPECT_EQ(v, "\xF1\\U+00D1");
  v = "\xC3\xB1\\U+00D1";
  sustituye_escapes_u(v, ansi_1252);
  EXPECT_EQ(v, "\xC3\xB1\xD1");

  const struct {
    std::string_view resto;
    bool esperado;
    char32_t c;
  } casos[] = {
      {"U+00F1 y sigue", true, U'\u00F1'}, {"U+0000", true, U'\uFFFD'}, {"U+00F", false, 0},
      {"u+00F1", false, 0},                {"U+-0F1", false, 0},         {"", false, 0},
  };
  for (const auto& c : casos) {
    char32_t leido = 0;
    EXPECT_EQ(lee_escape_u(c.resto, leido), c.esperado) << c.resto;
    EXPECT_EQ(leido, c.c) << c.resto;
  }
}

TEST(pagina_codigos, linea_de_tabla_sin_marca_de_orden_y_en_la_pagina) {
  const struct {
    std::string linea;
    bool primera;
    pagina_codigos salida;
    std::string esperada;
  } casos[] = {
      {"\xEF\xBB\xBF" "1 Cami\xC3\xB3n", true, ansi_1252, "1 Cami\xF3n"},
      {"\xEF\xBB\xBF" "10 CURVA", true, ansi_1252, "10 CURVA"},
      {"\xEF\xBB\xBF" "X", false, ansi_1252, "?X"},  // a mark on a later line is a character
      {"2 \xC5\x81\xC3\xB3" "d\xC5\xBA", false, ansi_1250, "2 \xA3\xF3" "d\x9F"},
      {"1 Cami\xF3n", true, ansi_1252, "1 Cami\xF3n"},
      {"3 Espa\\U+00D1" "a", false, ansi_1252, "3 Espa\\U+00D1" "a"},
  };
  for (const auto& c : casos) {
    std::string l = c.linea;
    linea_tabla_a_pagina(l, c.primera, c.salida);
    EXPECT_EQ(l, c.esperada) << testing::PrintToString(c.linea);
  }
}

}  // namespace
}  // namespace tolvar
