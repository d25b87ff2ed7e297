#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "core/ficheros.h"

namespace tolvar {

// Files kept in memory, keyed by their generic path text ("d/a.dxf"). Tests, fuzzers and the
// benchmark run the real conversion on it; tests make the disk fail where they want to see
// the failure. A double: it is not part of the library that ships.
class ficheros_memoria final : public ficheros {
 public:
  std::map<std::string, std::string> contenido;
  std::set<std::string> ocultos;          // listed by no listing
  std::set<std::string> no_borrables;     // crea() cannot remove what stands there: "permission denied"
  std::set<std::string> no_creables;      // crea() refuses with "permission denied"
  // The n-th escribe() (counted from 1) on a file of this name fails with "disk full", and
  // so does every one after it; what came before it is kept.
  std::map<std::string, std::size_t> escritura_fallida;
  // cierra() on a file of this name fails with "disk full" (a write-behind error).
  std::set<std::string> cierre_fallido;

  void pon(const std::filesystem::path& ruta, std::string bytes);
  // The bytes of a file; std::nullopt when it does not exist.
  std::optional<std::string> lee(const std::filesystem::path& ruta) const;

  std::unique_ptr<fuente> abre(const std::filesystem::path& ruta) override;
  std::unique_ptr<sumidero> crea(const std::filesystem::path& ruta) override;
  std::vector<std::filesystem::path> lista(const std::filesystem::path& directorio) override;
};

}  // namespace tolvar
