// What every reader takes the same way: the layer, the closed flag, a text's height, values
// read as numbers, points moved from an entity's plane or computed on a curve.
#include "dxf/lectura.h"

#include <cmath>
#include <utility>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "core/texto.h"
#include "dxf/bloques.h"

namespace tolvar {

void borra_memoria_lectura::operator()(memoria_lectura* m) const noexcept { delete m; }

memoria_lectura& conversor::memoria() {
  if (!memoria_) memoria_.reset(new memoria_lectura);
  return *memoria_;
}

void conversor::capa(const grupo& g) {
  // In a block, layer "0" is whatever layer the block is drawn on.
  if (colocando_ && g.valor == capa_por_defecto) {
    e_.codigo = codigo_heredado();
    tiene_capa_ = true;
    return;
  }
  e_.codigo.assign(g.valor);
  // Before the table sees it: the table and the .err are in the output's code page.
  convierte_valor(e_.codigo, pagina_dibujo_, opciones_.pagina_salida);
  ProcesaCodigo(e_.codigo);
  tiene_capa_ = true;
}

void conversor::clasifica_sin_capa() {
  if (tiene_capa_) return;
  if (colocando_) {
    e_.codigo = codigo_heredado();
    return;
  }
  e_.codigo.assign(capa_por_defecto);
  ProcesaCodigo(e_.codigo);
}

std::int32_t conversor::entero(const grupo& g) const {
  std::int32_t valor = 0;
  bool desborda = false;
  if (!lee_entero(g.valor, valor, desborda)) {
    throw error_conversion(desborda ? desbordamiento : tipo_incompatible,
                           {cita(g.valor) + " is not an integer",
                            cita(g.valor) + " no es un número entero"},
                           lector_->fichero(), g.num_linea + 1);
  }
  return valor;
}

bool conversor::indicador_cerrado(const grupo& g) const {
  return (entero(g) & 1) != 0;  // bit 1: closed, whatever else is set
}

double conversor::altura(const grupo& g) const {
  try {
    return escala_altura(g.valor);
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), g.num_linea + 1);
  }
}

double conversor::numero(const grupo& g) const {
  try {
    return lee_coordenada(g.valor);
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), g.num_linea + 1);
  }
}

void conversor::lee_valor(const grupo& g, valor_leido& v) const {
  v.v = numero(g);
  v.linea = g.num_linea + 1;
}

bool conversor::lee_normal(const grupo& g, normal_leida& n) const {
  switch (g.codigo) {
    case grupo_normal_x: n.x = numero(g); return true;
    case grupo_normal_y: n.y = numero(g); return true;
    case grupo_normal_z: n.z = numero(g); return true;
    default: return false;
  }
}

void conversor::empieza_vertice(const grupo& g, std::int32_t& n, const char* demasiados_en,
                                const char* demasiados_es) {
  if (n >= max_puntos)
    throw error_conversion(subindice_fuera_de_rango, {demasiados_en, demasiados_es}, lector_->fichero(),
                           g.num_linea + 1);
  ++n;
  vertice_leido& v = memoria().vertice(static_cast<std::size_t>(n));
  v = {};
  lee_valor(g, v.p.x);
}

std::int32_t conversor::escala_leido(const valor_leido& v, bool con_desplazamiento) const {
  if (!v.dado()) return 0;
  try {
    return escala_valor(v.v, con_desplazamiento);
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), v.linea);
  }
}

tipo_punto conversor::escala_calculado(const punto_doble& p) const {
  // A computed point stands on no line of its own: the entity's keyword names it, or in a
  // block the keyword of what ENTITIES drew it from.
  const punto_doble q = colocando_ ? coloca(p) : p;
  try {
    return {escala_valor(q.x, false), escala_valor(q.y, true), escala_valor(q.z, false)};
  } catch (const error_conversion& e) {
    throw e.situada(lector_->fichero(), linea_entidad_);
  }
}

tipo_punto conversor::escala_punto(const punto_leido& p, const plano_objeto& plano) const {
  if (plano.mueve() || colocando_) return escala_calculado(plano.al_mundo(p.doble()));
  return {escala_leido(p.x, false), escala_leido(p.y, true), escala_leido(p.z, false)};
}

void conversor::escribe_arco(const punto_doble& centro, double radio, double inicio,
                             double barrido, double n, std::int32_t num, const plano_objeto& plano) {
  for (std::int32_t i = 0; i < num; ++i) {
    const double a = inicio + (barrido * static_cast<double>(i)) / n;
    const punto_doble p{centro.x + radio * std::cos(a), centro.y + radio * std::sin(a), centro.z};
    e_.puntos[static_cast<std::size_t>(i) + 1] = escala_calculado(plano.al_mundo(p));
  }
  e_.num_puntos = num;
}

// The polyline's vertices 1 to num_vertices are in e_.puntos, scaled, and in memoria().vertices
// as read. Each bulge bends the segment after its vertex (the closing one too, when the
// polyline is closed): its inner points go between the two vertices, which keep their exact
// values, so that a closed polyline still closes exactly.
void conversor::traza_arcos(std::int32_t num_vertices, const plano_objeto& plano) {
  memoria_lectura& m = memoria();
  m.tras_vertice.clear();
  m.arcos.clear();
  m.curvas.clear();
  const std::int32_t ultimo = e_.elem_cerrado ? num_vertices : num_vertices - 1;
  for (std::int32_t i = 1; i <= ultimo; ++i) {
    const vertice_leido& a = m.vertices[static_cast<std::size_t>(i)];
    if (a.comba == 0.0) continue;
    const vertice_leido& b = m.vertices[static_cast<std::size_t>(i == num_vertices ? 1 : i + 1)];
    if (b.p.x.v - a.p.x.v == 0.0 && b.p.y.v - a.p.y.v == 0.0) continue;
    const arco_comba arco = arco_de_comba(a.p.x.v, a.p.y.v, b.p.x.v, b.p.y.v, a.comba);
    m.tras_vertice.push_back(i);
    m.arcos.push_back(arco);
    m.curvas.push_back({std::fabs(arco.barrido), arco.radio});
  }
  if (m.arcos.empty()) return;
  m.cuentas.resize(m.arcos.size());
  // Even one segment per 45 degrees would not fit: every arc stays a chord.
  if (!cuenta_curvas(m.curvas.data(), m.cuentas.data(), m.curvas.size(),
                     static_cast<double>(num_vertices), -1.0, tolerancia()))
    return;

  std::vector<tipo_punto>& destino = m.todos_los_puntos();
  std::size_t o = 0;
  std::size_t k = 0;
  for (std::int32_t i = 1; i <= num_vertices; ++i) {
    destino[++o] = e_.puntos[static_cast<std::size_t>(i)];
    if (k == m.arcos.size() || m.tras_vertice[k] != i) continue;
    const arco_comba& arco = m.arcos[k];
    const double n = m.cuentas[k];
    const double z = m.vertices[static_cast<std::size_t>(i)].p.z.v;
    // The counts fit, so each is a whole number of at most 5000.
    const std::int32_t num = cuenta_segura(n);
    for (std::int32_t j = 1; j < num; ++j) {
      const double a = arco.inicio + (arco.barrido * static_cast<double>(j)) / n;
      const punto_doble p{arco.cx + arco.radio * std::cos(a), arco.cy + arco.radio * std::sin(a), z};
      destino[++o] = escala_calculado(plano.al_mundo(p));
    }
    ++k;
  }
  std::swap(e_.puntos, destino);
  e_.num_puntos = static_cast<std::int32_t>(o);
}

}  // namespace tolvar
