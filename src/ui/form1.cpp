#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <exception>
#include <iterator>
#include <string>
#include <utility>

#include "core/error_conversion.h"
#include "core/texto.h"
#include "tolvar/version.h"

namespace tolvar {
namespace {

// The layout is drawn in twips; 15 twips are one pixel at 96 pixels per inch. Qt scales
// these device-independent pixels on high-DPI screens itself.
constexpr int px(int twips) { return twips / 15; }
static_assert(px(7635) == 509 && px(5475) == 365);

void coloca(QWidget* w, int izquierda, int arriba, int ancho, int alto) {
  w->setGeometry(px(izquierda), px(arriba), px(ancho), px(alto));
}

template <class T, class... A>
T* control(QWidget* padre, const char* nombre, A&&... a) {
  T* w = new T(std::forward<A>(a)..., padre);
  w->setObjectName(QString::fromLatin1(nombre));
  return w;
}

QLineEdit* caja(QWidget* padre, const char* nombre, int arriba) {
  auto* t = control<QLineEdit>(padre, nombre, QStringLiteral("0"));
  coloca(t, 4440, arriba, 855, 285);
  QPalette p = t->palette();
  p.setColor(QPalette::Base, QColor(255, 224, 192));
  t->setPalette(p);
  return t;
}

QLabel* etiqueta(QWidget* padre, const char* nombre, const QString& texto, int izquierda,
                 int arriba, int ancho, int alto) {
  auto* l = control<QLabel>(padre, nombre, texto);
  coloca(l, izquierda, arriba, ancho, alto);
  // Label5 and Label6 are two lines high so that a long path goes below its caption,
  // broken at the space after the colon.
  l->setWordWrap(true);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

QString dialogo_real(QWidget* padre, const QString& anterior) {
  QFileDialog d(padre);
  prepara_dialogo(d, anterior);
  // Cancelling is no error: it only leaves the previous choice in place.
  if (d.exec() != QDialog::Accepted) return {};
  const QStringList elegidos = d.selectedFiles();
  return elegidos.isEmpty() ? QString() : QDir::toNativeSeparators(elegidos.first());
}

}  // namespace

void prepara_dialogo(QFileDialog& d, const QString& anterior) {
  d.setAcceptMode(QFileDialog::AcceptOpen);
  // A mistyped name would end the program with "file not found" in the middle of the work;
  // the dialog refuses it instead.
  d.setFileMode(QFileDialog::ExistingFile);
  d.setNameFilter(QStringLiteral("Fichero DXF (*.dxf)"));
  d.setWindowTitle(QStringLiteral("Seleccinar fichero .dxf a tratar"));
  if (!anterior.isEmpty()) d.setDirectory(QFileInfo(anterior).absolutePath());
}

QString texto_acerca() {
  return QStringLiteral(
      "<p><b>Tolvar " TOLVAR_VERSION "</b></p>"
      "<p>Conversor de planos DXF en ficheros .bin: cada dibujo DXF ASCII del directorio del "
      "fichero elegido da NOMBRE.bin, con sus entidades, y NOMBRE.err, con las capas que "
      "dxfbin.tab no clasifica.</p>"
      "<p>Desde la línea de órdenes: <code>tolvar-cli</code>. Guía de uso: "
      "<code>man tolvar</code>, <code>man tolvar-cli</code>.</p>");
}

QString texto_qt(const std::filesystem::path& ruta) {
  return QDir::toNativeSeparators(QString::fromStdString(texto_ruta(ruta)));
}

std::filesystem::path ruta_de(const QString& texto) {
  // Through UTF-8 on every system: the same bytes on POSIX, UTF-16 on Windows.
  const QByteArray utf8 = texto.toUtf8();
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                    static_cast<std::size_t>(utf8.size())));
}

escritorio escritorio::real() {
  escritorio e;
  e.elige_fichero = dialogo_real;
  e.avisa_error = [](QWidget* padre, const QString& titulo, const QString& texto) {
    QMessageBox::critical(padre, titulo, texto);
  };
  // main returns what exec() returns: the files of the batch are already closed.
  e.termina = [](int estado) { QCoreApplication::exit(estado); };
  return e;
}

