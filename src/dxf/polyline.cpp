#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/numeros.h"
#include "core/texto.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::ProcesaPolyline() {
  lector_grupos& lector = *lector_;  // as in procesaVertex()
  tiene_capa_ = false;
  for (;;) {
    const grupo& g = lector.exige("POLYLINE");
    if (g.codigo == 0) {
      if (g.valor == "VERTEX") {
        if (e_.num_puntos >= max_puntos) {
          throw error_conversion(subindice_fuera_de_rango,
                                 {"a POLYLINE with more than 5000 vertices",
                                  "un POLYLINE con más de 5000 vértices"},
                                 lector.fichero(), g.num_linea + 1);
        }
        ++e_.num_puntos;
        procesaVertex();
        continue;
      }
      // Any other entity ends the polyline too: a missing SEQEND must not swallow the
      // entities after it.
      if (g.valor != "SEQEND") lector.devuelve();
      break;
    }
    if (g.codigo == grupo_capa) {
      capa(g);
    } else if (g.codigo == grupo_indicadores) {
      e_.elem_cerrado = indicador_cerrado(g);
    }
  }
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::procesaVertex() {
  // The hottest loop of a conversion: the reader in a register, not reloaded from lector_
  // after every call.
  lector_grupos& lector = *lector_;
  tipo_punto p{};  // DXF's default for a coordinate the vertex leaves out
  for (;;) {
    const grupo& g = lector.exige("VERTEX");
    if (g.codigo == 0) {
      lector.devuelve();
      break;
    }
    switch (g.codigo) {
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z: p.z = coordenada(g, false); break;
      default: break;
    }
  }
  e_.puntos[static_cast<std::size_t>(e_.num_puntos)] = p;
}

}  // namespace tolvar
