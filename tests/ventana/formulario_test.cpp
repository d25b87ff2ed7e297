#include "ventana/formulario.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "support/dibujos.h"
#include "support/ficheros_memoria.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using prueba::dibujo;
using prueba::hex;
using prueba::muestra_hex;
using prueba::nativa;
using ::testing::ElementsAre;

// A toolkit's window as the behaviour sees it: the dialog gives the queued answers in turn,
// and every change a person would see is recorded in order.
class controles_grabados final : public controles {
 public:
  std::deque<fs::path> respuestas;
  std::vector<fs::path> anteriores;
  std::map<control, bool> marcados;
  // "Text1=0", "Label1 visible", "Command2 inactivo", "espera", "aviso TOLVAR: ...", "plano a, b"
  std::vector<std::string> vistas;
  std::vector<int> estados;

  fs::path elige_fichero(const fs::path& anterior) override {
    anteriores.push_back(anterior);
    if (respuestas.empty()) {
      ADD_FAILURE() << "the dialog was shown more often than expected";
      return {};
    }
    fs::path r = respuestas.front();
    respuestas.pop_front();
    return r;
  }
  void pon_texto(control c, const std::string& texto) override {
    vistas.push_back(std::string(descripcion(c).nombre) + "=" + texto);
  }
  void muestra(control c, bool visible) override {
    vistas.push_back(std::string(descripcion(c).nombre) + (visible ? " visible" : " oculto"));
  }
  void habilita(control c, bool activo) override {
    vistas.push_back(std::string(descripcion(c).nombre) + (activo ? " activo" : " inactivo"));
  }
  void abre_plano(const std::vector<fs::path>& bins) override {
    std::string v = "plano";
    for (const fs::path& b : bins) v += (v.size() == 5 ? " " : ", ") + b.generic_string();
    vistas.push_back(v);
  }
  bool marcado(control c) const override {
    const auto i = marcados.find(c);
    return i != marcados.end() && i->second;
  }
  void marca(control c, bool m) override { marcados[c] = m; }
  void puntero_espera(bool activo) override { vistas.push_back(activo ? "espera" : "normal"); }
  void avisa_error(const std::string& titulo, const std::string& texto) override {
    vistas.push_back("aviso " + titulo + ": " + texto);
  }
  void termina(int estado) override { estados.push_back(estado); }
};

// One POINT on layer CAPA at (1.5, 4000002.25, 0), and a LINE, which is read only on request.
const std::string punto_y_linea = dibujo(
    {"  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0.0",
     "  0", "LINE", "  8", "CAPA", " 10", "0.0", " 20", "4000000.0", " 30", "0.0",
     " 11", "1.0", " 21", "4000000.0", " 31", "0.0", "  0", "EOF"});
// The point's record without and with the attribute unit.
const std::string punto_sin_atr = hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"    // C=, code 0101, atr 0, one point
    "DC 05 00 00 CA 08 00 00 00 00 00 00"    // extent: min
    "DC 05 00 00 CA 08 00 00 00 00 00 00"    //         max
    "14 00 00 00 06 00 00 00 A5 07 00 00"    //         dato
    "DC 05 00 00 CA 08 00 00 00 00 00 00");  // the point (1500, 2250, 0)
const std::string punto_con_atr = hex(
    "43 3D 30 31 30 31 00 00 00 01 01 00"    // atr 1
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "01 00 00 00 00 00 32 30 31 20 20 20");  // ATR = 201

class formulario_con_dobles : public ::testing::Test {
 protected:
  formulario_con_dobles() {
    fs.pon("d/dxfbin.tab", "0101 CAPA\r\n");
    fs.pon("d/a.dxf", punto_y_linea);
    f.Form_Load();
    c.vistas.clear();
  }
  // Presses the button; the dialog gives `eleccion` (empty: cancelled).
  void pulsa(const fs::path& eleccion) {
    c.respuestas.push_back(eleccion);
    f.Command1_Click();
  }
  std::string lee(const std::string& ruta) const { return fs.lee(ruta).value_or("(none)"); }