Form1::Form1(escritorio e, std::unique_ptr<ficheros> fs, QWidget* parent)
    : QWidget(parent), escritorio_(std::move(e)), fs_(std::move(fs)) {
  const escritorio real = escritorio::real();
  if (!escritorio_.elige_fichero) escritorio_.elige_fichero = real.elige_fichero;
  if (!escritorio_.avisa_error) escritorio_.avisa_error = real.avisa_error;
  if (!escritorio_.termina) escritorio_.termina = real.termina;
  if (!fs_) fs_ = std::make_unique<ficheros_disco>();
  conv_ = std::make_unique<conversor>(*this, *fs_);

  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("TOLVAR"));
  // The boxes of the layout are sized for an 8-point sans serif; systems without MS Sans
  // Serif get their own sans serif of that size.
  QFont estandar(QStringLiteral("MS Sans Serif"), 8);
  estandar.setStyleHint(QFont::SansSerif);
  setFont(estandar);
  setFixedSize(px(7635), px(5475));

  Command1 = control<QPushButton>(this, "Command1", QStringLiteral("Elegir Fichero"));
  coloca(Command1, 360, 600, 1455, 855);
  {
    QPalette p = Command1->palette();
    p.setColor(QPalette::Button, QColor(224, 224, 224));
    Command1->setPalette(p);
  }

  Label2 = etiqueta(this, "Label2", QStringLiteral("POLYLINE leidas :"), 2640, 480, 1815, 255);
  Text1 = caja(this, "Text1", 480);
  Label3 = etiqueta(this, "Label3", QStringLiteral("POINT leidos :"), 2640, 960, 1695, 375);
  Text2 = caja(this, "Text2", 960);
  Label4 = etiqueta(this, "Label4", QStringLiteral("TEXT leidos  :"), 2640, 1440, 1695, 375);
  Text3 = caja(this, "Text3", 1440);

  Frame1 = control<QGroupBox>(this, "Frame1", QStringLiteral("Añadir ATR =201"));
  coloca(Frame1, 5760, 480, 1695, 1095);
  // Children of the frame, so their places are the frame's own and they exclude each other.
  Option1 = control<QRadioButton>(Frame1, "Option1", QStringLiteral("Sí"));
  coloca(Option1, 120, 360, 1335, 255);
  Option2 = control<QRadioButton>(Frame1, "Option2", QStringLiteral("No"));
  coloca(Option2, 120, 600, 1215, 375);

  Label5 = etiqueta(this, "Label5", QString(), 240, 2160, 6615, 495);
  Label6 = etiqueta(this, "Label6", QString(), 240, 2880, 6615, 615);
  Label7 = etiqueta(this, "Label7", QString(), 240, 3600, 6615, 615);

  // Under the attribute frame, as wide as the counters and the frame together: its caption
  // does not fit under the frame alone. Ten names do not fit at all: the tooltip lists them.
  Check1 = control<QCheckBox>(this, "Check1",
                              QStringLiteral("Leer también todas las demás entidades"));
  coloca(Check1, 2640, 1800, 4815, 300);
  {
    QString tipos;
    const std::size_t n = std::size(tipos_a_peticion);
    for (std::size_t i = 0; i < n; ++i) {
      if (i > 0) tipos += i + 1 == n ? QStringLiteral(" y ") : QStringLiteral(", ");
      tipos += QString::fromLatin1(tipos_a_peticion[i].nombre);
    }
    Check1->setToolTip(tipos);
  }
  // Beside the end message, the one free place as wide as its caption.
  Check2 = control<QCheckBox>(this, "Check2", QStringLiteral("Trazar los arcos de las polilíneas"));
  coloca(Check2, 240, 4620, 3960, 300);

  Label1 = etiqueta(this, "Label1", QStringLiteral("Proceso Finalizado."), 4320, 4560, 3015, 615);
  {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(13.5);
    f.setBold(true);
    Label1->setFont(f);
    QPalette p = Label1->palette();
    p.setColor(QPalette::WindowText, QColor(192, 0, 0));
    Label1->setPalette(p);
  }

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  // The version and what the window is for, out of the way of the form's own layout: the
  // window's context menu, or F1.
  auto* acerca = new QAction(QStringLiteral("Acerca de Tolvar…"), this);
  acerca->setObjectName(QStringLiteral("Acerca"));
  acerca->setShortcut(QKeySequence(Qt::Key_F1));
  connect(acerca, &QAction::triggered, this,
          [this] { QMessageBox::about(this, QStringLiteral("Acerca de Tolvar"), texto_acerca()); });
  addAction(acerca);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  Form_Load();
}

