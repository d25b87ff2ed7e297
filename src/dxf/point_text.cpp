// The readers of single-point entities.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::ProcesaPoint() {
  tiene_capa_ = false;
  tipo_punto p{};
  bool tiene_z = false;
  // Once it has its Z the point is whole, and the drawing may end right after it.
  recorre_entidad("POINT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z:
        p.z = coordenada(g, false);
        tiene_z = true;
        break;
      default: break;
    }
    return tiene_z;
  });
  // A point without Z has never been written to these files; their readers may rely on it.
  if (!tiene_z) return;
  e_.puntos[1] = p;
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::ProcesaText() {
  tiene_capa_ = false;
  tipo_punto p{};
  bool tiene_texto = false;
  e_.texto.clear();
  recorre_entidad("TEXT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: p.x = coordenada(g, false); break;
      case grupo_y: p.y = coordenada(g, true); break;
      case grupo_z: p.z = coordenada(g, false); break;
      case grupo_altura:
        try {
          e_.AlturaTexto = escala_altura(g.valor);
        } catch (const error_conversion& e) {
          throw e.situada(lector_->fichero(), g.num_linea + 1);
        }
        break;
      case grupo_texto:
        e_.texto.assign(g.valor);
        // The files have always carried a lone dot as "x".
        if (e_.texto == ".") e_.texto = "x";
        tiene_texto = true;
        break;
      default: break;
    }
    return tiene_texto;
  });
  e_.puntos[1] = p;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
