// LWPOLYLINE and LINE, read on request, written as polylines.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::ProcesaLwpolyline() {
  tiene_capa_ = false;
  std::int32_t n = 0;
  std::int32_t z = 0;
  recorre_entidad("LWPOLYLINE", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_indicadores: e_.elem_cerrado = indicador_cerrado(g); break;
      case grupo_elevacion: z = coordenada(g, false); break;
      case grupo_x:
        // Every group 10 starts a vertex: the 5001st is one too many.
        if (n >= max_puntos) {
          throw error_conversion(subindice_fuera_de_rango,
                                 {"an LWPOLYLINE with more than 5000 vertices",
                                  "un LWPOLYLINE con más de 5000 vértices"},
                                 lector_->fichero(), g.num_linea + 1);
        }
        ++n;
        e_.puntos[static_cast<std::size_t>(n)] = {coordenada(g, false), 0, 0};
        break;
      case grupo_y:
        // Before any 10 there is no vertex for it; its value is not even looked at.
        if (n > 0) e_.puntos[static_cast<std::size_t>(n)].y = coordenada(g, true);
        break;
      default: break;
    }
    return false;
  });
  // The entity's last elevation, wherever it stood, is the height of all its vertices.
  for (std::int32_t i = 1; i <= n; ++i) e_.puntos[static_cast<std::size_t>(i)].z = z;
  e_.num_puntos = n;
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::ProcesaLine() {
  tiene_capa_ = false;
  tipo_punto desde{}, hasta{};
  recorre_entidad("LINE", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: desde.x = coordenada(g, false); break;
      case grupo_y: desde.y = coordenada(g, true); break;
      case grupo_z: desde.z = coordenada(g, false); break;
      case grupo_x2: hasta.x = coordenada(g, false); break;
      case grupo_y2: hasta.y = coordenada(g, true); break;
      case grupo_z2: hasta.z = coordenada(g, false); break;
      default: break;
    }
    return false;
  });
  e_.num_puntos = 2;
  e_.puntos[1] = desde;
  e_.puntos[2] = hasta;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
