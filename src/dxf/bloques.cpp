// With --blocks: the BLOCKS section kept, and every INSERT and DIMENSION drawn as the entities
// of its block, placed where the drawing puts them. A block is read again by the same readers
// each time it is drawn, from its groups as kept, so that an entity of a block is read exactly
// as one of ENTITIES; only its points are placed before they are scaled, and its layer "0"
// is the code of what draws it.
#include "dxf/bloques.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/lector_grupos.h"
#include "core/numeros.h"
#include "core/pagina_codigos.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

// What a drawing's blocks may hold in all: past these a drawing is refused rather than let it
// take the machine's memory. Real drawings hold some thousands of groups in their blocks.
constexpr std::size_t max_grupos_bloques = 4000000;
constexpr std::size_t max_bytes_bloques = std::size_t{256} << 20;
// A block that inserts itself would draw for ever; a real drawing nests a few deep.
constexpr std::size_t max_anidamiento = 16;
// What one INSERT or DIMENSION of ENTITIES may draw: an array of a million copies, or blocks
// of ten inserting ten seven deep, would write for hours from a few lines. The fuzzer reaches
// the same rule at a thousandth.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
constexpr std::int32_t max_dibujadas = 1000;
#else
constexpr std::int32_t max_dibujadas = 1000000;
#endif

constexpr int grupo_nombre = 2;
constexpr int grupo_punto_cota_x = 12, grupo_punto_cota_y = 22, grupo_punto_cota_z = 32;
constexpr int grupo_escala_x = 41, grupo_escala_y = 42, grupo_escala_z = 43;
constexpr int grupo_espacio_columnas = 44, grupo_espacio_filas = 45;
constexpr int grupo_rotacion = 50;
constexpr int grupo_siguen_atributos = 66;
constexpr int grupo_columnas = 70, grupo_filas = 71;

bool termina_definicion(const grupo& g) {
  return g.codigo == 0 && (g.valor == "ENDBLK" || g.valor == "BLOCK" || g.valor == "ENDSEC");
}

double mayor_escala(double sx, double sy, double sz) {
  const double x = std::fabs(sx), y = std::fabs(sy), z = std::fabs(sz);
  const double m = x > y ? x : y;
  return m > z ? m : z;
}

}  // namespace

void borra_estado_bloques::operator()(estado_bloques* b) const noexcept { delete b; }

estado_bloques& conversor::bloques() {
  if (!bloques_) bloques_.reset(new estado_bloques);
  return *bloques_;
}

// From the group after "2 BLOCKS" to its ENDSEC. Each BLOCK's own groups give its name and
// base point; what follows, up to its ENDBLK (or a BLOCK or an ENDSEC that comes first), is
// kept as it stands. A definition cut off by the end of the drawing is lost.
void conversor::lee_bloques() {
  lector_grupos& lector = *lector_;
  estado_bloques& b = bloques();
  const grupo* g = lector.siguiente();
  while (g != nullptr) {
    if (g->codigo != 0 || g->valor != "BLOCK") {
      if (g->codigo == 0 && g->valor == "ENDSEC") break;
      g = lector.siguiente();
      continue;
    }
    std::string nombre;
    bool tiene_nombre = false;
    definicion_bloque d;
    // Whole lines from here: an MTEXT of a block keeps the spaces of its pieces.
    for (g = lector.siguiente_entero(); g != nullptr && g->codigo != 0; g = lector.siguiente_entero()) {
      if (g->codigo == grupo_nombre) {
        nombre.assign(g->valor);
        tiene_nombre = true;
      } else if (g->codigo == grupo_x || g->codigo == grupo_y || g->codigo == grupo_z) {
        d.base[static_cast<std::size_t>(g->codigo / 10 - 1)] = {std::string(g->valor), g->num_linea + 1};
      }
    }
    for (; g != nullptr && !termina_definicion(*g); g = lector.siguiente_entero()) {
      if (!tiene_nombre) continue;
      if (++b.grupos > max_grupos_bloques || (b.bytes += g->linea.size()) > max_bytes_bloques) {
        throw error_conversion(sin_memoria,
                               {"the blocks hold more than 4,000,000 groups or 256 MiB",
                                "los bloques tienen más de 4.000.000 de grupos o 256 MiB"},
                               lector.fichero(), g->num_linea);
      }
      d.grupos.push_back({g->num_linea, static_cast<std::uint32_t>(d.texto.size()),
                          static_cast<std::uint32_t>(g->linea.size()), g->codigo});
      d.texto.append(g->linea);
    }
    if (g == nullptr) break;
    if (tiene_nombre) {
      // The group 0 that ended it ends every reading of it, as it ended the entity before it.
      if (!d.grupos.empty()) {
        d.grupos.push_back({g->num_linea, static_cast<std::uint32_t>(d.texto.size()),
                            static_cast<std::uint32_t>(g->valor.size()), 0});
        d.texto.append(g->valor);
      }
      convierte_valor(nombre, pagina_dibujo_, opciones_.pagina_salida);
      for (char& c : nombre) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
      b.definiciones[nombre] = std::move(d);
    }
    // An ENDBLK's own groups are passed over above; a BLOCK or ENDSEC is looked at again.
    if (g->valor == "ENDBLK") g = lector.siguiente();
  }
  seccion_ = seccion::ninguna;
}

