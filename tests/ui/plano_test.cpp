// The map preview in the Qt window: opened from the main window after a batch, driven by the
// mouse and the keys, its canvas's pixels against the records, a torn file's message.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QCheckBox>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "support/dibujos.h"
#include "ui/form1.h"
#include "ui/ventana_plano.h"
#include "ventana/pixeles_plano.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;
using prueba::dibujo;

// A map of 100 x 60 units: a closed square and a text 6 units tall on CAPA, a cross and a
// diagonal on OTRA, which the table does not classify (Nuevo).
std::string mapa() {
  return dibujo({"  0", "SECTION", "  2", "ENTITIES",
                 "  0", "POLYLINE", "  8", "CAPA", " 66", "1", " 70", "1",
                 "  0", "VERTEX", "  8", "CAPA", " 10", "452000", " 20", "4470000",
                 "  0", "VERTEX", "  8", "CAPA", " 10", "452040", " 20", "4470000",
                 "  0", "VERTEX", "  8", "CAPA", " 10", "452040", " 20", "4470040",
                 "  0", "SEQEND",
                 "  0", "POLYLINE", "  8", "OTRA", " 66", "1",
                 "  0", "VERTEX", "  8", "OTRA", " 10", "452020", " 20", "4470060",
                 "  0", "VERTEX", "  8", "OTRA", " 10", "452100", " 20", "4470010",
                 "  0", "SEQEND",
                 "  0", "POINT", "  8", "OTRA", " 10", "452070", " 20", "4470050", " 30", "0",
                 "  0", "TEXT", "  8", "CAPA", " 10", "452050", " 20", "4470020", " 40", "6",
                 "  1", "Ermita",
                 "  0", "ENDSEC", "  0", "EOF"});
}

class plano_qt : public ::testing::Test {
 protected:
  plano_qt() {
    std::random_device azar;
    dir_ = fs::temp_directory_path() / ("tolvar_plano_" + std::to_string(azar()));
    fs::create_directories(dir_);
    pon("dxfbin.tab", "0101 CAPA\r\n");
    pon("a.dxf", dibujo({"  0", "POINT", "  8", "CAPA", " 10", "1", " 20", "4000001", " 30", "0",
                         "  0", "EOF"}));
    pon("b.dxf", mapa());
  }
  ~plano_qt() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void pon(const std::string& nombre, const std::string& bytes) {
    std::ofstream(dir_ / nombre, std::ios::binary) << bytes;
  }
  escritorio dobles() {
    escritorio e;
    e.elige_fichero = [this](QWidget*, const QString&) { return texto_qt(dir_ / "b.dxf"); };
    e.avisa_error = [](QWidget*, const QString&, const QString& t) { ADD_FAILURE() << t.toStdString(); };
    e.termina = [](int estado) { ADD_FAILURE() << "ended with " << estado; };
    return e;
  }
  // The batch, then "Ver plano".
  VentanaPlano& abre() {
    ventana.Command1->click();
    EXPECT_TRUE(ventana.Command2->isEnabled());
    ventana.Command2->click();
    VentanaPlano* p = ventana.plano();
    EXPECT_NE(p, nullptr);
    QApplication::processEvents();
    return *p;
  }
  prueba::resultado_pixeles pixeles(VentanaPlano& p) {
    const QImage im = p.Lienzo->grab().toImage().convertToFormat(QImage::Format_RGB888);
    prueba::imagen_rgb r{im.width(), im.height(), {}};
    for (int y = 0; y < im.height(); ++y)
      r.rgb.insert(r.rgb.end(), im.constScanLine(y), im.constScanLine(y) + 3 * im.width());
    return prueba::comprueba_pixeles(r, p.visor());
  }

  fs::path dir_;
  Form1 ventana{dobles()};
};

