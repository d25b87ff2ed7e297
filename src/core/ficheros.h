#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_conversion.h"

namespace tolvar {

// A file read from start to end. lee() gives up to `max` bytes, 0 only at the end; a read
// the system refuses throws error_conversion.
class fuente {
 public:
  virtual ~fuente() = default;
  virtual std::size_t lee(char* destino, std::size_t max) = 0;
  // How many bytes the file holds, when known without asking the system (a file in memory): a
  // hint for the size of the buffers, never taken for where the file ends.
  virtual std::optional<std::uint64_t> tamano() const { return std::nullopt; }
};

// A file written from start to end. Bytes handed to escribe() may stay buffered; cierra()
// pushes them out and is where a full disk shows. Both throw error_conversion.
// Destroying an open sink writes what it holds and swallows errors: that is the path of a
// conversion that already failed, whose own error is the one to report.
class sumidero {
 public:
  virtual ~sumidero() = default;
  virtual void escribe(std::string_view bytes) = 0;
  virtual void cierra() = 0;
};

// What a file layer was doing when the system refused, for error_sistema().
inline const texto_error al_abrir{"cannot open the file", "no se puede abrir el fichero"};
inline const texto_error al_leer{"cannot read the file", "no se puede leer el fichero"};
inline const texto_error al_crear{"cannot create the file", "no se puede crear el fichero"};
inline const texto_error al_escribir{"cannot write the file", "no se puede escribir el fichero"};
inline const texto_error al_borrar{"cannot delete the file", "no se puede borrar el fichero"};
inline const texto_error al_listar{"cannot list the directory", "no se puede listar el directorio"};

// Everything the conversion asks of the file system, so that tests and fuzzers can run it on
// memory and make it fail where they like.
class ficheros {
 public:
  virtual ~ficheros() = default;
  virtual std::unique_ptr<fuente> abre(const std::filesystem::path& ruta) = 0;
  // A new, empty file at `ruta`. What stood there (an ordinary file, or a link: the link
  // itself, never its target) is removed first, and the file is then created exclusively, so
  // that a link made in between fails the creation instead of being followed: an output
  // never writes through a link, wherever it points. A directory there is an error.
  virtual std::unique_ptr<sumidero> crea(const std::filesystem::path& ruta) = 0;
  // File names (without directory) of the ordinary, not hidden files of a directory, in no
  // particular order.
  virtual std::vector<std::filesystem::path> lista(const std::filesystem::path& directorio) = 0;
};

// The real disk.
class ficheros_disco final : public ficheros {
 public:
  std::unique_ptr<fuente> abre(const std::filesystem::path& ruta) override;
  std::unique_ptr<sumidero> crea(const std::filesystem::path& ruta) override;
  std::vector<std::filesystem::path> lista(const std::filesystem::path& directorio) override;
};

}  // namespace tolvar
