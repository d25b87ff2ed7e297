#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/omitidas.h"

namespace tolvar {
namespace {

TEST(entidades_omitidas, de_mas_a_menos_y_los_empates_por_sus_bytes) {
  const struct {
    std::vector<std::string> nombres;
    const char* texto;
  } casos[] = {
      {{}, ""},
      {{"LINE", "INSERT", "LINE", "LWPOLYLINE", "LINE", "LWPOLYLINE"}, "3 LINE, 2 LWPOLYLINE, 1 INSERT"},
      // Bytes, not letters: capitals before small letters, a byte above 127 after both, the
      // empty name before all.
      {{"line", "LINE", "\xD1", "", "ARC"}, "1 , 1 ARC, 1 LINE, 1 line, 1 \xD1"},
      {{"HATCH", "HATCH", "3DFACE", "3DFACE", "DIMENSION"}, "2 3DFACE, 2 HATCH, 1 DIMENSION"},
  };
  for (const auto& c : casos) {
    entidades_omitidas o;
    for (const std::string& n : c.nombres) o.anota(n);
    EXPECT_EQ(o.texto(), c.texto);
    EXPECT_EQ(o.vacia(), c.nombres.empty());
  }
}

// However many kinds a drawing names, the tally keeps a bounded number of them.
TEST(entidades_omitidas, pasado_el_limite_de_nombres_cuenta_los_nuevos_juntos) {
  entidades_omitidas o;
  for (std::size_t i = 0; i < entidades_omitidas::max_nombres; ++i) o.anota("K" + std::to_string(i));
  o.anota("K0");
  o.anota("NUEVO");
  o.anota("OTRO");
  const std::string t = o.texto();
  EXPECT_EQ(t.rfind("2 (otras), 2 K0, 1 K1, ", 0), 0u) << t.substr(0, 80);

  entidades_omitidas largos;
  const std::string largo(entidades_omitidas::max_bytes_nombres, 'L');
  largos.anota(largo);
  largos.anota("X");
  EXPECT_EQ(largos.texto(), "1 (otras), 1 " + largo);
  largos.borra();
  largos.anota("X");
  EXPECT_EQ(largos.texto(), "1 X");
}

}  // namespace
}  // namespace tolvar