const definicion_bloque* conversor::busca_bloque(std::string nombre) const {
  if (!bloques_) return nullptr;
  convierte_valor(nombre, pagina_dibujo_, opciones_.pagina_salida);
  for (char& c : nombre) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const auto d = bloques_->definiciones.find(nombre);
  if (d == bloques_->definiciones.end() || d->second.grupos.empty()) return nullptr;
  return &d->second;
}

// An INSERT or DIMENSION of ENTITIES starts a drawing of its own: its count of entities drawn
// and the line that its failures name.
void conversor::empieza_origen() {
  if (colocando_) return;
  estado_bloques& b = bloques();
  b.dibujadas = 0;
  b.linea_origen = linea_entidad_;
}

void conversor::comprueba_anidamiento() const {
  if (bloques_->colocaciones.size() < max_anidamiento) return;
  throw error_conversion(sin_espacio_de_pila,
                         {"blocks nested more than 16 deep", "bloques anidados a más de 16 niveles"},
                         lector_->fichero(), bloques_->linea_origen);
}

void conversor::cuenta_dibujada() {
  estado_bloques& b = bloques();
  if (b.dibujadas == max_dibujadas) {
    throw error_conversion(subindice_fuera_de_rango,
                           {"an INSERT or DIMENSION draws more than 1,000,000 entities",
                            "un INSERT o DIMENSION dibuja más de 1.000.000 de entidades"},
                           lector_->fichero(), b.linea_origen);
  }
  ++b.dibujadas;
}

const std::string& conversor::codigo_heredado() const noexcept { return bloques_->colocaciones.back().codigo; }

void conversor::ProcesaInsertBloque() {
  tiene_capa_ = false;
  std::string nombre;
  punto_leido p;
  normal_leida normal;
  colocacion c;
  double rotacion = 0.0;
  std::int32_t columnas = 1, filas = 1;
  bool atributos = false;
  recorre_entidad("INSERT", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_nombre: nombre.assign(g.valor); break;
      case grupo_x: lee_valor(g, p.x); break;
      case grupo_y: lee_valor(g, p.y); break;
      case grupo_z: lee_valor(g, p.z); break;
      case grupo_escala_x: c.sx = numero(g); break;
      case grupo_escala_y: c.sy = numero(g); break;
      case grupo_escala_z: c.sz = numero(g); break;
      case grupo_espacio_columnas: c.espacio_columnas = numero(g); break;
      case grupo_espacio_filas: c.espacio_filas = numero(g); break;
      case grupo_rotacion: rotacion = numero(g); break;
      case grupo_columnas: columnas = entero(g); break;
      case grupo_filas: filas = entero(g); break;
      case grupo_siguen_atributos: atributos = entero(g) == 1; break;
      default: lee_normal(g, normal); break;
    }
    return false;
  });
  clasifica_sin_capa();
  empieza_origen();
  comprueba_anidamiento();
  if (const definicion_bloque* d = busca_bloque(std::move(nombre))) {
    c.insercion = p.doble();
    c.cos_r = std::cos(rotacion * grado);
    c.sin_r = std::sin(rotacion * grado);
    c.plano = normal.plano();
    c.codigo = e_.codigo;
    const double exterior = colocando_ ? bloques_->colocaciones.back().escala_curvas : 1.0;
    const double altura = colocando_ ? bloques_->colocaciones.back().escala_altura : 1.0;
    c.escala_curvas = exterior * mayor_escala(c.sx, c.sy, c.sz);
    c.escala_altura = altura * std::fabs(c.sy);
    dibuja(*d, std::move(c), columnas, filas);
  }
  // Where the drawing shows them already: placed by the INSERTs around this one only.
  if (atributos) lee_atributos();
}

// Its block is drawn where the dimension was measured: its other values are the block's own
// doing.
void conversor::ProcesaDimension() {
  tiene_capa_ = false;
  std::string nombre;
  punto_leido m;
  normal_leida normal;
  recorre_entidad("DIMENSION", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_nombre: nombre.assign(g.valor); break;
      case grupo_punto_cota_x: lee_valor(g, m.x); break;
      case grupo_punto_cota_y: lee_valor(g, m.y); break;
      case grupo_punto_cota_z: lee_valor(g, m.z); break;
      default: lee_normal(g, normal); break;
    }
    return false;
  });
  clasifica_sin_capa();
  empieza_origen();
  comprueba_anidamiento();
  const definicion_bloque* d = busca_bloque(std::move(nombre));
  if (d == nullptr) return;
  colocacion c;
  c.cota = true;
  c.insercion = m.doble();
  c.plano = normal.plano();
  c.codigo = e_.codigo;
  if (colocando_) {
    c.escala_curvas = bloques_->colocaciones.back().escala_curvas;
    c.escala_altura = bloques_->colocaciones.back().escala_altura;
  }
  dibuja(*d, std::move(c), 1, 1);
}

