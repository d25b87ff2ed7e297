#include "core/conversor.h"

#include <limits>
#include <optional>

#include "core/error_conversion.h"
#include "core/lector_grupos.h"

namespace tolvar {
namespace {

// The groups the main loop looks at besides group 0: a section's name, a HEADER variable and
// the code page's name after $DWGCODEPAGE.
constexpr int grupo_nombre = 2;
constexpr int grupo_variable = 9;
constexpr int grupo_pagina_codigos = 3;

}  // namespace

conversor::conversor(vista_conversion& vista, ficheros& fs)
    : vista_(vista), fs_(fs), tabla_(nueva_tabla()) {}

conversor::~conversor() = default;

void conversor::cuenta(std::int32_t& contador) {
  if (contador == std::numeric_limits<std::int32_t>::max())
    throw error_conversion(desbordamiento,
                           {"more than 2,147,483,647 entities of one kind",
                            "más de 2.147.483.647 entidades de un mismo tipo"},
                           e_.fich_dxf, linea_entidad_);
  ++contador;
}

void conversor::ProcesoFichero() {
  std::filesystem::path::string_type nombre = e_.fich_dxf.filename().native();
  nombre.resize(nombre.size() >= 4 ? nombre.size() - 4 : 0);  // ".dxf", in any case
  e_.nombre_base = nombre;
  e_.fich_err = e_.directorio / e_.nombre_base;
  e_.fich_err += ".err";
  e_.fich_bin = e_.directorio / e_.nombre_base;
  e_.fich_bin += ".bin";
  e_.nuevo_dibujo();
  cuentas_ = {};
  pagina_dibujo_ = opciones_.pagina_salida;
  // Blocks are a drawing's own; and a failure may have left one being drawn.
  bloques_.reset();
  colocando_ = false;
  escala_curvas_ = 1.0;
  escala_altura_ = 1.0;

  CargaTab();

  // Declared before the guard so that it outlives the reader, whose thread may be reading it.
  std::unique_ptr<fuente> dibujo;
  // Whatever ends the run, the files are closed and what they hold is kept: the records
  // already written are whole, and a failure must not take them with it.
  struct cierre_forzoso {
    conversor& c;
    ~cierre_forzoso() {
      c.lector_.reset();
      c.bin_.reset();
      c.err_.reset();
    }
  } guarda{*this};

  err_ = fs_.crea(e_.fich_err);
  bin_ = fs_.crea(e_.fich_bin);

  vista_.puntero_espera(true);
  vista_.muestra_contadores(0, 0, 0);
  vista_.muestra_resumen(cuentas_);

  dibujo = fs_.abre(e_.fich_dxf);
  lector_ = std::make_unique<lector_grupos>(*dibujo, e_.fich_dxf);
  recorre_dibujo();
  lector_.reset();
  bin_->cierra();
  err_->cierra();

  vista_.muestra_contadores(cuentas_.cont_polyline, cuentas_.cont_point, cuentas_.cont_text);
  vista_.muestra_resumen(cuentas_);
  vista_.muestra_ficheros(e_.fich_bin, e_.fich_err);
}

conversor::tipo_leido conversor::tipo_de(std::string_view tipo) const noexcept {
  const tipos_tambien& tambien = opciones_.tambien;
  // The four of every conversion first: they are nearly all a drawing of the old maps holds.
  if (tipo == "POLYLINE") return tipo_leido::polyline;
  if (tipo == "POINT") return tipo_leido::point;
  if (tipo == "TEXT") return tipo_leido::text;
  if (tipo == "TRIANG") return tipo_leido::triang;
  if (tipo == "LWPOLYLINE" && tambien.lwpolyline) return tipo_leido::lwpolyline;
  if (tipo == "LINE" && tambien.line) return tipo_leido::line;
  if (tipo == "MTEXT" && tambien.mtext) return tipo_leido::mtext;
  if (tipo == "INSERT" && (tambien.insert || opciones_.bloques)) return tipo_leido::insert;
  if (tipo == "CIRCLE" && tambien.circle) return tipo_leido::circle;
  if (tipo == "ARC" && tambien.arc) return tipo_leido::arc;
  if (tipo == "ELLIPSE" && tambien.ellipse) return tipo_leido::ellipse;
  if (tipo == "3DFACE" && tambien.face3d) return tipo_leido::face3d;
  if (tipo == "SOLID" && tambien.solid) return tipo_leido::solid;
  if (tipo == "TRACE" && tambien.trace) return tipo_leido::trace;
  if (tipo == "SPLINE" && tambien.spline) return tipo_leido::spline;
  if (tipo == "HATCH" && tambien.hatch) return tipo_leido::hatch;
  if (tipo == "LEADER" && tambien.leader) return tipo_leido::leader;
  if (tipo == "DIMENSION" && opciones_.bloques) return tipo_leido::dimension;
  return tipo_leido::ninguno;
}

std::int32_t& conversor::contador_de(tipo_leido t) noexcept {
  switch (t) {
    case tipo_leido::polyline: return cuentas_.cont_polyline;
    case tipo_leido::point: return cuentas_.cont_point;
    case tipo_leido::text: return cuentas_.cont_text;
    case tipo_leido::triang: return cuentas_.cont_triang;
    case tipo_leido::lwpolyline: return cuentas_.cont_lwpolyline;
    case tipo_leido::line: return cuentas_.cont_line;
    case tipo_leido::mtext: return cuentas_.cont_mtext;
    case tipo_leido::insert: return cuentas_.cont_insert;
    case tipo_leido::circle: return cuentas_.cont_circle;
    case tipo_leido::arc: return cuentas_.cont_arc;
    case tipo_leido::ellipse: return cuentas_.cont_ellipse;
    case tipo_leido::face3d: return cuentas_.cont_3dface;
    case tipo_leido::solid: return cuentas_.cont_solid;
    case tipo_leido::trace: return cuentas_.cont_trace;
    case tipo_leido::spline: return cuentas_.cont_spline;
    case tipo_leido::hatch: return cuentas_.cont_hatch;
    case tipo_leido::leader: return cuentas_.cont_leader;
    case tipo_leido::dimension:
    case tipo_leido::ninguno: break;
  }
  return cuentas_.cont_dimension;
}

void conversor::procesa(tipo_leido t) {
  e_.elem_cerrado = false;
  e_.EsTexto = false;
  switch (t) {
    case tipo_leido::polyline:
      e_.num_puntos = 0;
      ProcesaPolyline();
      break;
    case tipo_leido::point:
      e_.num_puntos = 1;
      ProcesaPoint();
      break;
    case tipo_leido::text:
      e_.EsTexto = true;
      e_.num_puntos = 1;
      ProcesaText();
      break;
    case tipo_leido::triang:
      e_.num_puntos = 0;
      ProcesaTriang();
      break;
    case tipo_leido::lwpolyline: ProcesaLwpolyline(); break;
    case tipo_leido::line: ProcesaLine(); break;
    case tipo_leido::mtext: ProcesaMtext(); break;
    case tipo_leido::insert:
      if (opciones_.bloques) {
        ProcesaInsertBloque();
      } else {
        ProcesaInsert();
      }
      break;
    case tipo_leido::circle: ProcesaArc(true); break;
    case tipo_leido::arc: ProcesaArc(false); break;
    case tipo_leido::ellipse: ProcesaEllipse(); break;
    case tipo_leido::face3d: Procesa3dface(); break;
    case tipo_leido::solid: ProcesaSolid("SOLID"); break;
    case tipo_leido::trace: ProcesaSolid("TRACE"); break;
    case tipo_leido::spline: ProcesaSpline(); break;
    case tipo_leido::hatch: ProcesaHatch(); break;
    case tipo_leido::leader: ProcesaLeader(); break;
    case tipo_leido::dimension: ProcesaDimension(); break;
    case tipo_leido::ninguno: break;
  }
}

void conversor::recorre_dibujo() {
  // Held in a register rather than reloaded from lector_ after every entity.
  lector_grupos& lector = *lector_;
  seccion_ = seccion::ninguna;
  while (const grupo* g = lector.siguiente()) {
    // Entities are named only by a group 0: a layer called TEXT or a string "POINT" is a
    // value, not a keyword.
    if (g->codigo != 0) {
      if (seccion_ == seccion::cabecera && g->codigo == grupo_variable) lee_variable_cabecera(*g);
      continue;
    }
    const std::string_view tipo = g->valor;
    linea_entidad_ = g->num_linea + 1;
    if (const tipo_leido t = tipo_de(tipo); t != tipo_leido::ninguno) {
      cuenta(contador_de(t));
      procesa(t);
    } else if (tipo == "SECTION") {
      abre_seccion();
    } else if (tipo == "ENDSEC") {
      seccion_ = seccion::ninguna;
    } else if ((seccion_ == seccion::ninguna || seccion_ == seccion::entidades) && tipo != "EOF" &&
               tipo != "VERTEX" && tipo != "SEQEND" && tipo != "ATTRIB") {
      // VERTEX, SEQEND and ATTRIB belong to the entity before them, read or not.
      cuentas_.omitidas.anota(tipo);
    }
  }
}

void conversor::abre_seccion() {
  lector_grupos& lector = *lector_;
  const grupo* nombre = lector.siguiente();
  if (nombre == nullptr) return;
  if (nombre->codigo != grupo_nombre) {
    // A section without a name is none we know; its next group is the loop's to look at.
    lector.devuelve();
    seccion_ = seccion::otra;
    return;
  }
  const std::string_view n = nombre->valor;
  if (n == "BLOCKS") {
    if (opciones_.bloques) {
      lee_bloques();
    } else {
      salta_bloques();
    }
    return;
  }
  seccion_ = n == "ENTITIES" ? seccion::entidades : n == "HEADER" ? seccion::cabecera : seccion::otra;
}

// A block defines a symbol once, around its own origin, and a dimension's block holds the
// points it was drawn from: none of it is a feature of the map. Its groups are still read as
// groups, so a broken one is the error it is anywhere.
void conversor::salta_bloques() {
  lector_grupos& lector = *lector_;
  while (const grupo* g = lector.siguiente()) {
    if (g->codigo == 0 && g->valor == "ENDSEC") break;
  }
  seccion_ = seccion::ninguna;
}

void conversor::lee_variable_cabecera(const grupo& g) {
  if (g.valor != "$DWGCODEPAGE") return;
  lector_grupos& lector = *lector_;
  const grupo* valor = lector.siguiente();
  if (valor == nullptr) return;
  if (valor->codigo != grupo_pagina_codigos) {
    lector.devuelve();
    return;
  }
  if (const std::optional<pagina_codigos> p = pagina_por_nombre(valor->valor)) pagina_dibujo_ = *p;
}

}  // namespace tolvar