Form1::~Form1() {
  if (espera_) QApplication::restoreOverrideCursor();
}

void Form1::Form_Load() {
  Label1->setVisible(false);
  Option1->setChecked(true);
  Check1->setChecked(false);
  Check2->setChecked(false);
}

void Form1::Command1_Click() {
  estado_conversion& e = conv_->estado();
  const QString ruta = escritorio_.elige_fichero(this, e.fich_dxf.empty() ? QString()
                                                                          : texto_qt(e.fich_dxf));
  if (!ruta.isEmpty()) e.fich_dxf = ruta_de(ruta);
  // The window writes in Windows-1252 always, the code page of the maps it was made for.
  // The default tolerance: the window has no place to ask for another.
  conv_->opciones() = {Check1->isChecked() ? tipos_tambien::todos() : tipos_tambien{},
                       pagina_codigos::ansi_1252, Check2->isChecked(), tolerancia_por_defecto};
  // The batch runs here, on the window's thread, to its end: no input reaches the window
  // meanwhile, and it changes only through the repaints of the calls it makes.
  try {
    conv_->ProcesoLote();
  } catch (const error_conversion& x) {
    // In Spanish, as every caption of the window: "Error 53 (no se ha encontrado el
    // fichero): ... -- fichero, línea n".
    falla(x.numero(), QString::fromStdString(x.mensaje(idioma::espanol)));
  } catch (const std::exception& x) {
    // Not one of the conversion's own failures; tolvar-cli ends with 1 for these too.
    falla(1, QStringLiteral("Error 1: ") + QString::fromUtf8(x.what()));
  }
}

void Form1::falla(int numero, const QString& texto) {
  // The batch never reached its end, where the pointer goes back: the message box would
  // otherwise show under the wait pointer.
  puntero_espera(false);
  escritorio_.avisa_error(this, QStringLiteral("TOLVAR"), texto);
  escritorio_.termina(numero);
}

void Form1::muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                               std::int32_t cont_text) {
  Text1->setText(QString::number(cont_polyline));
  Text2->setText(QString::number(cont_point));
  Text3->setText(QString::number(cont_text));
  // repaint(), not update(): an update waits for the event loop, which the batch holds.
  Text1->repaint();
  Text2->repaint();
  Text3->repaint();
}

void Form1::muestra_resumen(const contadores& cuentas) {
  const std::string omitidas = cuentas.omitidas.texto();
  Label7->setText(omitidas.empty() ? QString()
                                   : QStringLiteral("Entidades omitidas : ") +
                                         QString::fromStdString(omitidas));
  Label7->repaint();
}

void Form1::muestra_ficheros(const std::filesystem::path& bin, const std::filesystem::path& err) {
  Label5->setText(QStringLiteral("Creado el fichero : ") + texto_qt(bin));
  Label5->repaint();
  Label6->setText(QStringLiteral("Creado el fichero : ") + texto_qt(err));
  Label6->repaint();
}

void Form1::muestra_fin() {
  Label1->setVisible(true);
  Label1->repaint();
}

void Form1::puntero_espera(bool activo) {
  // Every drawing asks for the wait pointer and the batch gives it back once; Qt stacks
  // override cursors, so only the first request pushes one.
  if (activo == espera_) return;
  espera_ = activo;
  if (activo) {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    QApplication::restoreOverrideCursor();
  }
}

bool Form1::atributo_activado() const { return Option1->isChecked(); }

}  // namespace tolvar