TEST_F(plano_qt, ver_plano_tras_el_lote_con_la_ultima_eleccion_y_sus_codigos) {
  EXPECT_FALSE(ventana.Command2->isEnabled());
  EXPECT_FALSE(ventana.Check3->isChecked());
  for (const char* tipo : {"INSERT", "DIMENSION"})
    EXPECT_TRUE(ventana.Check3->toolTip().contains(QString::fromLatin1(tipo))) << tipo;
  VentanaPlano& p = abre();
  EXPECT_TRUE(p.isVisible());
  EXPECT_TRUE(p.windowTitle().endsWith(QStringLiteral(" — b.bin"))) << p.windowTitle().toStdString();
  ASSERT_EQ(p.Eleccion->count(), 2);
  EXPECT_EQ(p.Eleccion->itemText(0), QStringLiteral("a.bin"));
  EXPECT_EQ(p.Eleccion->currentIndex(), 1);
  ASSERT_EQ(p.Panel->count(), 2);
  EXPECT_EQ(p.Panel->item(0)->text(), QStringLiteral("0101 (2)"));
  EXPECT_EQ(p.Panel->item(1)->text(), QStringLiteral("Nuevo (2)"));
  EXPECT_TRUE(p.Estado->currentMessage().endsWith(QStringLiteral("Registros dibujados: 4")))
      << p.Estado->currentMessage().toStdString();

  // Unticked in the panel, Nuevo's records leave the map.
  p.Panel->item(1)->setCheckState(Qt::Unchecked);
  EXPECT_FALSE(p.visor().visible(1));
  EXPECT_TRUE(p.Estado->currentMessage().endsWith(QStringLiteral("Registros dibujados: 2")));
  const prueba::resultado_pixeles r = pixeles(p);
  EXPECT_TRUE(r.bien()) << r.resumen();

  p.Eleccion->setCurrentIndex(0);
  EXPECT_TRUE(p.windowTitle().endsWith(QStringLiteral(" — a.bin")));
  EXPECT_EQ(p.Panel->count(), 1);
}

// Fitted, zoomed by the wheel and the keys, dragged, fitted by a double click: every record
// where the view's rule puts it, Nuevo in red, background elsewhere.
TEST_F(plano_qt, los_pixeles_del_lienzo_siguen_a_la_vista) {
  VentanaPlano& p = abre();
  LienzoPlano* l = p.Lienzo;
  const double ajustada = p.visor().vista().escala();
  const QPointF c(l->width() / 2.0, l->height() / 2.0), d = c + QPointF(37, -21);
  const auto raton = [&](QEvent::Type t, QPointF en, Qt::MouseButton b, Qt::MouseButtons bs) {
    QMouseEvent e(t, en, l->mapToGlobal(en), b, bs, Qt::NoModifier);
    QApplication::sendEvent(l, &e);
  };
  const auto tecla = [&](int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, k == Qt::Key_Plus ? QStringLiteral("+") : QString());
    QApplication::sendEvent(l, &e);
  };
  const std::function<void()> pasos[] = {
      [] {},
      [&] {
        QWheelEvent e(QPointF(200, 150), l->mapToGlobal(QPointF(200, 150)), {}, {0, 240},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(l, &e);
      },
      [&] {
        for (const int k : {Qt::Key_Plus, Qt::Key_Left, Qt::Key_Down}) tecla(k);
      },
      [&] {
        const double x = p.visor().vista().centro().x;
        raton(QEvent::MouseButtonPress, c, Qt::LeftButton, Qt::LeftButton);
        raton(QEvent::MouseMove, d, Qt::NoButton, Qt::LeftButton);
        raton(QEvent::MouseButtonRelease, d, Qt::LeftButton, Qt::NoButton);
        EXPECT_NEAR(p.visor().vista().centro().x, x - 37 / p.visor().vista().escala(), 1e-9);
      },
      [&] { raton(QEvent::MouseButtonDblClick, c, Qt::LeftButton, Qt::LeftButton); },
  };
  for (std::size_t i = 0; i < std::size(pasos); ++i) {
    pasos[i]();
    const prueba::resultado_pixeles r = pixeles(p);
    EXPECT_TRUE(r.bien()) << i << ": " << r.resumen();
    EXPECT_GT(r.muestras, 100u) << i;
  }
  EXPECT_EQ(p.visor().vista().escala(), ajustada);
}

TEST_F(plano_qt, un_bin_roto_muestra_el_mensaje_del_lector_y_la_ventana_sigue) {
  VentanaPlano& p = abre();
  {
    std::ofstream roto(dir_ / "a.bin", std::ios::binary | std::ios::trunc);
    roto << "C=0101";
  }
  p.Eleccion->setCurrentIndex(0);
  EXPECT_FALSE(p.Aviso->isHidden());
  EXPECT_TRUE(p.Aviso->text().startsWith(QStringLiteral("Error 62 (se ha leído más allá del final")))
      << p.Aviso->text().toStdString();
  EXPECT_EQ(p.Panel->count(), 0);
  p.Eleccion->setCurrentIndex(1);
  EXPECT_TRUE(p.Aviso->isHidden());
  EXPECT_TRUE(ventana.Command1->isEnabled());
}

}  // namespace
}  // namespace tolvar
