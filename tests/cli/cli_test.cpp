#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "cli/aplicacion.h"
#include "core/texto.h"
#include "support/dibujos.h"

namespace tolvar::prueba {
namespace {

namespace fs = std::filesystem;

class tolvar_cli : public ::testing::Test {
 protected:
  void SetUp() override {
    // Names outside Windows' ANSI code page too: the command line carries UTF-8.
    dir_ = fs::temp_directory_path() /
           ruta_de_texto("tolvar_cli_ñí_ł_" +
                         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void escribe(const std::string& nombre, const std::string& datos) {
    std::ofstream(dir_ / nombre, std::ios::binary) << datos;
  }
  std::string lee(const std::string& nombre) {
    std::ifstream f(dir_ / nombre, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
  }
  int ejecuta(std::vector<std::string> argumentos, idioma en = idioma::ingles) {
    salida_.str("");
    errores_.str("");
    return ejecuta_cli(argumentos, salida_, errores_, en);
  }

  fs::path dir_;
  std::ostringstream salida_, errores_;
};

const std::string punto = dibujo({"  0", "SECTION", "  2", "ENTITIES", "  0", "POINT", "  8", "CAPA", " 10", "1.5",
                                  " 20", "4000002.25", " 30", "0", "  0", "POINT", "  8", "RARA", " 30", "0",
                                  "  0", "ENDSEC", "  0", "EOF"});
const std::string registro_sin_atributo = hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00");

TEST_F(tolvar_cli, convierte_el_directorio_y_cuenta_lo_que_hizo) {
  escribe("dxfbin.tab", "0101 CAPA\n");
  escribe("plano.dxf", punto);
  escribe("otro.DXF", dibujo({"  0", "EOF"}));
  EXPECT_EQ(ejecuta({"--no-atr", texto_ruta(dir_)}), 0) << errores_.str();
  const std::string d = texto_ruta(dir_);
  EXPECT_EQ(salida_.str(),
            "POLYLINE leidas : 0\nPOINT leidos : 0\nTEXT leidos  : 0\n"
            "Creado el fichero : " + texto_ruta(dir_ / "otro.bin") + "\n"
            "Creado el fichero : " + texto_ruta(dir_ / "otro.err") + "\n"
            "POLYLINE leidas : 0\nPOINT leidos : 2\nTEXT leidos  : 0\n"
            "Creado el fichero : " + texto_ruta(dir_ / "plano.bin") + "\n"
            "Creado el fichero : " + texto_ruta(dir_ / "plano.err") + "\n"
            "Proceso Finalizado.\n");
  EXPECT_EQ(errores_.str(), "");
  std::string esperado = registro_sin_atributo;
  esperado += hex("43 3D 4E 75 65 76 6F 00 00 00 01 00"
                  "00 00 00 00 00 00 00 00 00 00 00 00"
                  "00 00 00 00 00 00 00 00 00 00 00 00"
                  "14 00 00 00 06 00 00 00 A5 07 00 00"
                  "00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(muestra_hex(lee("plano.bin")), muestra_hex(esperado));
  EXPECT_EQ(lee("plano.err"), "RARA\r\n");
  EXPECT_EQ(lee("otro.bin"), "");
}

TEST_F(tolvar_cli, un_dibujo_nombra_su_directorio_y_el_atributo_va_por_defecto) {
  escribe("dxfbin.tab", "0101 CAPA\r\n");
  escribe("plano.dxf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0"}));
  EXPECT_EQ(ejecuta({texto_ruta(dir_ / "plano.dxf")}), 0) << errores_.str();
  std::string esperado = registro_sin_atributo;
  esperado[9] = 1;
  esperado += hex("01 00 00 00 00 00 32 30 31 20 20 20");
  EXPECT_EQ(muestra_hex(lee("plano.bin")), muestra_hex(esperado));
  EXPECT_EQ(ejecuta({"--atr", texto_ruta(dir_ / "plano.dxf")}), 0);
  EXPECT_EQ(lee("plano.bin").size(), 72u);
  EXPECT_EQ(ejecuta({"--no-atr", texto_ruta(dir_ / "plano.dxf")}), 0);
  EXPECT_EQ(lee("plano.bin").size(), 60u);
  // The last of the two wins.
  EXPECT_EQ(ejecuta({"--no-atr", "--atr", texto_ruta(dir_)}), 0);
  EXPECT_EQ(lee("plano.bin").size(), 72u);
  EXPECT_EQ(ejecuta({"--atr", "--no-atr", texto_ruta(dir_)}), 0);
  EXPECT_EQ(lee("plano.bin").size(), 60u);
}

// A mistyped directory must not look like a conversion that worked, though nothing failed.
TEST_F(tolvar_cli, un_directorio_sin_dibujos_lo_dice) {
  escribe("dxfbin.tab", "0101 CAPA\r\n");
  escribe("notas.txt", "");
  for (const auto& [en, aviso] : {std::pair{idioma::ingles, "tolvar-cli: no .dxf drawing in "},
                                  std::pair{idioma::espanol, "tolvar-cli: ningún dibujo .dxf en "}}) {
    EXPECT_EQ(ejecuta({texto_ruta(dir_)}, en), 0);
    EXPECT_EQ(errores_.str(), aviso + texto_ruta(dir_) + "\n");
    EXPECT_EQ(salida_.str(), "Proceso Finalizado.\n");
  }
  // A file that is no drawing names its directory.
  EXPECT_EQ(ejecuta({texto_ruta(dir_ / "notas.txt")}), 0);
  EXPECT_EQ(errores_.str(), "tolvar-cli: no .dxf drawing in " + texto_ruta(dir_) + "\n");
}

TEST_F(tolvar_cli, un_fallo_sale_con_su_numero_y_lo_dice_en_stderr) {
  escribe("a.dxf", punto);
  EXPECT_EQ(ejecuta({texto_ruta(dir_)}), 53);
  EXPECT_NE(errores_.str().find("Error 53 (file not found)"), std::string::npos) << errores_.str();
  EXPECT_NE(errores_.str().find("dxfbin.tab"), std::string::npos) << errores_.str();
  EXPECT_EQ(salida_.str().find("Proceso Finalizado."), std::string::npos);

  escribe("dxfbin.tab", "0101 CAPA\r\n");
  escribe("a.dxf", dibujo({"  0", "POINT", " 10", "1,5"}));
  EXPECT_EQ(ejecuta({texto_ruta(dir_)}), 13);
  EXPECT_EQ(errores_.str(), "tolvar-cli: Error 13 (type mismatch): \"1,5\" is not a number -- " +
                                texto_ruta(dir_ / "a.dxf") + ", line 4\n");

  EXPECT_EQ(ejecuta({texto_ruta(dir_)}, idioma::espanol), 13);
  EXPECT_EQ(errores_.str(), "tolvar-cli: Error 13 (tipos no coinciden): \"1,5\" no es un número -- " +
                                texto_ruta(dir_ / "a.dxf") + ", línea 4\n");

  EXPECT_EQ(ejecuta({texto_ruta(dir_ / "no_existe.dxf")}), 53);
}

// The kinds read on request are counted after TEXT, what was left out after them, and both
// before the files created.
TEST_F(tolvar_cli, also_lee_mas_tipos_y_dice_lo_que_se_omitio) {
  escribe("dxfbin.tab", "0101 CAPA\r\n");
  escribe("plano.dxf", dibujo({"  0", "LINE", "  8", "CAPA", "  0", "LINE", "  8", "CAPA", "  0", "INSERT", "  8",
                               "CAPA", "  0", "HATCH", "  0", "MTEXT", "  0", "LWPOLYLINE", "  0", "EOF"}));
  const std::string d = texto_ruta(dir_);
  const std::string creados = "Creado el fichero : " + texto_ruta(dir_ / "plano.bin") + "\n" +
                              "Creado el fichero : " + texto_ruta(dir_ / "plano.err") + "\n" +
                              "Proceso Finalizado.\n";
  const std::string tres = "POLYLINE leidas : 0\nPOINT leidos : 0\nTEXT leidos  : 0\n";
  EXPECT_EQ(ejecuta({"--no-atr", d}), 0) << errores_.str();
  EXPECT_EQ(salida_.str(), tres + "Entidades omitidas : 2 LINE, 1 HATCH, 1 INSERT, 1 LWPOLYLINE, 1 MTEXT\n" + creados);
  // Names in any case, repeated or in two --also, add nothing more.
  EXPECT_EQ(ejecuta({"--no-atr", "--also", "line,Insert", "--also", "LINE", d}), 0) << errores_.str();
  EXPECT_EQ(salida_.str(), tres + "LINE leidas : 2\nINSERT leidos : 1\n" +
                               "Entidades omitidas : 1 HATCH, 1 LWPOLYLINE, 1 MTEXT\n" + creados);
  EXPECT_EQ(lee("plano.bin").size(), 2 * 72u + 60u);
  EXPECT_EQ(ejecuta({"--no-atr", "--also", "all", d}), 0) << errores_.str();
  EXPECT_EQ(salida_.str(), tres + "LWPOLYLINE leidas : 1\nLINE leidas : 2\nMTEXT leidos : 1\nINSERT leidos : 1\n" +
                               "CIRCLE leidos : 0\nARC leidos : 0\nELLIPSE leidas : 0\n3DFACE leidas : 0\n" +
                               "SOLID leidos : 0\nTRACE leidos : 0\nSPLINE leidos : 0\nHATCH leidos : 1\n" +
                               "LEADER leidos : 0\n" + creados);
  // Drawing the blocks reads every INSERT, and counts the DIMENSIONs last.
  EXPECT_EQ(ejecuta({"--no-atr", "--blocks", "--also", "line", d}), 0) << errores_.str();
  EXPECT_EQ(salida_.str(), tres + "LINE leidas : 2\nINSERT leidos : 1\nDIMENSION leidas : 0\n" +
                               "Entidades omitidas : 1 HATCH, 1 LWPOLYLINE, 1 MTEXT\n" + creados);
  EXPECT_EQ(ejecuta({"--no-atr", "--also", "3dface,trace", "--arcs", "--tolerance", "0.5", d}), 0);
  EXPECT_EQ(salida_.str(), tres + "3DFACE leidas : 0\nTRACE leidos : 0\n" +
                               "Entidades omitidas : 2 LINE, 1 HATCH, 1 INSERT, 1 LWPOLYLINE, 1 MTEXT\n" + creados);
  for (const std::vector<std::string>& mala :
       {std::vector<std::string>{"--also", "IMAGE", d}, {"--also", "LINE,", d}, {"--also", d},
        {"--codepage", "ANSI_932", d}, {"--codepage", "1252", d}, {"dump", "--also", "LINE", d},
        {"--tolerance", "0", d}, {"--tolerance", "-0.1", d}, {"--tolerance", "0,5", d},
        {"--tolerance", "1e999", d}, {"--tolerance", d}, {"dump", "--arcs", d}, {"dump", "--blocks", d}}) {
    EXPECT_EQ(ejecuta(mala), 1) << mala[1];
    EXPECT_FALSE(errores_.str().empty());
  }
}

// The .bin, the .err and the table in another code page: a UTF-8 drawing and table into 1250.
TEST_F(tolvar_cli, codepage_elige_la_pagina_de_salida) {
  escribe("dxfbin.tab", "LO01 \xC5\x81\xC3\xB3" "d\xC5\xBA\r\n");
  escribe("plano.dxf", dibujo({"  0", "TEXT", "  8", "\xC5\x81\xC3\xB3" "d\xC5\xBA", "  1", "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x82\xAC \xC3\x91"}));
  EXPECT_EQ(ejecuta({"--no-atr", "--codepage", "ansi_1250", texto_ruta(dir_)}), 0) << errores_.str();
  const std::string bin = lee("plano.bin");
  ASSERT_EQ(bin.size(), 72u);
  EXPECT_EQ(bin.substr(2, 4), "LO01");
  EXPECT_EQ(muestra_hex(bin.substr(60)), "A3 F3 64 9F 20 80 20 3F 00 20 20 20");  // Łódź € ?
  EXPECT_EQ(lee("plano.err"), "");
  // In the default Windows-1252 the text loses Ł and ź, and so do the layer and the table's
  // line alike.
  EXPECT_EQ(ejecuta({"--no-atr", texto_ruta(dir_)}), 0) << errores_.str();
  EXPECT_EQ(muestra_hex(lee("plano.bin").substr(60)), "3F F3 64 3F 20 80 20 D1 00 20 20 20");
  EXPECT_EQ(lee("plano.bin").substr(2, 4), "LO01");
}

TEST(idioma_de_locale, el_primero_puesto_de_lc_all_lc_messages_y_lang_decide) {
  const struct {
    const char *lc_all, *lc_messages, *lang;
    idioma esperado;
  } casos[] = {
      {"", "", "", idioma::ingles},
      {"", "", "es_ES.UTF-8", idioma::espanol},
      {"", "es_MX", "en_US.UTF-8", idioma::espanol},
      {"es", "en_GB", "en_US", idioma::espanol},
      {"C", "es_ES", "es_ES", idioma::ingles},
      {"", "", "eu_ES", idioma::ingles},
      {"", "", "C.UTF-8", idioma::ingles},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(idioma_de_locale(c.lc_all, c.lc_messages, c.lang), c.esperado)
        << c.lc_all << "|" << c.lc_messages << "|" << c.lang;
  }
}

TEST_F(tolvar_cli, ayuda_version_y_linea_de_ordenes_mala) {
  EXPECT_EQ(ejecuta({"--help"}), 0);
  // The two options of the attribute plainly, each on a line of its own.
  const std::string ayuda = salida_.str();
  EXPECT_EQ(ayuda.find("{false}"), std::string::npos) << ayuda;
  for (const char* opcion : {"\n  --atr ", "\n  --no-atr "})
    EXPECT_NE(ayuda.find(opcion), std::string::npos) << opcion << " in\n" << ayuda;
  EXPECT_NE(salida_.str().find("PATH"), std::string::npos);
  EXPECT_EQ(ejecuta({"--version"}), 0);
  EXPECT_EQ(salida_.str().rfind("tolvar-cli ", 0), 0u) << salida_.str();
  EXPECT_EQ(ejecuta({}), 1);
  EXPECT_FALSE(errores_.str().empty());
  EXPECT_EQ(ejecuta({"--colores", texto_ruta(dir_)}), 1);
}

// Steps from record to record by their lengths, as the programs that read the files do.
int cuenta_registros(const std::string& bin) {
  int n = 0;
  std::size_t i = 0;
  while (i + 48 <= bin.size()) {
    const auto num_elem = static_cast<std::size_t>(static_cast<unsigned char>(bin[i + 10]) |
                                                   (static_cast<unsigned char>(bin[i + 11]) << 8));
    i += 48 + 12 * num_elem + (bin[i + 9] == 1 ? 12 : 0);
    ++n;
  }
  return i == bin.size() ? n : -1;
}

TEST_F(tolvar_cli, el_directorio_de_ejemplo) {
  for (const auto& f : fs::directory_iterator(TOLVAR_EJEMPLOS))
    if (f.path().extension() == ".dxf" || f.path().extension() == ".tab")
      fs::copy_file(f.path(), dir_ / f.path().filename());
  EXPECT_EQ(ejecuta({texto_ruta(dir_)}), 0) << errores_.str();
  EXPECT_NE(salida_.str().find("POLYLINE leidas : 6\nPOINT leidos : 4\nTEXT leidos  : 4\n"), std::string::npos)
      << salida_.str();
  // Exactly the layers that dxfbin.tab leaves out, once per entity on them.
  EXPECT_EQ(lee("plano_norte.err"), "CERCA\r\nARBOL AISLADO\r\nARBOL AISLADO\r\n");
  EXPECT_EQ(lee("plano_sur.err"), "");
  const std::string norte = lee("plano_norte.bin");
  EXPECT_EQ(cuenta_registros(norte), 14);
  EXPECT_EQ(cuenta_registros(lee("plano_sur.bin")), 4);
  // The first contour line: code VI00001, four vertices, with the attribute unit.
  EXPECT_EQ(muestra_hex(norte.substr(0, 108)),
            muestra_hex(hex("43 3D 56 49 30 30 30 30 31 01 04 00"
                            "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00"
                            "9C 3E F6 1A 30 31 0A 1C E0 C8 10 00"
                            "14 00 00 00 06 00 00 00 A5 07 00 00"
                            "1D 80 F2 1A 64 5E 08 1C E0 C8 10 00"
                            "0E BB F3 1A 32 0D 09 1C E0 C8 10 00"
                            "A0 F0 F4 1A 3B C7 09 1C E0 C8 10 00"
                            "9C 3E F6 1A 30 31 0A 1C E0 C8 10 00"
                            "01 00 00 00 00 00 32 30 31 20 20 20")));
}

}  // namespace
}  // namespace tolvar::prueba
