#include "support/ficheros_memoria.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "core/error_conversion.h"
#include "core/texto.h"

namespace tolvar {
namespace {

// "d/a.dxf" on every system, in UTF-8: generic_string() would be in Windows' ANSI code page.
std::string clave(const std::filesystem::path& ruta) {
  const std::u8string u = ruta.lexically_normal().generic_u8string();
  return std::string(u.begin(), u.end());
}

class fuente_memoria final : public fuente {
 public:
  explicit fuente_memoria(std::string datos) : datos_(std::move(datos)) {}
  std::size_t lee(char* destino, std::size_t max) override {
    const std::size_t n = std::min(max, datos_.size() - pos_);
    std::memcpy(destino, datos_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  std::optional<std::uint64_t> tamano() const override { return datos_.size(); }

 private:
  std::string datos_;
  std::size_t pos_ = 0;
};

class sumidero_memoria final : public sumidero {
 public:
  sumidero_memoria(ficheros_memoria& fs, std::string clave, std::filesystem::path ruta)
      : fs_(fs), clave_(std::move(clave)), ruta_(std::move(ruta)) {}

  void escribe(std::string_view bytes) override {
    ++escrituras_;
    const auto fallo = fs_.escritura_fallida.find(clave_);
    if (fallo != fs_.escritura_fallida.end() && escrituras_ >= fallo->second)
      throw error_sistema(std::make_error_code(std::errc::no_space_on_device), al_escribir, ruta_);
    fs_.contenido[clave_].append(bytes);
  }
  void cierra() override {
    if (fs_.cierre_fallido.count(clave_) != 0)
      throw error_sistema(std::make_error_code(std::errc::no_space_on_device), al_escribir, ruta_);
  }

 private:
  ficheros_memoria& fs_;
  std::string clave_;
  std::filesystem::path ruta_;
  std::size_t escrituras_ = 0;
};

}  // namespace

void ficheros_memoria::pon(const std::filesystem::path& ruta, std::string bytes) {
  contenido[clave(ruta)] = std::move(bytes);
}

std::optional<std::string> ficheros_memoria::lee(const std::filesystem::path& ruta) const {
  const auto it = contenido.find(clave(ruta));
  if (it == contenido.end()) return std::nullopt;
  return it->second;
}

std::unique_ptr<fuente> ficheros_memoria::abre(const std::filesystem::path& ruta) {
  const auto it = contenido.find(clave(ruta));
  if (it == contenido.end())
    throw error_sistema(std::make_error_code(std::errc::no_such_file_or_directory), al_abrir, ruta);
  return std::make_unique<fuente_memoria>(it->second);
}

std::unique_ptr<sumidero> ficheros_memoria::crea(const std::filesystem::path& ruta) {
  const std::string k = clave(ruta);
  if (contenido.count(k) != 0) {
    if (no_borrables.count(k) != 0)
      throw error_sistema(std::make_error_code(std::errc::permission_denied), al_borrar, ruta);
    contenido.erase(k);
  }
  if (no_creables.count(k) != 0)
    throw error_sistema(std::make_error_code(std::errc::permission_denied), al_crear, ruta);
  contenido[k].clear();
  return std::make_unique<sumidero_memoria>(*this, k, ruta);
}

std::vector<std::filesystem::path> ficheros_memoria::lista(const std::filesystem::path& directorio) {
  const std::string dir = clave(directorio);
  std::vector<std::filesystem::path> nombres;
  for (const auto& [k, datos] : contenido) {
    const std::filesystem::path p = ruta_de_texto(k);
    if (clave(p.parent_path()) == dir && ocultos.count(k) == 0) nombres.push_back(p.filename());
  }
  return nombres;
}

}  // namespace tolvar
