#include "ui/ventana_plano.h"

#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QStatusBar>
#include <QWheelEvent>
#include <string_view>

#include "core/texto.h"

namespace tolvar {
namespace {

// Qt's device-independent pixels are 96 an inch; Qt scales them on high-DPI screens itself.
constexpr int ppp_qt = 96;

QColor color(color_rgb c) { return QColor(c.rojo, c.verde, c.azul); }

QPoint qpunto(punto_px p) { return {p.x, p.y}; }

}  // namespace

void pinta_escena(QPainter& p, const lista_plano& lista, const escena_plano& e, int ancho,
                  int alto) {
  p.fillRect(0, 0, ancho, alto, color(color_fondo_plano));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  std::vector<QPoint> q;
  std::size_t lineas = 0, cruces = 0, sueltos = 0, textos = 0;
  QFont fuente = p.font();
  for (const escena_plano::grupo& g : e.grupos) {
    const codigo_plano& c = lista.codigos()[g.codigo];
    QPen lapiz(color(c.color), 1);
    lapiz.setCosmetic(true);
    // As GDI's lines: the last pixel left out (the scene adds one to draw it).
    lapiz.setCapStyle(Qt::FlatCap);
    lapiz.setJoinStyle(Qt::MiterJoin);
    p.setPen(lapiz);
    for (; lineas < g.lineas; ++lineas) {
      const std::uint32_t desde = lineas == 0 ? 0 : e.fin_lineas[lineas - 1];
      const std::uint32_t hasta = e.fin_lineas[lineas];
      q.clear();
      for (std::uint32_t i = desde; i < hasta; ++i) q.push_back(qpunto(e.puntos[i]));
      p.drawPolyline(q.data(), static_cast<int>(q.size()));
    }
    for (; cruces < g.cruces; ++cruces) {
      const punto_px m = e.cruces[cruces];
      p.drawLine(m.x - e.brazo, m.y, m.x + e.brazo + 1, m.y);
      p.drawLine(m.x, m.y - e.brazo, m.x, m.y + e.brazo + 1);
    }
    q.clear();
    for (; sueltos < g.sueltos; ++sueltos) q.push_back(qpunto(e.sueltos[sueltos]));
    if (!q.empty()) p.drawPoints(q.data(), static_cast<int>(q.size()));
    for (; textos < g.textos; ++textos) {
      const escena_plano::texto& t = e.textos[textos];
      fuente.setPixelSize(t.alto);
      p.setFont(fuente);
      const std::string_view s = lista.texto(lista.registros()[t.registro]);
      p.drawText(qpunto(t.donde), QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    }
  }
}

LienzoPlano::LienzoPlano(visor_plano& visor, QWidget* padre) : QWidget(padre), visor_(visor) {
  setObjectName(QStringLiteral("Lienzo"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // Everything is painted by paintEvent, the background included.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LienzoPlano::avisa() {
  update();
  if (cambiado) cambiado();
}

void LienzoPlano::paintEvent(QPaintEvent*) {
  QPainter p(this);
  pinta_escena(p, visor_.lista(), visor_.escena(), width(), height());
}

void LienzoPlano::resizeEvent(QResizeEvent*) {
  visor_.tamano(width(), height(), ppp_qt);
  avisa();
}

void LienzoPlano::wheelEvent(QWheelEvent* e) {
  // 120 eighths of a degree a notch; touchpads give fractions of one.
  const double pasos = e->angleDelta().y() / 120.0;
  if (pasos == 0) return;
  visor_.rueda({e->position().x(), e->position().y()}, pasos);
  e->accept();
  avisa();
}

void LienzoPlano::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  if (e->button() == Qt::LeftButton) arrastre_ = e->position();
}

void LienzoPlano::mouseMoveEvent(QMouseEvent* e) {
  visor_.puntero(punto_px{static_cast<std::int32_t>(e->position().x()),
                          static_cast<std::int32_t>(e->position().y())});
  if (arrastre_ && (e->buttons() & Qt::LeftButton)) {
    const QPointF d = e->position() - *arrastre_;
    arrastre_ = e->position();
    visor_.arrastra(d.x(), d.y());
  }
  avisa();
}

void LienzoPlano::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) arrastre_.reset();
}

void LienzoPlano::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  visor_.encaja();
  avisa();
}

