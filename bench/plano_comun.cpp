// What the map preview's benchmarks share: the .bin they open and the view they redraw.
#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdlib>
#include <iostream>
#include <string>

#include "core/conversor.h"
#include "core/texto.h"
#include "generador.h"
#include "plano.h"
#include "support/ficheros_memoria.h"
#include "support/vista_muda.h"

namespace tolvar::banco {

const bin_plano& bin_del_banco() {
  static const bin_plano b = [] {
    bin_plano r;
    if (const std::string ruta = variable_entorno("TOLVAR_PLANO_BIN"); !ruta.empty()) {
      r.fs = std::make_unique<ficheros_disco>();
      r.ruta = ruta;
      return r;
    }
    std::cerr << "TOLVAR_PLANO_BIN unset: converting the 200 MB drawing (seed 1) into memory\n";
    auto memoria = std::make_unique<ficheros_memoria>();
    memoria->pon("d/dxfbin.tab", std::string(tabla_codigos_banco()));
    memoria->pon("d/plano.dxf", dibujo_en_memoria(1, 200000000));
    vista_muda vista;
    conversor c(vista, *memoria);
    c.ProcesoDirectorio("d");
    memoria->contenido.erase("d/plano.dxf");
    r.fs = std::move(memoria);
    r.ruta = "d/plano.bin";
    return r;
  }();
  return b;
}

void prepara_vista(visor_plano& v, double zoom) {
  v.tamano(1000, 700);
  v.encaja();
  const lista_plano& l = v.lista();
  if (l.puntos().empty()) return;
  // A point of the busiest cell of a 64 x 64 grid over the canvas: where a person zooms in.
  constexpr int lado = 64;
  std::vector<std::uint32_t> cuenta(lado * lado, 0);
  std::vector<punto_px_doble> uno(lado * lado);
  const vista_plano& vista = v.vista();
  for (const registro_plano& r : l.registros()) {
    for (std::uint32_t i = 0; i < r.num; ++i) {
      const punto_plano& p = l.puntos()[r.primero + i];
      const double x = vista.x_pixel(p.x) * lado / vista.ancho();
      const double y = vista.y_pixel(r.norte(p.y)) * lado / vista.alto();
      if (x >= 0 && x < lado && y >= 0 && y < lado) {
        const std::size_t c = static_cast<std::size_t>(y) * lado + static_cast<std::size_t>(x);
        if (++cuenta[c] == 1)
          uno[c] = {vista.x_pixel(p.x), vista.y_pixel(r.norte(p.y))};
      }
    }
  }
  const auto mayor = std::max_element(cuenta.begin(), cuenta.end()) - cuenta.begin();
  v.rueda(uno[static_cast<std::size_t>(mayor)], std::log(zoom) / std::log(factor_zoom));
}

}  // namespace tolvar::banco
