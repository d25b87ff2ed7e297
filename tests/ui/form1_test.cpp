#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QCursor>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/error_conversion.h"
#include "core/texto.h"
#include "support/dibujos.h"
#include "ui/form1.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using prueba::dibujo;
using prueba::hex;
using prueba::muestra_hex;

// A directory of its own under the system's temporary directory, removed afterwards.
class directorio_temporal {
 public:
  directorio_temporal() {
    std::random_device azar;
    ruta_ = fs::temp_directory_path() /
            ("tolvar_ui_" + std::to_string(azar()) + "_" + std::to_string(azar()));
    fs::create_directories(ruta_);
  }
  ~directorio_temporal() {
    std::error_code ec;
    fs::remove_all(ruta_, ec);
  }
  directorio_temporal(const directorio_temporal&) = delete;
  directorio_temporal& operator=(const directorio_temporal&) = delete;

  const fs::path& ruta() const { return ruta_; }
  fs::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

  void pon(const std::string& nombre, const std::string& bytes) const {
    std::ofstream f(ruta_ / nombre, std::ios::binary);
    f << bytes;
  }
  std::string lee(const std::string& nombre) const {
    std::ifstream f(ruta_ / nombre, std::ios::binary);
    EXPECT_TRUE(f.is_open()) << "no file " << nombre;
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  }
  bool existe(const std::string& nombre) const { return fs::exists(ruta_ / nombre); }

 private:
  fs::path ruta_;
};

const std::string tabla = "0101 CAPA\r\n";

// One POINT on layer CAPA at (1.5, 4000002.25, 0).
std::string un_punto() {
  return dibujo({"  0", "SECTION", "  2", "ENTITIES",
                 "  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0.0",
                 "  0", "ENDSEC", "  0", "EOF"});
}

// One closed POLYLINE of two vertices, two POINTs and one TEXT: counts 1, 2, 1.
std::string varias_entidades() {
  return dibujo({"  0", "SECTION", "  2", "ENTITIES",
                 "  0", "POLYLINE", "  8", "CAPA", " 66", "1", " 70", "1",
                 "  0", "VERTEX", "  8", "CAPA", " 10", "10.0", " 20", "4000010.0", " 30", "1.0",
                 "  0", "VERTEX", "  8", "CAPA", " 10", "20.0", " 20", "4000010.0", " 30", "2.0",
                 "  0", "SEQEND",
                 "  0", "POINT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0.0",
                 "  0", "POINT", "  8", "OTRA", " 10", "2.0", " 20", "4000003.0", " 30", "0.0",
                 "  0", "TEXT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", " 30", "0.0",
                 " 40", "2.5", "  1", "ABC",
                 "  0", "ENDSEC", "  0", "EOF"});
}

// That point's record: attribute option off (60 bytes) and on (72 bytes, atr 01 and the
// attribute unit).
const std::string punto_sin_atr = hex(
    "43 3D 30 31 30 31 00 00 00 00 01 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00");
const std::string punto_con_atr = hex(
    "43 3D 30 31 30 31 00 00 00 01 01 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "14 00 00 00 06 00 00 00 A5 07 00 00"
    "DC 05 00 00 CA 08 00 00 00 00 00 00"
    "01 00 00 00 00 00 32 30 31 20 20 20");

QString q(const fs::path& p) { return texto_qt(p); }

// The window with its desktop replaced: the dialog gives the queued answers in turn, the
// message box and the end of the program are recorded.
class ventana_con_dobles : public ::testing::Test {
 protected:
  std::deque<QString> respuestas;          // what the dialog gives, one per showing
  std::vector<QString> anteriores;         // what the window passed the dialog
  std::vector<QString> mensajes;           // texts of the message boxes
  std::vector<int> estados;                // statuses the window asked to end with
  bool cursor_durante_mensaje = true;      // an override cursor was on while the box showed

  escritorio dobles() {
    escritorio e;
    e.elige_fichero = [this](QWidget*, const QString& anterior) {
      anteriores.push_back(anterior);
      if (respuestas.empty()) {
        ADD_FAILURE() << "the dialog was shown more often than expected";
        return QString();
      }
      QString r = respuestas.front();
      respuestas.pop_front();
      return r;
    };
    e.avisa_error = [this](QWidget*, const QString& titulo, const QString& texto) {
      EXPECT_EQ(titulo, QStringLiteral("TOLVAR"));
      mensajes.push_back(texto);
      cursor_durante_mensaje = QApplication::overrideCursor() != nullptr;
    };
    e.termina = [this](int estado) { estados.push_back(estado); };
    return e;
  }