// Every copy of the array, row by row, each row column by column; then the state as it was,
// whatever the outcome.
void conversor::dibuja(const definicion_bloque& d, colocacion c, std::int32_t columnas, std::int32_t filas) {
  if (!c.cota) {
    punto_leido base;
    valor_leido* valores[] = {&base.x, &base.y, &base.z};
    for (std::size_t k = 0; k < 3; ++k) {
      if (d.base[k].linea == 0) continue;
      try {
        valores[k]->v = lee_coordenada(d.base[k].texto);
      } catch (const error_conversion& e) {
        throw e.situada(lector_->fichero(), d.base[k].linea);
      }
    }
    c.base = base.doble();
  }
  estado_bloques& b = bloques();
  b.colocaciones.push_back(std::move(c));
  struct restaura {
    conversor& conv;
    ~restaura() {
      std::vector<colocacion>& pila = conv.bloques_->colocaciones;
      pila.pop_back();
      conv.colocando_ = !pila.empty();
      conv.escala_curvas_ = pila.empty() ? 1.0 : pila.back().escala_curvas;
      conv.escala_altura_ = pila.empty() ? 1.0 : pila.back().escala_altura;
    }
  } guarda{*this};
  colocacion& actual = b.colocaciones.back();
  colocando_ = true;
  escala_curvas_ = actual.escala_curvas;
  escala_altura_ = actual.escala_altura;
  for (std::int32_t j = 0; j < (filas < 2 ? 1 : filas); ++j) {
    for (std::int32_t i = 0; i < (columnas < 2 ? 1 : columnas); ++i) {
      // The stack may grow under it, moving it: found again for each copy.
      colocacion& copia = b.colocaciones.back();
      copia.desplazamiento_columna = static_cast<double>(i) * copia.espacio_columnas;
      copia.desplazamiento_fila = static_cast<double>(j) * copia.espacio_filas;
      recorre_bloque(d);
    }
  }
}

void conversor::recorre_bloque(const definicion_bloque& d) {
  lector_grupos& lector = *lector_;
  const lector_grupos::pausa pausa =
      lector.reproduce(d.grupos.data(), d.grupos.data() + d.grupos.size(), d.texto.data());
  while (const grupo* g = lector.siguiente()) {
    if (g->codigo != 0 || lector.reproduccion_acabada()) continue;
    const std::string_view tipo = g->valor;
    if (tipo == "VERTEX" || tipo == "SEQEND") continue;
    cuenta_dibujada();
    const tipo_leido t = tipo_de(tipo);
    // A TRIANG's record keeps true coordinates and a fixed code: nothing a block could place.
    if (t != tipo_leido::triang) procesa(t);
  }
  lector.reanuda(pausa);
}

// The ATTRIBs after an INSERT, up to its SEQEND: each read as a TEXT.
void conversor::lee_atributos() {
  lector_grupos& lector = *lector_;
  const std::int64_t linea_insert = linea_entidad_;
  while (const grupo* g = lector.siguiente()) {
    if (g->codigo != 0) continue;
    if (g->valor == "SEQEND") break;
    if (g->valor != "ATTRIB") {
      lector.devuelve();
      break;
    }
    cuenta_dibujada();
    // In ENTITIES an attribute's faults are its own line's, as a TEXT's are.
    if (!colocando_) linea_entidad_ = g->num_linea + 1;
    e_.elem_cerrado = false;
    e_.EsTexto = true;
    e_.num_puntos = 1;
    ProcesaText("ATTRIB", true);
  }
  linea_entidad_ = linea_insert;
}

punto_doble conversor::coloca(const punto_doble& p) const noexcept {
  punto_doble q = p;
  const std::vector<colocacion>& pila = bloques_->colocaciones;
  for (auto c = pila.rbegin(); c != pila.rend(); ++c) {
    if (c->cota) {
      q = c->plano.al_mundo({q.x + c->insercion.x, q.y + c->insercion.y, q.z + c->insercion.z});
      continue;
    }
    const double dx = q.x - c->base.x;
    const double dy = q.y - c->base.y;
    const double dz = q.z - c->base.z;
    const double ax = c->sx * dx + c->desplazamiento_columna;
    const double ay = c->sy * dy + c->desplazamiento_fila;
    const double az = c->sz * dz;
    q = c->plano.al_mundo({ax * c->cos_r - ay * c->sin_r + c->insercion.x,
                           ax * c->sin_r + ay * c->cos_r + c->insercion.y, az + c->insercion.z});
  }
  return q;
}

}  // namespace tolvar
