#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/aplicacion.h"
#include "core/texto.h"
#include "support/registros_prueba.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

// The commands read and write real files: each test gets its own directory.
class cli_herramientas : public ::testing::Test {
 protected:
  void SetUp() override {
    // Random too: other build trees may run the same test at the same moment.
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device azar;
    dir_ = fs::temp_directory_path() / ruta_de_texto(std::string("tolvar_herramientas_ñí_ł_") +
                                                     info->name() + "_" + std::to_string(azar()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path pon(const std::string& nombre, const std::string& bytes) {
    const fs::path p = dir_ / nombre;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  std::string lee(const std::string& nombre) {
    std::ifstream f(dir_ / nombre, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  // In UTF-8, as tolvar-cli takes its arguments.
  std::string ruta(const std::string& nombre) const { return texto_ruta(dir_ / nombre); }

  int ejecuta(const std::vector<std::string>& argumentos) {
    salida_.str("");
    errores_.str("");
    return ejecuta_cli(argumentos, salida_, errores_);
  }

  fs::path dir_;
  std::ostringstream salida_, errores_;
};

TEST_F(cli_herramientas, dump_escribe_cada_registro_y_acaba_con_0) {
  pon("a.bin", prueba::registro_point() + prueba::registro_text_abc());
  EXPECT_EQ(ejecuta({"dump", ruta("a.bin")}), 0) << errores_.str();
  EXPECT_NE(salida_.str().find("\nrecord 2 at offset 60 (84 bytes): T= cod \"0101\""),
            std::string::npos)
      << salida_.str();
  EXPECT_NE(salida_.str().find("\n2 records, 144 bytes\n"), std::string::npos);
  EXPECT_EQ(errores_.str(), "");
}

TEST_F(cli_herramientas, dump_json_es_un_documento_que_se_puede_leer) {
  pon("a.bin", prueba::registro_point() + prueba::registro_text_abc());
  EXPECT_EQ(ejecuta({"dump", "--json", ruta("a.bin")}), 0) << errores_.str();
  const nlohmann::json j = nlohmann::json::parse(salida_.str());
  ASSERT_EQ(j["records"].size(), 2u);
  EXPECT_EQ(j["records"][1]["text"], "ABC");
  EXPECT_EQ(j["records"][0]["points"][0]["units"][1], 4000002.25);
  EXPECT_TRUE(j["error"].is_null());
}

TEST_F(cli_herramientas, dump_de_un_fichero_roto_da_su_numero_y_el_desplazamiento) {
  const struct {
    const char* nombre;
    std::string cola;
    int estado;
  } casos[] = {
      {"cortado", prueba::hex("43 3D 30 31"), 62},
      {"atr_invalido", prueba::hex("43 3D 30 31 30 31 00 00 00 05 01 00"), 1},
  };
  for (const auto& c : casos) {
    pon("roto.bin", prueba::registro_point() + c.cola);
    EXPECT_EQ(ejecuta({"dump", ruta("roto.bin")}), c.estado) << c.nombre;
    EXPECT_NE(salida_.str().find("\nrecord 1 at offset 0 (60 bytes)"), std::string::npos)
        << c.nombre;
    EXPECT_NE(errores_.str().find("record 2 at offset 60 "), std::string::npos)
        << c.nombre << ": " << errores_.str();
    EXPECT_NE(errores_.str().find("roto.bin\n"), std::string::npos) << errores_.str();
  }
}

TEST_F(cli_herramientas, dump_de_un_fichero_que_no_existe_es_53) {
  EXPECT_EQ(ejecuta({"dump", ruta("no.bin")}), 53);
  EXPECT_NE(errores_.str().find("cannot open the file"), std::string::npos) << errores_.str();
}

TEST_F(cli_herramientas, render_escribe_el_svg) {
  pon("a.bin", prueba::registro_point() + prueba::registro_polyline_cerrada());
  EXPECT_EQ(ejecuta({"render", ruta("a.bin"), "-o", ruta("a.svg")}), 0) << errores_.str();
  const std::string svg = lee("a.svg");
  EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u) << svg;
  EXPECT_NE(svg.find("<polyline class=\"c1\""), std::string::npos);
  EXPECT_EQ(salida_.str(), "");
}

TEST_F(cli_herramientas, render_de_un_fichero_roto_deja_el_svg_y_da_62) {
  pon("a.bin", prueba::registro_point() + prueba::hex("43 3D"));
  EXPECT_EQ(ejecuta({"render", ruta("a.bin"), "--output", ruta("a.svg")}), 62);
  EXPECT_NE(lee("a.svg").find("<circle "), std::string::npos);
  EXPECT_NE(errores_.str().find("record 2 at offset 60 is cut short"), std::string::npos);
}

TEST_F(cli_herramientas, una_linea_de_ordenes_mal_formada_es_1) {
  pon("a.bin", prueba::registro_point());
  const struct {
    const char* nombre;
    std::vector<std::string> argumentos;
    const char* mensaje;
  } casos[] = {
      {"sin_nada", {}, "PATH is required"},
      {"render_sin_salida", {"render", ruta("a.bin")}, "--output is required"},
      {"dump_sin_fichero", {"dump"}, "FILE is required"},
      {"ruta_y_subcomando", {ruta(""), "dump", ruta("a.bin")}, "belong to the conversion"},
      {"atr_y_subcomando", {"--no-atr", "dump", ruta("a.bin")}, "belong to the conversion"},
      {"opcion_desconocida", {"dump", "--xml", ruta("a.bin")}, "--xml"},
      {"svg_sobre_el_bin", {"render", ruta("a.bin"), "-o", ruta("./a.bin")}, "names the .bin itself"},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(ejecuta(c.argumentos), 1) << c.nombre;
    EXPECT_NE(errores_.str().find(c.mensaje), std::string::npos)
        << c.nombre << ": " << errores_.str();
  }
  EXPECT_EQ(lee("a.bin"), prueba::registro_point());
}

TEST_F(cli_herramientas, sin_subcomando_sigue_convirtiendo_el_directorio) {
  pon("dxfbin.tab", "0101 CAPA\r\n");
  pon("p.dxf", prueba::dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25",
                               " 30", "0.0", "  0", "EOF"}));
  EXPECT_EQ(ejecuta({"--no-atr", ruta("")}), 0) << errores_.str();
  EXPECT_EQ(lee("p.bin"), prueba::registro_point());
  EXPECT_NE(salida_.str().find("Proceso Finalizado."), std::string::npos) << salida_.str();
}

}  // namespace
}  // namespace tolvar