  void TearDown() override {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "an override cursor was left on";
    while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
  }

  directorio_temporal d;
  Form1 ventana{dobles()};
};

TEST_F(ventana_con_dobles, textos_tras_form_load) {
  EXPECT_EQ(ventana.windowTitle(), QStringLiteral("TOLVAR"));
  EXPECT_EQ(ventana.Command1->text(), QStringLiteral("Elegir Fichero"));
  EXPECT_EQ(ventana.Label2->text(), QStringLiteral("POLYLINE leidas :"));
  EXPECT_EQ(ventana.Label3->text(), QStringLiteral("POINT leidos :"));
  EXPECT_EQ(ventana.Label4->text(), QStringLiteral("TEXT leidos  :"));
  EXPECT_EQ(ventana.Label1->text(), QStringLiteral("Proceso Finalizado."));
  // ñ and í decoded from the UTF-8 source as single characters.
  const QString frame = ventana.Frame1->title();
  ASSERT_EQ(frame.size(), 15);
  EXPECT_EQ(frame.at(0), QChar(u'A'));
  EXPECT_EQ(frame.at(1).unicode(), 0x00F1);
  EXPECT_EQ(frame.mid(2), QStringLiteral("adir ATR =201"));
  ASSERT_EQ(ventana.Option1->text().size(), 2);
  EXPECT_EQ(ventana.Option1->text().at(0), QChar(u'S'));
  EXPECT_EQ(ventana.Option1->text().at(1).unicode(), 0x00ED);
  EXPECT_EQ(ventana.Option2->text(), QStringLiteral("No"));
}

TEST_F(ventana_con_dobles, estado_tras_form_load) {
  EXPECT_TRUE(ventana.Label1->isHidden());
  EXPECT_TRUE(ventana.Option1->isChecked());
  EXPECT_FALSE(ventana.Option2->isChecked());
  EXPECT_TRUE(ventana.comun().atributo_activado());
  EXPECT_EQ(ventana.Text1->text(), QStringLiteral("0"));
  EXPECT_EQ(ventana.Text2->text(), QStringLiteral("0"));
  EXPECT_EQ(ventana.Text3->text(), QStringLiteral("0"));
  EXPECT_TRUE(ventana.Label5->text().isEmpty());
  EXPECT_TRUE(ventana.Label6->text().isEmpty());
  EXPECT_TRUE(ventana.conv().estado().fich_dxf.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ventana.Option2->setChecked(true);
  EXPECT_FALSE(ventana.Option1->isChecked());
  EXPECT_FALSE(ventana.comun().atributo_activado());
}

TEST_F(ventana_con_dobles, geometria_en_pixeles_de_15_twips) {
  EXPECT_EQ(ventana.size(), QSize(509, 365));                       // 7635 x 5475
  EXPECT_EQ(ventana.Command1->geometry(), QRect(24, 40, 97, 57));   // 360, 600, 1455, 855
  EXPECT_EQ(ventana.Label2->geometry(), QRect(176, 32, 121, 17));   // 2640, 480, 1815, 255
  EXPECT_EQ(ventana.Text1->geometry(), QRect(296, 32, 57, 19));     // 4440, 480, 855, 285
  EXPECT_EQ(ventana.Text2->geometry(), QRect(296, 64, 57, 19));
  EXPECT_EQ(ventana.Text3->geometry(), QRect(296, 96, 57, 19));
  EXPECT_EQ(ventana.Label4->geometry(), QRect(176, 96, 113, 25));   // 2640, 1440, 1695, 375
  EXPECT_EQ(ventana.Frame1->geometry(), QRect(384, 32, 113, 73));   // 5760, 480, 1695, 1095
  EXPECT_EQ(ventana.Option1->parentWidget(), ventana.Frame1);
  EXPECT_EQ(ventana.Option1->geometry(), QRect(8, 24, 89, 17));     // 120, 360, 1335, 255
  EXPECT_EQ(ventana.Option2->geometry(), QRect(8, 40, 81, 25));     // 120, 600, 1215, 375
  EXPECT_EQ(ventana.Label5->geometry(), QRect(16, 144, 441, 33));   // 240, 2160, 6615, 495
  EXPECT_EQ(ventana.Label6->geometry(), QRect(16, 192, 441, 41));   // 240, 2880, 6615, 615
  EXPECT_EQ(ventana.Label1->geometry(), QRect(288, 304, 201, 41));  // 4320, 4560, 3015, 615
}

TEST_F(ventana_con_dobles, colores_y_fuentes) {
  EXPECT_EQ(ventana.Command1->palette().color(QPalette::Button), QColor(224, 224, 224));
  for (QLineEdit* t : {ventana.Text1, ventana.Text2, ventana.Text3}) {
    EXPECT_EQ(t->palette().color(QPalette::Base), QColor(255, 224, 192))
        << t->objectName().toStdString();
  }
  EXPECT_EQ(ventana.Label1->palette().color(QPalette::WindowText), QColor(192, 0, 0));
  EXPECT_TRUE(ventana.Label1->font().bold());
  EXPECT_DOUBLE_EQ(ventana.Label1->font().pointSizeF(), 13.5);
  EXPECT_EQ(ventana.Label1->font().family(), QStringLiteral("MS Sans Serif"));
}

TEST_F(ventana_con_dobles, lote_por_el_boton_muestra_cuentas_ficheros_y_fin) {
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", un_punto());
  d.pon("b.dxf", varias_entidades());
  respuestas.push_back(q(d / "a.dxf"));

  ventana.Command1->click();

  ASSERT_EQ(anteriores.size(), 1u);
  EXPECT_TRUE(anteriores[0].isEmpty());
  EXPECT_TRUE(mensajes.empty()) << mensajes.front().toStdString();
  EXPECT_TRUE(estados.empty());
  // b.dxf is converted last: its counts and files are the ones shown.
  EXPECT_EQ(ventana.Text1->text(), QStringLiteral("1"));
  EXPECT_EQ(ventana.Text2->text(), QStringLiteral("2"));
  EXPECT_EQ(ventana.Text3->text(), QStringLiteral("1"));
  EXPECT_EQ(ventana.Label5->text(), QStringLiteral("Creado el fichero : ") + q(d / "b.bin"));
  EXPECT_EQ(ventana.Label6->text(), QStringLiteral("Creado el fichero : ") + q(d / "b.err"));
  EXPECT_FALSE(ventana.Label1->isHidden());
  // Two drawings set the wait pointer twice; the batch's one restore leaves none.
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Option1 selected when the button was pressed: every record carries the attribute unit.
  EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(punto_con_atr));
  EXPECT_EQ(d.lee("a.err"), "");
  EXPECT_EQ(d.lee("b.err"), "OTRA\r\n");
  const std::string b = d.lee("b.bin");
  // Polyline: 48 + 3 point units + attribute = 96 bytes; two points of 72; text of 84.
  ASSERT_EQ(b.size(), 96u + 72u + 72u + 84u) << muestra_hex(b);
  EXPECT_EQ(b[9], '\x01');
  EXPECT_EQ(b.substr(84, 12), hex("01 00 00 00 00 00 32 30 31 20 20 20"));
  // The text, last, has its attribute unit after its text unit.
  EXPECT_EQ(b.substr(b.size() - 24), hex("41 42 43 00 20 20 20 20 20 20 20 20"
                                         "01 00 00 00 00 00 32 30 31 20 20 20"));
}

