#include "ui/form1.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
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
#include <string>
#include <utility>

#include "ui/ventana_plano.h"

namespace tolvar {
namespace {

// The layout is drawn in twips; 15 twips are one pixel at 96 pixels per inch. Qt scales
// these device-independent pixels on high-DPI screens itself.
constexpr int px(int twips) { return pixeles(twips, 96); }
static_assert(px(7635) == 509 && px(5475) == 365);

QColor color(color_rgb c) { return QColor(c.rojo, c.verde, c.azul); }

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
  // Qt reads the pattern from the parentheses of the description.
  d.setNameFilter(QString::fromUtf8(descripcion_filtro));
  d.setWindowTitle(QString::fromUtf8(titulo_dialogo));
  if (!anterior.isEmpty()) d.setDirectory(QFileInfo(anterior).absolutePath());
}

QString texto_acerca() {
  return QStringLiteral("<p><b>%1</b></p><p>%2</p>")
             .arg(QString::fromStdString(version_acerca()),
                  QString::fromUtf8(descripcion_acerca)) +
         QStringLiteral("<p>Desde la línea de órdenes: <code>tolvar-cli</code>. Guía de uso: "
                        "<code>man tolvar</code>, <code>man tolvar-cli</code>.</p>");
}

QString texto_qt(const std::filesystem::path& ruta) {
  return QString::fromStdString(texto_ventana(ruta));
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
  formulario_ = std::make_unique<formulario>(static_cast<controles&>(*this), *fs_);

  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromUtf8(titulo_ventana));
  // The boxes of the layout are sized for an 8-point sans serif; systems without MS Sans
  // Serif get their own sans serif of that size.
  QFont estandar(QStringLiteral("MS Sans Serif"), 8);
  estandar.setStyleHint(QFont::SansSerif);
  setFont(estandar);
  setFixedSize(px(ancho_ventana), px(alto_ventana));

  for (const descripcion_control& d : controles_ventana) {
    const QString texto = QString::fromUtf8(d.texto);
    QWidget* w = nullptr;
    switch (d.tipo) {
      case tipo_control::boton: w = new QPushButton(texto, this); break;
      case tipo_control::etiqueta: {
        auto* l = new QLabel(texto, this);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = l;
        break;
      }
      case tipo_control::caja: {
        w = new QLineEdit(texto, this);
        QPalette p = w->palette();
        p.setColor(QPalette::Base, color(color_cajas));
        w->setPalette(p);
        break;
      }
      case tipo_control::marco: w = new QGroupBox(texto, this); break;
      // Children of the frame, so their places are the frame's own and they exclude each other.
      case tipo_control::opcion: w = new QRadioButton(texto, widget(control::Frame1)); break;
      case tipo_control::casilla: w = new QCheckBox(texto, this); break;
    }
    w->setObjectName(QString::fromLatin1(d.nombre));
    w->setGeometry(px(d.sitio.izquierda), px(d.sitio.arriba), px(d.sitio.ancho), px(d.sitio.alto));
    widgets_[static_cast<std::size_t>(d.id)] = w;
  }
  Command1 = static_cast<QPushButton*>(widget(control::Command1));
  Command2 = static_cast<QPushButton*>(widget(control::Command2));
  Label2 = static_cast<QLabel*>(widget(control::Label2));
  Text1 = static_cast<QLineEdit*>(widget(control::Text1));
  Label3 = static_cast<QLabel*>(widget(control::Label3));
  Text2 = static_cast<QLineEdit*>(widget(control::Text2));
  Label4 = static_cast<QLabel*>(widget(control::Label4));
  Text3 = static_cast<QLineEdit*>(widget(control::Text3));
  Frame1 = static_cast<QGroupBox*>(widget(control::Frame1));
  Option1 = static_cast<QRadioButton*>(widget(control::Option1));
  Option2 = static_cast<QRadioButton*>(widget(control::Option2));
  Label5 = static_cast<QLabel*>(widget(control::Label5));
  Label6 = static_cast<QLabel*>(widget(control::Label6));
  Label7 = static_cast<QLabel*>(widget(control::Label7));
  Check1 = static_cast<QCheckBox*>(widget(control::Check1));
  Check2 = static_cast<QCheckBox*>(widget(control::Check2));
  Check3 = static_cast<QCheckBox*>(widget(control::Check3));
  Label1 = static_cast<QLabel*>(widget(control::Label1));

  {
    QPalette p = Command1->palette();
    p.setColor(QPalette::Button, color(color_boton));
    Command1->setPalette(p);
  }
  Check1->setToolTip(QString::fromUtf8(tipos_de_la_casilla()));
  Check3->setToolTip(QString::fromUtf8(consejo_bloques));
  {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(puntos_fin);
    f.setBold(true);
    Label1->setFont(f);
    QPalette p = Label1->palette();
    p.setColor(QPalette::WindowText, color(color_fin));
    Label1->setPalette(p);
  }

  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

  // The version and what the window is for, out of the way of the form's own layout: the
  // window's context menu, or F1.
  auto* acerca = new QAction(QString::fromUtf8(orden_acerca), this);
  acerca->setObjectName(QStringLiteral("Acerca"));
  acerca->setShortcut(QKeySequence(Qt::Key_F1));
  connect(acerca, &QAction::triggered, this,
          [this] { QMessageBox::about(this, QString::fromUtf8(titulo_acerca), texto_acerca()); });
  addAction(acerca);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  formulario_->Form_Load();
}

Form1::~Form1() {
  if (espera_) QApplication::restoreOverrideCursor();
}

std::filesystem::path Form1::elige_fichero(const std::filesystem::path& anterior) {
  const QString ruta =
      escritorio_.elige_fichero(this, anterior.empty() ? QString() : texto_qt(anterior));
  return ruta.isEmpty() ? std::filesystem::path() : ruta_de(ruta);
}

void Form1::pon_texto(control c, const std::string& texto) {
  QWidget* w = widget(c);
  const QString t = QString::fromStdString(texto);
  if (auto* caja = qobject_cast<QLineEdit*>(w)) caja->setText(t);
  if (auto* etiqueta = qobject_cast<QLabel*>(w)) etiqueta->setText(t);
  // repaint(), not update(): an update waits for the event loop, which the batch holds.
  w->repaint();
}

void Form1::muestra(control c, bool visible) {
  widget(c)->setVisible(visible);
  if (visible) widget(c)->repaint();
}

void Form1::habilita(control c, bool activo) {
  widget(c)->setEnabled(activo);
  widget(c)->repaint();
}

void Form1::abre_plano(const std::vector<std::filesystem::path>& bins) {
  if (plano_ == nullptr) plano_ = new VentanaPlano(*fs_, this);
  plano_->pon_ficheros(bins);
  plano_->show();
  plano_->raise();
  plano_->activateWindow();
  plano_->Lienzo->setFocus(Qt::OtherFocusReason);
}

bool Form1::marcado(control c) const {
  return static_cast<QAbstractButton*>(widget(c))->isChecked();
}

void Form1::marca(control c, bool marcado) {
  static_cast<QAbstractButton*>(widget(c))->setChecked(marcado);
}

void Form1::puntero_espera(bool activo) {
  espera_ = activo;
  if (activo) {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void Form1::avisa_error(const std::string& titulo, const std::string& texto) {
  escritorio_.avisa_error(this, QString::fromStdString(titulo), QString::fromStdString(texto));
}

void Form1::termina(int estado) { escritorio_.termina(estado); }

}  // namespace tolvar
