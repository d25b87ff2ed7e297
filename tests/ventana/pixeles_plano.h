#pragma once

// Checks a picture of the map preview's canvas against where the records must fall by the
// view's own world-to-pixel rule, not by what the redraw composed: the Qt window's tests and
// comprueba_plano (on the CI drives' screenshots of both windows) share it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ventana/visor_plano.h"

namespace tolvar::prueba {

struct imagen_rgb {
  int ancho = 0, alto = 0;
  std::vector<std::uint8_t> rgb;   // rows top down, three bytes a pixel

  color_rgb en(int x, int y) const;
  bool es(int x, int y, color_rgb c) const;
};

// A binary PPM (P6, 8 bits), as ImageMagick's convert writes it. Throws std::runtime_error.
imagen_rgb lee_ppm(const std::filesystem::path& ruta);
// The canvas in a screenshot of the whole window: the box of the background's colour, which
// the map's margin shows on all four sides. Empty when the colour is nowhere.
imagen_rgb recorta_lienzo(const imagen_rgb& ventana);

struct resultado_pixeles {
  std::size_t muestras = 0;        // places on the records' lines and crosses looked at
  std::size_t sin_trazo = 0;       // of them, with only background within a pixel
  std::size_t sin_color = 0;       // without their code's colour within a pixel
  std::size_t nuevo_sin_rojo = 0;  // of Nuevo's, without its red within a pixel
  std::size_t fondo_manchado = 0;  // pixels farther than two from every record, not background
  std::size_t rojo_fuera = 0;      // red pixels farther than two from every Nuevo record
  std::size_t textos_sin_dibujar = 0;  // texts tall enough to draw, with nothing drawn in their box

  bool bien() const {
    return muestras > 0 && sin_trazo == 0 && sin_color * 20 <= muestras && nuevo_sin_rojo == 0 &&
           fondo_manchado == 0 && rojo_fuera == 0 && textos_sin_dibujar == 0;
  }
  std::string resumen() const;
};

// `visor` shows the picture's map at the picture's size. A record of a code drawn later may
// cover one drawn before: a twentieth of the samples may miss their own colour, none may miss
// a line altogether.
resultado_pixeles comprueba_pixeles(const imagen_rgb& lienzo, visor_plano& visor);

// Two pictures of the same canvas from two toolkits: each pixel that is not background in one
// has its colour within a pixel in the other, outside the boxes of the texts (whose fonts
// differ). The number of pixels that do not, and of those looked at.
struct acuerdo_pixeles {
  std::size_t mirados = 0, sin_pareja = 0;
};
acuerdo_pixeles compara_lienzos(const imagen_rgb& a, const imagen_rgb& b, visor_plano& visor);

}  // namespace tolvar::prueba