TEST_F(ventana_con_dobles, la_opcion_no_llega_a_los_registros) {
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", un_punto());
  ventana.Option2->click();
  EXPECT_FALSE(ventana.comun().atributo_activado());
  respuestas.push_back(q(d / "a.dxf"));

  ventana.Command1->click();

  EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(punto_sin_atr));
  EXPECT_EQ(ventana.Text2->text(), QStringLiteral("1"));

  // And back on for the next batch (a cancelled dialog converts the same directory again).
  ventana.Option1->click();
  respuestas.push_back(QString());
  ventana.Command1->click();
  EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(punto_con_atr));
}

// Off when the window opens; on, the batch reads the other kinds too. The left-out line
// follows the counts, empty when nothing was left out.
TEST_F(ventana_con_dobles, la_casilla_lee_mas_tipos_y_la_linea_dice_lo_omitido) {
  EXPECT_FALSE(ventana.Check1->isChecked());
  EXPECT_TRUE(ventana.Label7->text().isEmpty());
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", dibujo({"  0", "INSERT", "  8", "CAPA", " 10", "1.5", " 20", "4000002.25", "  0", "IMAGE",
                         "  0", "IMAGE", "  0", "EOF"}));
  ventana.Option2->click();
  respuestas.push_back(q(d / "a.dxf"));
  ventana.Command1->click();
  EXPECT_EQ(d.lee("a.bin"), "");
  EXPECT_EQ(ventana.Label7->text(), QStringLiteral("Entidades omitidas : 2 IMAGE, 1 INSERT"));

  ventana.Check1->click();
  respuestas.push_back(QString());
  ventana.Command1->click();
  EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(punto_sin_atr));  // the INSERT, as a point
  EXPECT_EQ(ventana.Label7->text(), QStringLiteral("Entidades omitidas : 2 IMAGE"));

  d.pon("a.dxf", un_punto());
  respuestas.push_back(QString());
  ventana.Command1->click();
  EXPECT_TRUE(ventana.Label7->text().isEmpty());

  // The second box, off at first, draws a polyline's half turn of radius 5 in 79 segments.
  EXPECT_FALSE(ventana.Check2->isChecked());
  d.pon("a.dxf", dibujo({"  0", "POLYLINE", "  8", "CAPA", "  0", "VERTEX", " 20", "4000000", " 42", "1", "  0",
                         "VERTEX", " 10", "10", " 20", "4000000", "  0", "SEQEND", "  0", "EOF"}));
  for (const std::size_t bytes : {72u, 12u + 36u + 80u * 12u}) {
    respuestas.push_back(QString());
    ventana.Command1->click();
    EXPECT_EQ(d.lee("a.bin").size(), bytes);
    ventana.Check2->click();
  }
}

