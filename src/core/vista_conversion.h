#pragma once

#include <cstdint>
#include <filesystem>

#include "core/contadores.h"

namespace tolvar {

// What the conversion needs of the window. The window implements it with Qt, tolvar-cli
// prints, tests record the calls. Every call happens on the converting thread, and the
// window must show the change before the call returns: the batch holds its thread.
class vista_conversion {
 public:
  virtual ~vista_conversion() = default;
  // The three counter boxes: zeros when a drawing starts, its counts when it ends.
  virtual void muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                                  std::int32_t cont_text) = 0;
  // Every count of the drawing, right after each muestra_contadores(): the kinds read on
  // request and the line of what was left out. The window shows the latter; tolvar-cli both.
  virtual void muestra_resumen(const contadores& cuentas) { static_cast<void>(cuentas); }
  // The two "Creado el fichero : " lines, when a drawing ends.
  virtual void muestra_ficheros(const std::filesystem::path& bin,
                                const std::filesystem::path& err) = 0;
  // A batch found no drawing in `directorio`; called just before muestra_fin(). The window
  // needs nothing more than "Proceso Finalizado."; a terminal, where a mistyped directory
  // would otherwise look like success, says so.
  virtual void sin_dibujos(const std::filesystem::path& directorio) {
    static_cast<void>(directorio);
  }
  // "Proceso Finalizado.", when a batch ends.
  virtual void muestra_fin() = 0;
  // The program-wide wait pointer: on when a drawing starts, off when the batch ends.
  virtual void puntero_espera(bool activo) = 0;
  // The attribute option; asked for every entity written, never cached.
  virtual bool atributo_activado() const = 0;
};

}  // namespace tolvar
