#include "core/conversor.h"

#include <limits>

#include "core/error_conversion.h"
#include "core/lector_grupos.h"

namespace tolvar {

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

  dibujo = fs_.abre(e_.fich_dxf);
  lector_ = std::make_unique<lector_grupos>(*dibujo, e_.fich_dxf);
  recorre_dibujo();
  lector_.reset();
  bin_->cierra();
  err_->cierra();

  vista_.muestra_contadores(cuentas_.cont_polyline, cuentas_.cont_point, cuentas_.cont_text);
  vista_.muestra_ficheros(e_.fich_bin, e_.fich_err);
}

void conversor::recorre_dibujo() {
  // Held in a register rather than reloaded from lector_ after every entity.
  lector_grupos& lector = *lector_;
  while (const grupo* g = lector.siguiente()) {
    e_.elem_cerrado = false;
    e_.EsTexto = false;
    // Entities are named only by a group 0: a layer called TEXT or a string "POINT" is a
    // value, not a keyword.
    if (g->codigo != 0) continue;
    const std::string_view tipo = g->valor;
    linea_entidad_ = g->num_linea + 1;
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
    }
  }
}

}  // namespace tolvar