TEST_F(ventana_con_dobles, primer_dialogo_cancelado_no_cambia_nada) {
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", un_punto());
  respuestas.push_back(QString());

  ventana.Command1->click();

  EXPECT_EQ(anteriores.size(), 1u);
  EXPECT_TRUE(ventana.conv().estado().fich_dxf.empty());
  EXPECT_TRUE(ventana.Label1->isHidden());
  EXPECT_EQ(ventana.Text1->text(), QStringLiteral("0"));
  EXPECT_TRUE(ventana.Label5->text().isEmpty());
  EXPECT_TRUE(ventana.Label6->text().isEmpty());
  EXPECT_FALSE(d.existe("a.bin"));
  EXPECT_FALSE(d.existe("a.err"));
  EXPECT_TRUE(mensajes.empty()) << mensajes.front().toStdString();
  EXPECT_TRUE(estados.empty());
}

TEST_F(ventana_con_dobles, segundo_dialogo_cancelado_reconvierte_el_directorio) {
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", un_punto());
  respuestas.push_back(q(d / "a.dxf"));
  ventana.Command1->click();
  ASSERT_TRUE(d.existe("a.bin"));

  // Remove the outputs and clear what the window shows, to see them come back.
  fs::remove(d / "a.bin");
  fs::remove(d / "a.err");
  ventana.Label5->clear();
  ventana.Text2->setText(QStringLiteral("7"));
  respuestas.push_back(QString());

  ventana.Command1->click();

  ASSERT_EQ(anteriores.size(), 2u);
  EXPECT_EQ(anteriores[1], q(d / "a.dxf"));  // the dialog may open where the last batch was
  EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(punto_con_atr));
  EXPECT_TRUE(d.existe("a.err"));
  EXPECT_EQ(ventana.Text2->text(), QStringLiteral("1"));
  EXPECT_EQ(ventana.Label5->text(), QStringLiteral("Creado el fichero : ") + q(d / "a.bin"));
  EXPECT_FALSE(ventana.Label1->isHidden());
  EXPECT_TRUE(estados.empty());
}

TEST_F(ventana_con_dobles, sin_dxfbin_tab_avisa_error_53_y_termina) {
  d.pon("a.dxf", un_punto());
  respuestas.push_back(q(d / "a.dxf"));

  ventana.Command1->click();

  // Spanish, as the window's captions are; the system's own words stay as it gives them.
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_EQ(mensajes[0].toStdString(),
            "Error 53 (no se ha encontrado el fichero): no se puede abrir el fichero: " +
                std::make_error_code(std::errc::no_such_file_or_directory).message() + " -- " +
                texto_ruta(d / "dxfbin.tab"));
  ASSERT_EQ(estados.size(), 1u);
  EXPECT_EQ(estados[0], 53);
  EXPECT_FALSE(cursor_durante_mensaje);
  EXPECT_TRUE(ventana.Label1->isHidden());
  // The table is loaded before the drawing's outputs are created.
  EXPECT_FALSE(d.existe("a.bin"));
  EXPECT_FALSE(d.existe("a.err"));
}