  ficheros_memoria fs;
  controles_grabados c;
  formulario f{c, fs};
};

TEST_F(formulario_con_dobles, form_load_oculta_el_fin_y_deja_el_atributo_y_nada_mas) {
  controles_grabados nuevos;
  nuevos.marcados = {{control::Option2, true}, {control::Check1, true}, {control::Check2, true},
                     {control::Check3, true}};
  formulario otro{nuevos, fs};
  otro.Form_Load();
  EXPECT_THAT(nuevos.vistas, ElementsAre("Label1 oculto", "Command2 inactivo"));
  EXPECT_TRUE(nuevos.marcado(control::Option1));
  EXPECT_FALSE(nuevos.marcado(control::Option2));
  EXPECT_FALSE(nuevos.marcado(control::Check1));
  EXPECT_FALSE(nuevos.marcado(control::Check2));
  EXPECT_FALSE(nuevos.marcado(control::Check3));
  EXPECT_TRUE(otro.atributo_activado());
  nuevos.marca(control::Option1, false);
  EXPECT_FALSE(otro.atributo_activado());   // asked anew, never kept
}

// What a person sees during a batch of two drawings, in order (the wait pointer once), and
// the records the window's defaults give.
TEST_F(formulario_con_dobles, el_boton_convierte_el_directorio_y_lo_muestra_en_orden) {
  fs.pon("d/b.dxf", dibujo({"  0", "EOF"}));
  pulsa("d/b.dxf");
  EXPECT_THAT(c.anteriores, ElementsAre(fs::path()));
  const std::string a_bin = nativa("d/a.bin"), a_err = nativa("d/a.err");
  const std::string b_bin = nativa("d/b.bin"), b_err = nativa("d/b.err");
  EXPECT_THAT(c.vistas,
              ElementsAre("Command2 inactivo", "espera", "Text1=0", "Text2=0", "Text3=0", "Label7=",
                          "Text1=0", "Text2=1", "Text3=0", "Label7=Entidades omitidas : 1 LINE",
                          "Label5=Creado el fichero : " + a_bin,
                          "Label6=Creado el fichero : " + a_err,
                          "Text1=0", "Text2=0", "Text3=0", "Label7=",
                          "Text1=0", "Text2=0", "Text3=0", "Label7=",
                          "Label5=Creado el fichero : " + b_bin,
                          "Label6=Creado el fichero : " + b_err,
                          "Label1 visible", "normal", "Command2 activo"));
  EXPECT_TRUE(c.estados.empty());
  EXPECT_EQ(muestra_hex(lee("d/a.bin")), muestra_hex(punto_con_atr));
  EXPECT_EQ(lee("d/a.err"), "");
}

TEST_F(formulario_con_dobles, las_opciones_marcadas_al_pulsar_llegan_al_conversor) {
  c.marca(control::Option1, false);
  c.marca(control::Option2, true);
  c.marca(control::Check1, true);
  c.marca(control::Check2, true);
  f.conv().opciones().tolerancia = 5.0;                       // not the window's to change
  f.conv().opciones().pagina_salida = pagina_codigos::ansi_1250;
  pulsa("d/a.dxf");
  const opciones_conversion& o = f.conv().opciones();
  EXPECT_TRUE(o.tambien.line && o.tambien.lwpolyline && o.tambien.mtext && o.tambien.insert &&
              o.tambien.circle && o.tambien.arc && o.tambien.ellipse && o.tambien.face3d &&
              o.tambien.solid && o.tambien.trace);
  EXPECT_TRUE(o.arcos);
  EXPECT_EQ(o.pagina_salida, pagina_codigos::ansi_1252);
  EXPECT_EQ(o.tolerancia, tolerancia_por_defecto);
  EXPECT_FALSE(o.bloques);
  // The LINE, read, is a two-point polyline after the point; nothing was left out.
  EXPECT_EQ(muestra_hex(lee("d/a.bin")), muestra_hex(punto_sin_atr + hex(
      "43 3D 30 31 30 31 00 00 00 00 02 00"    // C=, code 0101, atr 0, two points
      "00 00 00 00 00 00 00 00 00 00 00 00"    // extent: min (0, 0, 0)
      "E8 03 00 00 00 00 00 00 00 00 00 00"    //         max (1000, 0, 0)
      "14 00 00 00 06 00 00 00 A5 07 00 00"    //         dato
      "00 00 00 00 00 00 00 00 00 00 00 00"    // (0, 0, 0)
      "E8 03 00 00 00 00 00 00 00 00 00 00"))); // (1000, 0, 0)
  EXPECT_EQ(c.vistas.rbegin()[5], "Label7=");

  // Unticked for the next press: the other kinds and the arcs are off again.
  c.marca(control::Check1, false);
  c.marca(control::Check2, false);
  pulsa({});
  EXPECT_FALSE(f.conv().opciones().tambien.line);
  EXPECT_FALSE(f.conv().opciones().arcos);
  EXPECT_EQ(muestra_hex(lee("d/a.bin")), muestra_hex(punto_sin_atr));
}

