// The readers of single-point entities, and what all entity readers share.
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "dxf/lectura.h"

namespace tolvar {

void conversor::capa(const grupo& g) {
  e_.codigo.assign(g.valor);
  ProcesaCodigo(e_.codigo);
  tiene_capa_ = true;
}

void conversor::clasifica_sin_capa() {
  if (tiene_capa_) return;
  e_.codigo.assign(capa_por_defecto);
  ProcesaCodigo(e_.codigo);
}

void conversor::ProcesaPoint() {
  tiene_capa_ = false;
  tipo_punto p{};
  bool tiene_z = false;
  for (;;) {
    // Once it has its Z the point is complete, and the drawing may end right after it.
    const grupo* g = tiene_z ? lector_->siguiente() : &lector_->exige("POINT");
    if (g == nullptr) break;
    if (g->codigo == 0) {
      lector_->devuelve();
      break;
    }
    switch (g->codigo) {
      case grupo_capa: capa(*g); break;
      case grupo_x: p.x = coordenada(*g, false); break;
      case grupo_y: p.y = coordenada(*g, true); break;
      case grupo_z:
        p.z = coordenada(*g, false);
        tiene_z = true;
        break;
      default: break;
    }
  }
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
  for (;;) {
    const grupo* g = tiene_texto ? lector_->siguiente() : &lector_->exige("TEXT");
    if (g == nullptr) break;
    if (g->codigo == 0) {
      lector_->devuelve();
      break;
    }
    switch (g->codigo) {
      case grupo_capa: capa(*g); break;
      case grupo_x: p.x = coordenada(*g, false); break;
      case grupo_y: p.y = coordenada(*g, true); break;
      case grupo_z: p.z = coordenada(*g, false); break;
      case grupo_altura:
        try {
          e_.AlturaTexto = escala_altura(g->valor);
        } catch (const error_conversion& e) {
          throw e.situada(lector_->fichero(), g->num_linea + 1);
        }
        break;
      case grupo_texto:
        e_.texto.assign(g->valor);
        // The files have always carried a lone dot as "x".
        if (e_.texto == ".") e_.texto = "x";
        tiene_texto = true;
        break;
      default: break;
    }
  }
  e_.puntos[1] = p;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