TEST_F(ventana_con_dobles, fallo_con_puntero_de_espera_lo_devuelve) {
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", un_punto());
  // Error 62, after the run has set the wait pointer.
  d.pon("b.dxf", "  0\r\nPOINT\r\n");
  respuestas.push_back(q(d / "b.dxf"));

  ventana.Command1->click();

  ASSERT_EQ(estados.size(), 1u);
  EXPECT_EQ(estados[0], 62);
  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_EQ(mensajes[0].toStdString(),
            "Error 62 (se ha leído más allá del final del fichero): el dibujo termina dentro de "
            "un POINT -- " + texto_ruta(d / "b.dxf") + ", línea 2");
  EXPECT_FALSE(cursor_durante_mensaje);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // What was written before the failure stays; the window shows the first drawing's result.
  EXPECT_EQ(muestra_hex(d.lee("a.bin")), muestra_hex(punto_con_atr));
  EXPECT_EQ(d.lee("b.bin"), "");
  EXPECT_EQ(ventana.Label5->text(), QStringLiteral("Creado el fichero : ") + q(d / "a.bin"));
  EXPECT_TRUE(ventana.Label1->isHidden());
}

// A disk that fails in a way no conversion error describes.
class disco_sin_memoria final : public ficheros {
 public:
  std::unique_ptr<fuente> abre(const fs::path&) override { throw std::bad_alloc(); }
  std::unique_ptr<sumidero> crea(const fs::path&) override { throw std::bad_alloc(); }
  std::vector<fs::path> lista(const fs::path&) override { throw std::bad_alloc(); }
};

TEST_F(ventana_con_dobles, otro_fallo_avisa_y_termina_con_1) {
  Form1 otra{dobles(), std::make_unique<disco_sin_memoria>()};
  respuestas.push_back(q(d / "a.dxf"));

  otra.Command1->click();

  ASSERT_EQ(mensajes.size(), 1u);
  EXPECT_EQ(mensajes[0].left(9), QStringLiteral("Error 1: ")) << mensajes[0].toStdString();
  EXPECT_EQ(estados, std::vector<int>{1});
  EXPECT_TRUE(otra.Label1->isHidden());
}

TEST(dialogo, abre_dibujos_con_su_titulo_y_filtro) {
  directorio_temporal d;
  QFileDialog dialogo;
  prepara_dialogo(dialogo, texto_qt(d / "plano.dxf"));

  EXPECT_EQ(dialogo.windowTitle(), QStringLiteral("Seleccinar fichero .dxf a tratar"));
  EXPECT_EQ(dialogo.nameFilters(), QStringList{QStringLiteral("Fichero DXF (*.dxf)")});
  EXPECT_EQ(dialogo.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(dialogo.fileMode(), QFileDialog::ExistingFile);
  // It opens where the last choice was.
  EXPECT_EQ(ruta_de(dialogo.directory().absolutePath()), d.ruta());
}

// Records what a control shows when it is painted. Qt may paint a control twice for one
// change (a repaint of one box also flushes the other boxes already marked dirty), so only
// changes are kept: the sequence of what a person watching would see.
class pintadas : public QObject {
 public:
  std::vector<QString> vistas;
  bool siempre_en_espera = true;  // the wait pointer was on at every paint

  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::Paint) return false;
    QString texto;
    if (auto* t = qobject_cast<QLineEdit*>(o)) texto = t->text();
    if (auto* l = qobject_cast<QLabel*>(o)) texto = l->text();
    if (vistas.empty() || vistas.back() != texto) vistas.push_back(texto);
    const QCursor* c = QApplication::overrideCursor();
    if (c == nullptr || c->shape() != Qt::WaitCursor) siempre_en_espera = false;
    return false;
  }
};

TEST_F(ventana_con_dobles, cada_dibujo_pinta_ceros_y_luego_cuentas_durante_el_lote) {
  d.pon("dxfbin.tab", tabla);
  d.pon("a.dxf", un_punto());
  d.pon("b.dxf", varias_entidades());
  ventana.show();
  QApplication::processEvents();  // the first paint, before the press
  pintadas texto2;
  pintadas etiqueta6;
  ventana.Text2->installEventFilter(&texto2);
  ventana.Label6->installEventFilter(&etiqueta6);
  respuestas.push_back(q(d / "b.dxf"));

  // No event is processed between the press and the end of the batch: whatever the filters
  // saw was painted by the window's own repaints while the batch held the thread. Painting
  // by update() would show nothing until the batch had ended.
  ventana.Command1->click();

  EXPECT_EQ(texto2.vistas, (std::vector<QString>{QStringLiteral("0"), QStringLiteral("1"),
                                                 QStringLiteral("0"), QStringLiteral("2")}));
  EXPECT_EQ(etiqueta6.vistas,
            (std::vector<QString>{QStringLiteral("Creado el fichero : ") + q(d / "a.err"),
                                  QStringLiteral("Creado el fichero : ") + q(d / "b.err")}));
  EXPECT_TRUE(texto2.siempre_en_espera);
  EXPECT_TRUE(etiqueta6.siempre_en_espera);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ventana.hide();
}

}  // namespace
}  // namespace tolvar
