#pragma once

// The map preview window's behaviour, whatever draws it: the batch's .bin files and the one
// shown, the view and what the mouse and the keys do to it, the codes the panel shows or
// hides, the status bar's text, and where each part of the window goes. The Qt window and the
// Win32 one draw what escena() hands them and pass their events here.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/ficheros.h"
#include "ventana/lista_plano.h"
#include "ventana/vista_plano.h"

namespace tolvar {

// The window's parts, in pixels of its inside.
struct rectangulo_px {
  int izquierda = 0, arriba = 0, ancho = 0, alto = 0;
  friend bool operator==(const rectangulo_px&, const rectangulo_px&) = default;
};
struct sitios_plano {
  rectangulo_px eleccion;   // the choice of .bin, across the top
  rectangulo_px lienzo;     // the map, under it, on the left
  rectangulo_px panel;      // the codes, on the right
  rectangulo_px estado;     // the status bar, across the bottom
};
// The parts in an inside of ancho x alto pixels, at `ppp` pixels per inch, given the heights
// the toolkit gives its choice box and its status bar.
sitios_plano reparte_plano(int ancho, int alto, int alto_eleccion, int alto_estado, int ppp);
// The inside that gives the canvas its first size (lienzo_inicial) at `ppp`: the same canvas
// in both windows, whatever their fonts make of the rest.
rectangulo_px tamano_inicial_plano(int alto_eleccion, int alto_estado, int ppp);

enum class tecla_plano { mas, menos, izquierda, derecha, arriba, abajo, inicio };

class visor_plano {
 public:
  // `fs` must outlive the visor.
  explicit visor_plano(ficheros& fs);

  // The batch's files, in batch order; shows the last.
  void pon_ficheros(std::vector<std::filesystem::path> bins);
  const std::vector<std::filesystem::path>& ficheros_lote() const noexcept { return bins_; }
  std::size_t elegido() const noexcept { return elegido_; }
  // Reads and shows the i-th, fitted, every code shown. A file the reader refuses, or that
  // the system does not give, leaves an empty map and its message in error(); never throws.
  void elige(std::size_t i);
  // "Plano — NAME.bin".
  std::string titulo() const;
  // The reader's message in Spanish; empty when the file was read.
  const std::string& error() const noexcept { return error_; }

  // The canvas's size in pixels; `ppp` sizes the crosses and the fitting margin.
  void tamano(int ancho, int alto, int ppp = 96);
  // Steps of the mouse wheel at the pointer: forward (positive) closer, by factor_zoom each.
  void rueda(punto_px_doble donde, double pasos);
  // The pointer dragged by (dx, dy) pixels.
  void arrastra(double dx, double dy);
  void pulsa(tecla_plano t);
  // The whole map again: a double click, Home.
  void encaja();
  // Where the pointer is on the canvas, or nothing once it has left.
  void puntero(std::optional<punto_px> p) { puntero_ = p; }

  const lista_plano& lista() const noexcept { return lista_; }
  const vista_plano& vista() const noexcept { return vista_; }
  // The panel's lines: "CODE (records)", in the list's order.
  std::string linea_panel(std::size_t codigo) const;
  bool visible(std::size_t codigo) const noexcept {
    return codigo < visibles_.size() && visibles_[codigo] != 0;
  }
  void muestra_codigo(std::size_t codigo, bool visible);

  // The redraw, composed again only when something changed since the last.
  const escena_plano& escena();
  // "X 452000.000  Y 4470000.000   1 píxel = 0.25   Registros dibujados: 12": the pointer in
  // drawing units (left out while it is off the canvas), the scale, the records the last
  // redraw drew.
  std::string texto_estado();

 private:
  ficheros& fs_;
  std::vector<std::filesystem::path> bins_;
  std::size_t elegido_ = 0;
  std::string error_;
  lista_plano lista_;
  vista_plano vista_;
  std::vector<char> visibles_;
  std::optional<punto_px> puntero_;
  escena_plano escena_;
  std::int32_t brazo_ = 3;
  bool sucia_ = true;
};

}  // namespace tolvar
