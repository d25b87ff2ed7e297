#pragma once

#include <ostream>
#include <string>

#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/vista_conversion.h"

namespace tolvar {

// The window's counters and labels as lines of text, one block per drawing, on `salida`;
// what a user must be warned of, in their language, on `errores`.
class vista_texto final : public vista_conversion {
 public:
  // `tambien`: the kinds read on request, whose counts are printed too; with `bloques`,
  // INSERT's and DIMENSION's.
  vista_texto(std::ostream& salida, std::ostream& errores, idioma en, bool atributo,
              tipos_tambien tambien = {}, bool bloques = false)
      : salida_(salida), errores_(errores), idioma_(en), atributo_(atributo), tambien_(tambien),
        bloques_(bloques) {}

  void muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                          std::int32_t cont_text) override;
  void muestra_resumen(const contadores& cuentas) override;
  void muestra_ficheros(const std::filesystem::path& bin, const std::filesystem::path& err) override;
  void sin_dibujos(const std::filesystem::path& directorio) override;
  void muestra_fin() override;
  void puntero_espera(bool) override {}
  bool atributo_activado() const override { return atributo_; }

 private:
  std::ostream& salida_;
  std::ostream& errores_;
  idioma idioma_;
  bool atributo_;
  tipos_tambien tambien_;
  bool bloques_;
  std::int32_t cuentas_[3] = {0, 0, 0};
  contadores resumen_;
};

}  // namespace tolvar
