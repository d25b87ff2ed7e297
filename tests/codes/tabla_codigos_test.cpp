#include <gtest/gtest.h>

#include "codes/tabla_codigos.h"
#include "core/error_conversion.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

// The .err of a drawing whose points lie on the given layers, with the given table, and
// the codes their records carry.
struct clasificacion {
  std::vector<std::string> codigos;
  std::string err;
};

clasificacion clasifica(std::string_view tabla, std::initializer_list<std::string_view> capas) {
  directorio_prueba d(tabla);
  std::string s;
  for (std::string_view c : capas) {
    s += dibujo({"  0", "POINT", "  8"});
    s += c;
    s += "\r\n";
    s += dibujo({" 10", "1", " 20", "4000000", " 30", "0"});
  }
  d.pon("a.dxf", s);
  d.convierte();
  clasificacion r;
  const std::string bin = d.lee("a.bin");
  for (std::size_t i = 0; i + 60 <= bin.size(); i += 60) {
    std::string cod = bin.substr(i + 2, 7);
    cod.erase(cod.find_last_not_of('\0') + 1);
    r.codigos.push_back(cod);
  }
  r.err = d.lee("a.err");
  return r;
}

TEST(ProcesaCodigo, la_primera_fila_cuyo_texto_esta_en_la_capa) {
  const std::string tabla = "  VI00001   CURVA NIVEL \r\nA1 CAMINO\r\nA2 CAMINO RURAL\r\nR RIO\r\nC CARR\r\n";
  const clasificacion r = clasifica(tabla, {"CURVA NIVEL 5", "CURVA  NIVEL", "CAMINO RURAL", "rio", "RIO",
                                            "SUBCARRIL", "CARRETERA", "", "CURVA  NIVEL"});
  EXPECT_EQ(r.codigos, (std::vector<std::string>{"VI00001", "Nuevo", "A1", "Nuevo", "R", "C", "C", "Nuevo",
                                                 "Nuevo"}));
  EXPECT_EQ(r.err, "CURVA  NIVEL\r\nrio\r\n\r\nCURVA  NIVEL\r\n");
}

TEST(ProcesaCodigo, con_tabla_vacia_todo_es_nuevo_y_se_lista) {
  const clasificacion r = clasifica("", {"A", "B, con coma", "A"});
  EXPECT_EQ(r.codigos, (std::vector<std::string>{"Nuevo", "Nuevo", "Nuevo"}));
  EXPECT_EQ(r.err, "A\r\nB, con coma\r\nA\r\n");
}

TEST(CargaTab, lee_codigo_espacio_y_texto_de_capa) {
  const struct {
    const char* nombre;
    std::string tabla;
    std::vector<std::pair<std::string, std::string>> filas;
  } casos[] = {
      {"ejemplo", "  VI00001   CURVA NIVEL \r\n", {{"VI00001", "CURVA NIVEL"}}},
      {"tabulador_es_un_caracter", "A\tB C\tD\r\n", {{"A\tB", "C\tD"}}},
      {"ultima_sin_fin_de_linea", "A X\r\nB Y", {{"A", "X"}, {"B", "Y"}}},
      {"finales_lf_y_cr", "A X\nB Y\rC Z\n", {{"A", "X"}, {"B", "Y"}, {"C", "Z"}}},
      {"vacia", "", {}},
  };
  for (const auto& c : casos) {
    ficheros_memoria fs;
    fs.pon("t", c.tabla);
    tabla_codigos t;
    t.carga(*fs.abre("t"), "t");
    std::vector<std::pair<std::string, std::string>> filas;
    for (const fila_codigo& f : t.filas()) filas.emplace_back(f.codigo, f.capa);
    EXPECT_EQ(filas, c.filas) << c.nombre;
    EXPECT_EQ(t.num_tab(), static_cast<std::int16_t>(c.filas.size())) << c.nombre;
  }
}

TEST(CargaTab, rechaza_lineas_sin_espacio_nombrando_fichero_y_linea) {
  const struct {
    const char* nombre;
    std::string tabla;
    int numero;
    std::int64_t num_linea;
  } casos[] = {
      {"linea_en_blanco_al_final", "A X\r\n\r\n", argumento_no_valido, 2},
      {"linea_de_espacios", "A X\r\n   \r\nB Y\r\n", argumento_no_valido, 2},
      {"codigo_sin_texto", "A X\r\nB  \r\n", argumento_no_valido, 2},
      {"solo_tabulador", "A\tX\r\n", argumento_no_valido, 1},
      {"espacio_en_la_posicion_32767", "  " + std::string(32766, 'c') + " X\r\n", desbordamiento, 1},
      {"el_primer_fallo_cuenta", "A\r\n" + std::string(40000, 'c') + " X\r\n", argumento_no_valido, 1},
  };
  for (const auto& c : casos) {
    ficheros_memoria fs;
    fs.pon("d/dxfbin.tab", c.tabla);
    tabla_codigos t;
    try {
      t.carga(*fs.abre("d/dxfbin.tab"), "d/dxfbin.tab");
      ADD_FAILURE() << c.nombre << ": accepted";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), c.numero) << c.nombre;
      EXPECT_EQ(e.num_linea(), c.num_linea) << c.nombre;
      EXPECT_EQ(e.fichero().generic_string(), "d/dxfbin.tab") << c.nombre;
    }
  }
  // Position 32,766 is still a place for the first space.
  ficheros_memoria fs;
  fs.pon("t", std::string(32765, 'c') + " X");
  tabla_codigos t;
  t.carga(*fs.abre("t"), "t");
  EXPECT_EQ(t.filas().at(0).codigo.size(), 32765u);
}

TEST(CargaTab, mas_de_32767_lineas_es_desbordamiento_aunque_haya_lineas_malas) {
  std::string tabla = "malo\r\n";
  for (int i = 0; i < 32767; ++i) tabla += "A B\r\n";
  ficheros_memoria fs;
  fs.pon("t", tabla);
  tabla_codigos t;
  try {
    t.carga(*fs.abre("t"), "t");
    FAIL();
  } catch (const error_conversion& e) {
    EXPECT_EQ(e.numero(), desbordamiento);
  }
  tabla.erase(0, 6);  // exactly 32,767 rows
  fs.pon("t", tabla);
  t.carga(*fs.abre("t"), "t");
  EXPECT_EQ(t.num_tab(), 32767);
}

TEST(CargaTab, cada_dibujo_lee_la_tabla_de_su_directorio_de_nuevo) {
  ficheros_memoria fs;
  vista_registro vista;
  conversor c(vista, fs);
  const std::string punto = dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1", " 20", "4000000", " 30", "0"});
  fs.pon("x/dxfbin.tab", "X1 CAPA\r\nX2 OTRA\r\n");
  fs.pon("x/a.dxf", punto);
  fs.pon("y/dxfbin.tab", "Y1 CAPA\r\n");
  fs.pon("y/a.dxf", punto);
  c.estado().fich_dxf = "x/a.dxf";
  c.ProcesoLote();
  EXPECT_EQ(c.tabla().num_tab(), 2);
  c.estado().fich_dxf = "y/a.dxf";
  c.ProcesoLote();
  EXPECT_EQ(c.tabla().num_tab(), 1);
  EXPECT_EQ(fs.lee("x/a.bin")->substr(2, 2), "X1");
  EXPECT_EQ(fs.lee("y/a.bin")->substr(2, 2), "Y1");
}

}  // namespace
}  // namespace tolvar::prueba