TEST_F(formulario_con_dobles, cancelar_el_primer_dialogo_no_hace_nada) {
  pulsa({});
  EXPECT_TRUE(c.vistas.empty());
  EXPECT_TRUE(f.conv().estado().fich_dxf.empty());
  EXPECT_FALSE(fs.lee("d/a.bin").has_value());
}

TEST_F(formulario_con_dobles, cancelar_despues_reconvierte_el_directorio_de_antes) {
  pulsa("d/a.dxf");
  fs.contenido.erase("d/a.bin");
  c.vistas.clear();
  pulsa({});
  EXPECT_THAT(c.anteriores, ElementsAre(fs::path(), fs::path("d/a.dxf")));
  EXPECT_EQ(muestra_hex(lee("d/a.bin")), muestra_hex(punto_con_atr));
  ASSERT_FALSE(c.vistas.empty());
  EXPECT_EQ(c.vistas.front(), "Command2 inactivo");
  EXPECT_EQ(c.vistas.back(), "Command2 activo");
}

// A failure: the pointer back first, then the box in Spanish, then the end with the number.
// The table is loaded before the wait pointer is asked for.
TEST_F(formulario_con_dobles, un_fallo_avisa_en_espanol_y_termina_con_su_numero) {
  const struct {
    const char* nombre;
    const char* eleccion;
    std::vector<std::string> vistas;
    int estado;
  } casos[] = {
      {"sin_tabla", "sin/a.dxf",
       {"Command2 inactivo", "aviso TOLVAR: Error 53 (no se ha encontrado el fichero): no se puede abrir el fichero: " +
        std::make_error_code(std::errc::no_such_file_or_directory).message() + " -- " +
        nativa("sin/dxfbin.tab")},
       53},
      {"dibujo_cortado", "corto/c.dxf",
       {"Command2 inactivo", "espera", "Text1=0", "Text2=0", "Text3=0", "Label7=", "normal",
        "aviso TOLVAR: Error 62 (se ha leído más allá del final del fichero): el dibujo termina "
        "dentro de un POINT -- " + nativa("corto/c.dxf") + ", línea 2"},
       62},
  };
  fs.pon("sin/a.dxf", punto_y_linea);
  fs.pon("corto/dxfbin.tab", "0101 CAPA\r\n");
  fs.pon("corto/c.dxf", "  0\r\nPOINT\r\n");
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    controles_grabados otros;
    formulario otro{otros, fs};
    otros.respuestas.push_back(caso.eleccion);
    otro.Command1_Click();
    EXPECT_EQ(otros.vistas, caso.vistas);
    EXPECT_THAT(otros.estados, ElementsAre(caso.estado));
  }
}

// A disk that fails in a way no conversion error describes.
class disco_sin_memoria final : public ficheros {
 public:
  std::unique_ptr<fuente> abre(const fs::path&) override { throw std::bad_alloc(); }
  std::unique_ptr<sumidero> crea(const fs::path&) override { throw std::bad_alloc(); }
  std::vector<fs::path> lista(const fs::path&) override { throw std::bad_alloc(); }
};

