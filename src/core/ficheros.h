#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tolvar {

// A file read from start to end. lee() gives up to `max` bytes, 0 only at the end; a read
// the system refuses throws error_conversion.
class fuente {
 public:
  virtual ~fuente() = default;
  virtual std::size_t lee(char* destino, std::size_t max) = 0;
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

// Everything the conversion asks of the file system, so that tests and fuzzers can run it on
// memory and make it fail where they like.
class ficheros {
 public:
  virtual ~ficheros() = default;
  virtual std::unique_ptr<fuente> abre(const std::filesystem::path& ruta) = 0;
  // Creates the file empty, replacing an existing one.
  virtual std::unique_ptr<sumidero> crea(const std::filesystem::path& ruta) = 0;
  // True for an ordinary file only (not a directory).
  virtual bool existe_fichero(const std::filesystem::path& ruta) = 0;
  virtual void borra(const std::filesystem::path& ruta) = 0;
  // File names (without directory) of the ordinary, not hidden files of a directory, in no
  // particular order.
  virtual std::vector<std::filesystem::path> lista(const std::filesystem::path& directorio) = 0;
};

// The real disk.
class ficheros_disco final : public ficheros {
 public:
  std::unique_ptr<fuente> abre(const std::filesystem::path& ruta) override;
  std::unique_ptr<sumidero> crea(const std::filesystem::path& ruta) override;
  bool existe_fichero(const std::filesystem::path& ruta) override;
  void borra(const std::filesystem::path& ruta) override;
  std::vector<std::filesystem::path> lista(const std::filesystem::path& directorio) override;
};

}  // namespace tolvar
