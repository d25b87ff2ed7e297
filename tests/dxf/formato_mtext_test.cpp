#include <gtest/gtest.h>

#include <string>

#include "dxf/formato_mtext.h"

namespace tolvar {
namespace {

TEST(quita_formato_mtext, cada_codigo_de_formato) {
  const struct {
    const char* entrada;
    const char* salida;
  } casos[] = {
      {"Linea uno\\PLinea dos", "Linea uno Linea dos"},
      {"a\\~b", "a b"},
      {"\\\\ \\{ \\}", "\\ { }"},
      {"\\Lsub\\l\\Oover\\o\\Kstrike\\k", "suboverstrike"},
      {"{\\fArial|b1|i0|c0|p34;Rio} Ebro", "Rio Ebro"},
      {"\\FISO;\\H2.5x;\\W0.8;\\Q15;\\T1.1;\\A1;\\C1;\\c255;\\pxqc;x", "x"},
      {"\\H2.5", ""},                                      // a code that reaches the end
      {"1\\S1^2;", "11/2"},
      {"\\S3/4; y \\S5#8; y \\Sa\\P^b", "3/4 y 5/8 y a\\P/b"},  // nothing inside \S is read
      {"sin {llaves} sueltas}", "sin llaves sueltas"},
      {"\\X\\N{", "\\X\\N"},                               // others stay, with their character
      {"\\U+00D1\\U+00f1A", "\xD1\xF1" "A"},
      {"\\\\U+00F1", "\\U+00F1"},                          // an escaped backslash is no escape
      {"\\U+00F \\u+00F1 \\U00F1", "\\U+00F \\u+00F1 \\U00F1"},
      {"\\U+4E2D", "?"},                                   // not in the page
      {"fin\\", "fin\\"},
      {"", ""},
  };
  for (const auto& c : casos) {
    std::string t = c.entrada;
    quita_formato_mtext(t, pagina_codigos::ansi_1252);
    EXPECT_EQ(t, c.salida) << c.entrada;
  }
}

}  // namespace
}  // namespace tolvar
