#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/error_conversion.h"
#include "core/ficheros.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

using ::testing::ElementsAre;

const std::string vacio = dibujo({"  0", "EOF"});

std::vector<std::string> ficheros_creados(const vista_registro& v) {
  std::vector<std::string> r;
  for (const std::string& l : v.llamadas)
    if (l.rfind("Creado el fichero : ", 0) == 0 && l.size() > 4 && l.substr(l.size() - 4) == ".bin")
      r.push_back(l.substr(20));
  return r;
}

TEST(ProcesoLote, convierte_los_dxf_del_directorio_en_orden_de_bytes) {
  directorio_prueba d;
  for (const char* n : {"b.dxf", "B.dxf", "a.DXF", "c.txt", "dxf", "x.dxf.bak", "Z.dXf"}) d.pon(n, vacio);
  d.pon("otro/e.dxf", vacio);  // a subdirectory is not walked
  d.fs.pon("e.dxf", vacio);    // nor the parent
  d.convierte("c.txt");        // the chosen file only names the directory
  EXPECT_THAT(ficheros_creados(d.vista), ElementsAre("d/B.bin", "d/Z.bin", "d/a.bin", "d/b.bin"));
  EXPECT_EQ(d.conv.estado().fich_dxf.generic_string(), "d/b.dxf");
}

TEST(ProcesoLote, sin_eleccion_no_hace_nada) {
  directorio_prueba d;
  d.pon("a.dxf", vacio);
  d.conv.ProcesoLote();
  EXPECT_TRUE(d.vista.llamadas.empty());
  EXPECT_FALSE(d.existe("a.bin"));
}

TEST(ProcesoLote, un_directorio_sin_dibujos_termina_igual) {
  directorio_prueba d;
  d.pon("notas.txt", "x");
  d.convierte("notas.txt");
  EXPECT_THAT(d.vista.llamadas, ElementsAre("fin", "normal"));
  EXPECT_EQ(d.conv.estado().fich_dxf.generic_string(), "d/notas.txt");
}

TEST(ProcesoLote, repetir_la_eleccion_reconvierte_el_directorio) {
  directorio_prueba d;
  d.pon("a.dxf", vacio);
  d.convierte();
  d.vista.llamadas.clear();
  d.conv.ProcesoLote();  // a cancelled dialog keeps fich_dxf
  EXPECT_THAT(ficheros_creados(d.vista), ElementsAre("d/a.bin"));
}

TEST(ProcesoLote, mil_dibujos_si_y_mil_uno_no) {
  for (const int n : {1000, 1001}) {
    directorio_prueba d;
    for (int i = 0; i < n; ++i) d.pon("p" + std::to_string(10000 + i) + ".dxf", vacio);
    if (n == 1000) {
      d.convierte("p10000.dxf");
      EXPECT_EQ(ficheros_creados(d.vista).size(), 1000u);
      continue;
    }
    try {
      d.convierte("p10000.dxf");
      ADD_FAILURE() << "1001 drawings accepted";
    } catch (const error_conversion& e) {
      EXPECT_EQ(e.numero(), subindice_fuera_de_rango);
    }
    EXPECT_FALSE(d.existe("p10000.bin")) << "converted before refusing the batch";
  }
}

TEST(ProcesoLote, un_fallo_a_medio_lote_conserva_los_dibujos_anteriores) {
  directorio_prueba d;
  d.pon("a.dxf", vacio);
  d.pon("b.dxf", "");
  d.pon("c.dxf", vacio);
  EXPECT_THROW(d.convierte(), error_conversion);
  EXPECT_TRUE(d.existe("a.bin"));
  EXPECT_TRUE(d.existe("b.bin"));
  EXPECT_FALSE(d.existe("c.bin"));
}

// The listing itself is the system's: on the disk, in a temporary directory of its own.
class ProcesoLote_disco : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tolvar_lote_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "sub.dxf");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void escribe(const std::string& nombre, const std::string& datos) {
    std::ofstream(dir_ / nombre, std::ios::binary) << datos;
  }
  std::filesystem::path dir_;
};

TEST_F(ProcesoLote_disco, lista_ficheros_corrientes_no_ocultos_con_extension_dxf) {
  escribe("dxfbin.tab", "0101 CAPA\r\n");
  escribe("b.dxf", vacio);
  escribe("A.DXF", vacio);
  escribe(".oculto.dxf", vacio);
  ficheros_disco disco;
  vista_registro vista;
  conversor c(vista, disco);
  c.ProcesoDirectorio(dir_);
  ASSERT_EQ(ficheros_creados(vista).size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "A.bin"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "b.err"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / ".oculto.bin"));
}

// Past its first buffer a disk file is written by a second thread while the next buffer
// fills; pieces of every size, one larger than a buffer, must land whole and in order, both
// when the file is closed and when it is dropped after a failure.
TEST_F(ProcesoLote_disco, un_fichero_de_muchos_buffers_se_escribe_entero_y_en_orden) {
  const std::size_t tamanos[] = {1, 12, 4000, 100000, 300000, 7, 65536};
  std::string esperado;
  std::vector<std::string> trozos;
  for (int i = 0; esperado.size() < (std::size_t{3} << 20); ++i) {
    trozos.emplace_back(tamanos[static_cast<std::size_t>(i) % std::size(tamanos)],
                        static_cast<char>('a' + i % 26));
    esperado += trozos.back();
  }
  for (const bool cerrado : {true, false}) {
    const std::filesystem::path ruta = dir_ / (cerrado ? "cerrado.bin" : "sin_cerrar.bin");
    {
      ficheros_disco disco;
      const std::unique_ptr<sumidero> s = disco.crea(ruta);
      for (const std::string& t : trozos) s->escribe(t);
      if (cerrado) s->cierra();
    }
    std::ifstream f(ruta, std::ios::binary);
    const std::string escrito((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(escrito.size(), esperado.size()) << ruta;
    EXPECT_TRUE(escrito == esperado) << ruta;
  }
}

}  // namespace
}  // namespace tolvar::prueba
