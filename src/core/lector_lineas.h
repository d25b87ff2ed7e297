#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/ficheros.h"

namespace tolvar {

// Splits a file into lines without ever holding more than one buffer of it. A line ends at
// CR LF, LF or a lone CR; a last line without an end is a line too; an empty file has none.
// A line over max_linea bytes is error 6: no DXF line comes near it, and it must not make
// us swallow a whole file that has no line ends (a binary DXF, say) into memory.
class lector_lineas {
 public:
  static constexpr std::size_t max_linea = std::size_t{1} << 20;

  lector_lineas(fuente& origen, std::filesystem::path fichero);

  // The next line, without its end; false at the end of the file. The view stays valid
  // until the next call.
  bool lee(std::string_view& linea);

  // 1-based number of the line last returned; 0 before the first.
  std::int64_t num_linea() const noexcept { return num_linea_; }
  const std::filesystem::path& fichero() const noexcept { return fichero_; }

 private:
  bool rellena();

  fuente& origen_;
  std::filesystem::path fichero_;
  std::unique_ptr<char[]> buffer_;
  const char* ini_;
  const char* fin_;
  std::size_t escaneado_ = 0;  // bytes after ini_ already known to hold no line end
  bool agotado_ = false;
  std::int64_t num_linea_ = 0;
};

// Spaces off both ends; only the space character, as everywhere in these files (a tab stays).
constexpr std::string_view recorta(std::string_view s) noexcept {
  std::size_t a = 0, b = s.size();
  while (a < b && s[a] == ' ') ++a;
  while (b > a && s[b - 1] == ' ') --b;
  return s.substr(a, b - a);
}

// A short, quotable form of a text for an error message.
std::string cita(std::string_view texto);

}  // namespace tolvar