TEST(formulario, otro_fallo_avisa_y_termina_con_1) {
  controles_grabados c;
  disco_sin_memoria disco;
  formulario f{c, disco};
  c.respuestas.push_back("d/a.dxf");
  f.Command1_Click();
  ASSERT_EQ(c.vistas.size(), 2u);
  EXPECT_EQ(c.vistas[1].rfind("aviso TOLVAR: Error 1: ", 0), 0u) << c.vistas[1];
  EXPECT_THAT(c.estados, ElementsAre(1));
}

// The map's button: off until a batch writes a .bin, off again while the next runs, on after
// it when it wrote one, a failure included; it opens the batch's files in batch order.
TEST_F(formulario_con_dobles, ver_plano_tras_un_lote_que_escribio_algun_bin) {
  fs.pon("d/b.dxf", dibujo({"  0", "EOF"}));
  fs.pon("mal/dxfbin.tab", "0101 CAPA\r\n");
  fs.pon("mal/a.dxf", punto_y_linea);
  fs.pon("mal/b.dxf", "  0\r\nPOINT\r\n");
  fs.pon("sin/a.dxf", punto_y_linea);
  const struct {
    const char* nombre;
    const char* eleccion;
    const char* primera;      // the first change of the button, with the batch
    const char* ultima;       // the last
    const char* plano;        // what the button then opens
  } casos[] = {
      {"dos_dibujos", "d/a.dxf", "Command2 inactivo", "Command2 activo", "plano d/a.bin, d/b.bin"},
      {"falla_el_segundo", "mal/b.dxf", "Command2 inactivo", "Command2 activo", "plano mal/a.bin"},
      {"falla_antes_de_escribir", "sin/a.dxf", "Command2 inactivo", "Command2 inactivo", nullptr},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.nombre);
    controles_grabados otros;
    formulario otro{otros, fs};
    otros.respuestas.push_back(caso.eleccion);
    otro.Command1_Click();
    std::vector<std::string> boton;
    for (const std::string& v : otros.vistas)
      if (v.rfind("Command2", 0) == 0) boton.push_back(v);
    ASSERT_FALSE(boton.empty());
    EXPECT_EQ(boton.front(), caso.primera);
    EXPECT_EQ(boton.back(), caso.ultima);
    otros.vistas.clear();
    otro.Command2_Click();
    if (caso.plano == nullptr) {
      EXPECT_TRUE(otros.vistas.empty());
    } else {
      EXPECT_THAT(otros.vistas, ElementsAre(caso.plano));
    }
  }
}

TEST_F(formulario_con_dobles, la_tercera_casilla_pide_los_bloques) {
  for (const bool marcada : {true, false}) {
    c.marca(control::Check3, marcada);
    pulsa("d/a.dxf");
    EXPECT_EQ(f.conv().opciones().bloques, marcada);
  }
}

TEST(formulario, textos_de_la_casilla_y_de_las_rutas) {
  EXPECT_EQ(tipos_de_la_casilla(),
            "LWPOLYLINE, LINE, MTEXT, INSERT, CIRCLE, ARC, ELLIPSE, 3DFACE, SOLID, TRACE, SPLINE, "
            "HATCH y LEADER");
  EXPECT_EQ(texto_ventana(fs::path(u8"C:/Mapas/dir_ñí/a.bin")), nativa("C:/Mapas/dir_ñí/a.bin"));
}

// Twips to pixels at the usual resolutions: 15 twips a pixel at 96 per inch, halves up.
TEST(formulario, pixeles_de_twips) {
  const struct {
    int twips, ppp, pixeles;
  } casos[] = {
      {7635, 96, 509}, {5475, 96, 365}, {14, 96, 1},  {7, 96, 0},      {0, 144, 0},
      {1455, 120, 121}, {1455, 144, 146}, {7635, 144, 764}, {7635, 192, 1018}, {-15, 96, -1},
  };
  for (const auto& c : casos)
    EXPECT_EQ(pixeles(c.twips, c.ppp), c.pixeles) << c.twips << " twips at " << c.ppp;
}

}  // namespace
}  // namespace tolvar
