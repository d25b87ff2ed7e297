#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "core/ficheros.h"
#include "ventana/visor_plano.h"

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPainter;
class QStatusBar;

namespace tolvar {

// Draws a redraw of `lista` with QPainter: the background, then code by code its lines,
// crosses, lone pixels and texts, in one pixel wide lines without antialiasing, as GDI draws
// them in the Win32 window.
void pinta_escena(QPainter& p, const lista_plano& lista, const escena_plano& e, int ancho, int alto);

// The canvas: what the visor composes, and the mouse and the keys passed back to it.
class LienzoPlano final : public QWidget {
 public:
  LienzoPlano(visor_plano& visor, QWidget* padre);

  // Called after every change of the view and every move of the pointer.
  std::function<void()> cambiado;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  void avisa();

  visor_plano& visor_;
  std::optional<QPointF> arrastre_;   // where the left button went down, while it is
};

// The map preview window: the choice of .bin across the top, the canvas, the panel of codes
// on the right and the status bar. What it does is the visor's, which the Win32 window shares.
class VentanaPlano final : public QWidget {
 public:
  // `fs` must outlive the window.
  explicit VentanaPlano(ficheros& fs, QWidget* padre = nullptr);

  // The batch's files, in batch order; shows the last.
  void pon_ficheros(const std::vector<std::filesystem::path>& bins);

  visor_plano& visor() noexcept { return visor_; }

  // Public, as the main window's controls are, for the tests.
  QComboBox* Eleccion = nullptr;
  LienzoPlano* Lienzo = nullptr;
  QLabel* Aviso = nullptr;        // the reader's message, over the canvas, when it refused
  QListWidget* Panel = nullptr;
  QStatusBar* Estado = nullptr;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  // Hidden, as a closed window is, and its map let go: "Ver plano" reads it again.
  void closeEvent(QCloseEvent* e) override;

 private:
  void muestra_elegido();
  void coloca();

  visor_plano visor_;
  bool llenando_ = false;   // the panel and the choice are being filled, not clicked
};

}  // namespace tolvar
