// Layer names and texts reach the .bin, the .err and the table in one code page, whatever the
// drawing was written in.
#include <gtest/gtest.h>

#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

// A TEXT on `capa` saying `texto`, after a HEADER that names `pagina` (none when empty).
std::string dibujo_con(std::string_view pagina, std::string_view capa, std::string_view texto) {
  std::string s;
  if (!pagina.empty())
    s = dibujo({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015", "  9", "$DWGCODEPAGE", "  3",
                pagina, "  0", "ENDSEC"});
  return s + dibujo({"  0", "TEXT", "  8", capa, " 40", "1", "  1", texto, "  0", "EOF"});
}

constexpr std::string_view tabla_1252 = "PE01 Pe\xF1\xEDscola\r\n";

TEST(paginas_de_codigos, capas_y_textos_llegan_en_la_pagina_de_salida) {
  const struct {
    const char* nombre;
    std::string_view tabla;
    std::string dxf;
    const char* unidad;  // the record's one text unit
    const char* err;
  } casos[] = {
      // Since AutoCAD 2007 a drawing is UTF-8.
      {"utf8", tabla_1252, dibujo_con("ANSI_1252", "Pe\xC3\xB1\xC3\xADscola", "Pe\xC3\xB1\xC3\xADscola"),
       "50 65 F1 ED 73 63 6F 6C 61 00 20 20", ""},
      // Already in the output's page: byte for byte, unassigned bytes too.
      {"windows_1252", tabla_1252, dibujo_con("", "Pe\xF1\xEDscola", "Pe\xF1\xEDs\x81"),
       "50 65 F1 ED 73 81 00 20 20 20 20 20", ""},
      // Ł and ź have no place in Windows-1252.
      {"windows_1250", tabla_1252, dibujo_con("ansi_1250", "\xA3\xD3" "D\x8F", "\xA3\xF3" "d\x9F"),
       "3F F3 64 3F 00 20 20 20 20 20 20 20", "?\xD3" "D?\r\n"},
      {"escapes", tabla_1252, dibujo_con("", "Pe\\U+00F1\\U+00EDscola", "\\U+00D1and\\U+00F"),
       "D1 61 6E 64 5C 55 2B 30 30 46 00 20", ""},
      // Not UTF-8 (an overlong form, a lone continuation byte): the drawing's page.
      {"utf8_mal_formado", tabla_1252, dibujo_con("", "\xC0\xAF", "\xC0\xAF" "x\x80"),
       "C0 AF 78 80 00 20 20 20 20 20 20 20", "\xC0\xAF\r\n"},
      {"utf8_mal_formado_en_1250", tabla_1252, dibujo_con("ANSI_1250", "x", "\xC0\xAF" "x\x80"),
       "3F 3F 78 80 00 20 20 20 20 20 20 20", "x\r\n"},  // Ŕ, Ż: none; €: 0x80 in both
      // Only a $DWGCODEPAGE of the HEADER, naming a page we know, counts.
      {"otra_pagina_no_cuenta", tabla_1252, dibujo_con("ANSI_932", "x", "\xA3"),
       "A3 00 20 20 20 20 20 20 20 20 20 20", "x\r\n"},
      {"fuera_de_la_cabecera",
       tabla_1252,
       dibujo({"  0", "SECTION", "  2", "TABLES", "  9", "$DWGCODEPAGE", "  3", "ANSI_1250", "  0", "ENDSEC"}) +
           dibujo_con("", "x", "\xA3"),
       "A3 00 20 20 20 20 20 20 20 20 20 20", "x\r\n"},
      // A table saved as UTF-8, with its byte-order mark.
      {"tabla_en_utf8", "\xEF\xBB\xBFPE01 Pe\xC3\xB1\xC3\xADscola\r\n",
       dibujo_con("", "Pe\xF1\xEDscola", "x"), "78 00 20 20 20 20 20 20 20 20 20 20", ""},
  };
  for (const auto& c : casos) {
    directorio_prueba d(c.tabla);
    d.pon("a.dxf", c.dxf);
    d.convierte();
    const std::string bin = d.lee("a.bin");
    ASSERT_EQ(bin.size(), 72u) << c.nombre;
    EXPECT_EQ(muestra_hex(bin.substr(60)), c.unidad) << c.nombre;
    EXPECT_EQ(d.lee("a.err"), c.err) << c.nombre;
    EXPECT_EQ(bin.substr(2, 4), c.err[0] == '\0' ? "PE01" : "Nuev") << c.nombre;
  }
}

}  // namespace
}  // namespace tolvar::prueba
