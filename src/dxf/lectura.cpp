// The layer, as every reader takes it.
#include "core/conversor.h"
#include "core/lector_grupos.h"
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

}  // namespace tolvar