void LienzoPlano::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Plus: visor_.pulsa(tecla_plano::mas); break;
    case Qt::Key_Minus: visor_.pulsa(tecla_plano::menos); break;
    case Qt::Key_Left: visor_.pulsa(tecla_plano::izquierda); break;
    case Qt::Key_Right: visor_.pulsa(tecla_plano::derecha); break;
    case Qt::Key_Up: visor_.pulsa(tecla_plano::arriba); break;
    case Qt::Key_Down: visor_.pulsa(tecla_plano::abajo); break;
    case Qt::Key_Home: visor_.pulsa(tecla_plano::inicio); break;
    default: QWidget::keyPressEvent(e); return;
  }
  avisa();
}

void LienzoPlano::leaveEvent(QEvent*) {
  visor_.puntero(std::nullopt);
  if (cambiado) cambiado();
}

VentanaPlano::VentanaPlano(ficheros& fs, QWidget* padre) : QWidget(padre, Qt::Window), visor_(fs) {
  setObjectName(QStringLiteral("Plano"));
  setWindowTitle(QString::fromStdString(visor_.titulo()));
  Eleccion = new QComboBox(this);
  Eleccion->setObjectName(QStringLiteral("Eleccion"));
  Lienzo = new LienzoPlano(visor_, this);
  Aviso = new QLabel(Lienzo);
  Aviso->setObjectName(QStringLiteral("Aviso"));
  Aviso->setWordWrap(true);
  Aviso->setAlignment(Qt::AlignCenter);
  Aviso->setMargin(16);
  Aviso->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Aviso->hide();
  Panel = new QListWidget(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Estado = new QStatusBar(this);
  Estado->setObjectName(QStringLiteral("Estado"));
  Estado->setSizeGripEnabled(false);

  Lienzo->cambiado = [this] { Estado->showMessage(QString::fromStdString(visor_.texto_estado())); };
  connect(Eleccion, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (llenando_ || i < 0) return;
    visor_.elige(static_cast<std::size_t>(i));
    muestra_elegido();
  });
  connect(Panel, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (llenando_) return;
    visor_.muestra_codigo(static_cast<std::size_t>(Panel->row(item)),
                          item->checkState() == Qt::Checked);
    Lienzo->update();
    Estado->showMessage(QString::fromStdString(visor_.texto_estado()));
  });

  const rectangulo_px inicial = tamano_inicial_plano(Eleccion->sizeHint().height(),
                                                     Estado->sizeHint().height(), ppp_qt);
  resize(inicial.ancho, inicial.alto);
  coloca();
}

void VentanaPlano::pon_ficheros(const std::vector<std::filesystem::path>& bins) {
  llenando_ = true;
  Eleccion->clear();
  for (const std::filesystem::path& b : bins)
    Eleccion->addItem(QString::fromStdString(texto_ruta(b.filename())));
  visor_.pon_ficheros(bins);
  Eleccion->setCurrentIndex(static_cast<int>(visor_.elegido()));
  llenando_ = false;
  muestra_elegido();
}

void VentanaPlano::muestra_elegido() {
  setWindowTitle(QString::fromStdString(visor_.titulo()));
  llenando_ = true;
  Panel->clear();
  const std::vector<codigo_plano>& codigos = visor_.lista().codigos();
  for (std::size_t i = 0; i < codigos.size(); ++i) {
    QPixmap muestra(12, 12);
    muestra.fill(color(codigos[i].color));
    auto* item = new QListWidgetItem(QIcon(muestra), QString::fromStdString(visor_.linea_panel(i)), Panel);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(visor_.visible(i) ? Qt::Checked : Qt::Unchecked);
  }
  llenando_ = false;
  Aviso->setText(QString::fromStdString(visor_.error()));
  Aviso->setVisible(!visor_.error().empty());
  Lienzo->update();
  Estado->showMessage(QString::fromStdString(visor_.texto_estado()));
}

void VentanaPlano::resizeEvent(QResizeEvent*) { coloca(); }

void VentanaPlano::closeEvent(QCloseEvent* e) {
  pon_ficheros({});
  QWidget::closeEvent(e);
}

void VentanaPlano::coloca() {
  const sitios_plano s = reparte_plano(width(), height(), Eleccion->sizeHint().height(),
                                       Estado->sizeHint().height(), ppp_qt);
  const auto pon = [](QWidget* w, const rectangulo_px& r) {
    w->setGeometry(r.izquierda, r.arriba, r.ancho, r.alto);
  };
  pon(Eleccion, s.eleccion);
  pon(Lienzo, s.lienzo);
  pon(Panel, s.panel);
  pon(Estado, s.estado);
  Aviso->setGeometry(0, 0, s.lienzo.ancho, s.lienzo.alto);
}

}  // namespace tolvar
