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

void conversor::recorre_dibujo() {
  // Held in a register rather than reloaded from lector_ after every entity.
  lector_grupos& lector = *lector_;
  seccion_ = seccion::ninguna;
  while (const grupo* g = lector.siguiente()) {
    e_.elem_cerrado = false;
    e_.EsTexto = false;
    // Entities are named only by a group 0: a layer called TEXT or a string "POINT" is a
    // value, not a keyword.
    if (g->codigo != 0) {
      if (seccion_ == seccion::cabecera && g->codigo == grupo_variable) lee_variable_cabecera(*g);
      continue;
    }
    const std::string_view tipo = g->valor;
    linea_entidad_ = g->num_linea + 1;
    const tipos_tambien& tambien = opciones_.tambien;
    if (tipo == "POLYLINE") {
      e_.num_puntos = 0;
      cuenta(cuentas_.cont_polyline);
      ProcesaPolyline();
    } else if (tipo == "POINT") {
      cuenta(cuentas_.cont_point);
      e_.num_puntos = 1;
      ProcesaPoint();
    } else if (tipo == "TEXT") {
      cuenta(cuentas_.cont_text);
      e_.EsTexto = true;
      e_.num_puntos = 1;
      ProcesaText();
    } else if (tipo == "TRIANG") {
      e_.num_puntos = 0;
      cuenta(cuentas_.cont_triang);
      ProcesaTriang();
    } else if (tipo == "LWPOLYLINE" && tambien.lwpolyline) {
      cuenta(cuentas_.cont_lwpolyline);
      ProcesaLwpolyline();
    } else if (tipo == "LINE" && tambien.line) {
      cuenta(cuentas_.cont_line);
      ProcesaLine();
    } else if (tipo == "MTEXT" && tambien.mtext) {
      cuenta(cuentas_.cont_mtext);
      ProcesaMtext();
    } else if (tipo == "INSERT" && tambien.insert) {
      cuenta(cuentas_.cont_insert);
      ProcesaInsert();
    } else if (tipo == "CIRCLE" && tambien.circle) {
      cuenta(cuentas_.cont_circle);
      ProcesaArc(true);
    } else if (tipo == "ARC" && tambien.arc) {
      cuenta(cuentas_.cont_arc);
      ProcesaArc(false);
    } else if (tipo == "ELLIPSE" && tambien.ellipse) {
      cuenta(cuentas_.cont_ellipse);
      ProcesaEllipse();
    } else if (tipo == "3DFACE" && tambien.face3d) {
      cuenta(cuentas_.cont_3dface);
      Procesa3dface();
    } else if (tipo == "SOLID" && tambien.solid) {
      cuenta(cuentas_.cont_solid);
      ProcesaSolid("SOLID");
    } else if (tipo == "TRACE" && tambien.trace) {
      cuenta(cuentas_.cont_trace);
      ProcesaSolid("TRACE");
    } else if (tipo == "SPLINE" && tambien.spline) {
      cuenta(cuentas_.cont_spline);
      ProcesaSpline();
    } else if (tipo == "HATCH" && tambien.hatch) {
      cuenta(cuentas_.cont_hatch);
      ProcesaHatch();
    } else if (tipo == "LEADER" && tambien.leader) {
      cuenta(cuentas_.cont_leader);
      ProcesaLeader();
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
    salta_bloques();
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
