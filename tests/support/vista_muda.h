#pragma once

// A window that shows nothing, for the fuzzers and the benchmark, which look only at the
// files a conversion writes; the attribute option is whatever the caller sets.

#include <cstdint>
#include <filesystem>

#include "core/vista_conversion.h"

namespace tolvar {

class vista_muda final : public vista_conversion {
 public:
  bool atributo = false;
  void muestra_contadores(std::int32_t, std::int32_t, std::int32_t) override {}
  void muestra_ficheros(const std::filesystem::path&, const std::filesystem::path&) override {}
  void muestra_fin() override {}
  void puntero_espera(bool) override {}
  bool atributo_activado() const override { return atributo; }
};

}  // namespace tolvar
