#pragma once

// The map preview's benchmarks share the .bin they open: the 200 MB benchmark drawing's, from
// the disk when ejecuta.sh has converted it (TOLVAR_PLANO_BIN names it), or else converted
// here into memory from the same generated drawing.

#include <filesystem>
#include <memory>

#include "core/ficheros.h"
#include "ventana/visor_plano.h"

namespace tolvar::banco {

struct bin_plano {
  std::unique_ptr<ficheros> fs;
  std::filesystem::path ruta;
};
const bin_plano& bin_del_banco();

// A canvas of 1000 x 700 pixels on the drawing, fitted, then `zoom` times closer about where
// the map has most points: where it has records at every zoom.
void prepara_vista(visor_plano& v, double zoom);

}  // namespace tolvar::banco
