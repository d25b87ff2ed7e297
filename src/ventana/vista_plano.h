#pragma once

// The map preview's view: which part of the map the canvas shows and at what scale, and what a
// redraw hands the toolkit to draw, in the canvas's pixels. Doubles throughout: a view of a
// few thousandths across stays exact at northings of millions.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ventana/lista_plano.h"

namespace tolvar {

// A place in drawing units: easting, northing (4,000,000 added back).
struct punto_mundo {
  double x = 0, y = 0;
};

// A place on the canvas: x to the right, y down; pixel (i, j) covers [i, i + 1) x [j, j + 1).
struct punto_px_doble {
  double x = 0, y = 0;
};

// The pixel a toolkit draws, the one that covers the place.
struct punto_px {
  std::int32_t x = 0, y = 0;
  friend bool operator==(const punto_px&, const punto_px&) = default;
};

// Each step of the wheel, +, and -: the scale times or over this.
inline constexpr double factor_zoom = 1.25;
// The arrow keys move the map by this part of the canvas.
inline constexpr double paso_flecha = 0.125;
// Texts shorter than this on the canvas are not drawn: nobody reads them, and drawing them
// all at once is what makes a map of thousands of texts slow.
inline constexpr double alto_minimo_texto = 4;
// Nor those taller than this: a font of that size helps nobody read a map either.
inline constexpr double alto_maximo_texto = 4096;

class vista_plano {
 public:
  // The canvas, in pixels; a view that has not been zoomed or moved since it was fitted is
  // fitted again, any other keeps its centre and scale.
  void tamano(int ancho, int alto);
  int ancho() const noexcept { return ancho_; }
  int alto() const noexcept { return alto_; }
  // `margen` pixels of background round the map when fitted.
  void pon_margen(int margen) noexcept { margen_ = margen; }

  // The whole of `extension` in the canvas less its margin, centred, one scale for both
  // axes. An extension of one point shows a drawing unit a pixel; an empty one, the origin.
  void ajusta(const caja_plano& extension);
  bool ajustada() const noexcept { return ajustada_; }
  // The scale times `factor`, the place under `donde` staying there; held between a 64th of
  // the fitted scale and 64 pixels a thousandth.
  void acerca(punto_px_doble donde, double factor);
  // The map moved by (dx, dy) pixels, as by a drag.
  void desplaza(double dx, double dy);

  // Pixels per drawing unit.
  double escala() const noexcept { return escala_; }
  punto_mundo centro() const noexcept { return centro_; }

  punto_px_doble a_pixel(punto_mundo p) const noexcept;
  punto_mundo a_mundo(punto_px_doble p) const noexcept;
  // The same rule from the thousandths of a .bin, the northing whole: what a redraw uses, so
  // that a point and the side of a box it lies on land on the very same double.
  double x_pixel(std::int64_t x) const noexcept { return (static_cast<double>(x) - cx_) * k_ + mitad_x_; }
  double y_pixel(std::int64_t norte) const noexcept {
    return mitad_y_ - (static_cast<double>(norte) - cy_) * k_;
  }
  // The place under the pointer on pixel `p`: its middle.
  punto_mundo bajo_pixel(punto_px p) const noexcept { return a_mundo({p.x + 0.5, p.y + 0.5}); }
  // The thousandths the canvas shows, widened by `margen` pixels on every side.
  caja_plano visible(double margen) const noexcept;

 private:
  void recalcula() noexcept;

  int ancho_ = 1, alto_ = 1, margen_ = 8;
  double escala_ = 1;
  double escala_ajustada_ = 1;
  punto_mundo centro_;
  caja_plano extension_;
  bool ajustada_ = true;
  // The rule in thousandths: the centre, pixels a thousandth, the middle of the canvas.
  double cx_ = 0, cy_ = 0, k_ = 0.001, mitad_x_ = 0.5, mitad_y_ = 0.5;
};

// Of the `n` points of a record on the canvas, the ones a redraw keeps, by their positions,
// in order: the first and the last; the first to reach each side of `caja`, the record's box
// on the canvas (so that no record loses any of its extent); and every point a pixel or more
// from the last one kept, in x or in y. The points between two kept ones all lie within a
// pixel of the first of them: segments shorter than a pixel are merged.
void simplifica(const punto_px_doble* puntos, std::size_t n, double x0, double y0, double x1,
                double y1, std::vector<std::uint32_t>& guardados);

// What one redraw draws, in pixels, code by code.
struct escena_plano {
  // The records drawn as lines, one after another; each ends at its fin_lineas, with one
  // point more a pixel right of its last, so that a toolkit that leaves out a line's last
  // pixel draws it.
  std::vector<punto_px> puntos;
  std::vector<std::uint32_t> fin_lineas;
  // Records of one point: a cross of `brazo` pixels each way, drawn as lines from x - brazo
  // to x + brazo + 1 and from y - brazo to y + brazo + 1, their last pixel left out.
  std::vector<punto_px> cruces;
  // Records that fall within one pixel: that pixel.
  std::vector<punto_px> sueltos;
  struct texto {
    punto_px donde;        // the left end of its baseline
    std::int32_t alto;     // pixels
    std::uint32_t registro;
  };
  std::vector<texto> textos;
  // A code's share of each list above ends at these; the codes in drawing order, Nuevo last
  // so that nothing covers it.
  struct grupo {
    std::uint32_t codigo;
    std::size_t lineas, cruces, sueltos, textos;
  };
  std::vector<grupo> grupos;
  std::int32_t brazo = 3;
  std::size_t registros = 0;   // records that drew anything

  // Scratch of compone, kept between redraws to spare its allocations.
  std::vector<std::uint32_t> ids, por_codigo, guardados;
  std::vector<punto_px_doble> en_pixeles;
};

// Composes the redraw of `vista` over `lista`: the records whose box is in view, but those of
// codes `visibles` hides (one flag per code of the list), each as simplifica keeps it, clipped
// to the canvas. `brazo`: the arms of a cross, in pixels.
void compone(const lista_plano& lista, const vista_plano& vista, const std::vector<char>& visibles,
             std::int32_t brazo, escena_plano& escena);

}  // namespace tolvar
