// LWPOLYLINE and LINE, read on request, written as polylines.
#include "core/conversor.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {

// Its vertices lie in its own plane, at its elevation (38), and the plane's normal may come
// after them: they are kept as read until the polyline ends.
void conversor::ProcesaLwpolyline() {
  tiene_capa_ = false;
  memoria_lectura& m = memoria();
  std::int32_t n = 0;
  valor_leido z;
  normal_leida normal;
  const bool arcos = opciones_.arcos;
  recorre_entidad("LWPOLYLINE", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_indicadores: e_.elem_cerrado = indicador_cerrado(g); break;
      case grupo_elevacion: lee_valor(g, z); break;
      case grupo_x:
        empieza_vertice(g, n, "an LWPOLYLINE with more than 5000 vertices",
                        "un LWPOLYLINE con más de 5000 vértices");
        break;
      // Before any 10 there is no vertex for these; their values are not even looked at.
      case grupo_y:
        if (n > 0) lee_valor(g, m.vertices[static_cast<std::size_t>(n)].p.y);
        break;
      case grupo_comba:
        if (arcos && n > 0) m.vertices[static_cast<std::size_t>(n)].comba = numero(g);
        break;
      default: lee_normal(g, normal); break;
    }
    return false;
  });
  const plano_objeto plano = normal.plano();
  // The entity's last elevation, wherever it stood, is the height of all its vertices.
  for (std::int32_t i = 1; i <= n; ++i) {
    vertice_leido& v = m.vertices[static_cast<std::size_t>(i)];
    v.p.z = z;
    e_.puntos[static_cast<std::size_t>(i)] = escala_punto(v.p, plano);
  }
  e_.num_puntos = n;
  if (arcos) traza_arcos(n, plano);
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::ProcesaLine() {
  tiene_capa_ = false;
  tipo_punto desde{}, hasta{};
  // In a block its points are placed before they are scaled: kept as numbers.
  if (colocando_) {
    punto_leido a, b;
    recorre_entidad("LINE", [&](const grupo& g) {
      switch (g.codigo) {
        case grupo_capa: capa(g); break;
        case grupo_x: lee_valor(g, a.x); break;
        case grupo_y: lee_valor(g, a.y); break;
        case grupo_z: lee_valor(g, a.z); break;
        case grupo_x2: lee_valor(g, b.x); break;
        case grupo_y2: lee_valor(g, b.y); break;
        case grupo_z2: lee_valor(g, b.z); break;
        default: break;
      }
      return false;
    });
    desde = escala_punto(a, plano_objeto());
    hasta = escala_punto(b, plano_objeto());
  } else {
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
  }
  e_.num_puntos = 2;
  e_.puntos[1] = desde;
  e_.puntos[2] = hasta;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
