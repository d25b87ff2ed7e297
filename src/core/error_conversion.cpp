#include "core/error_conversion.h"

#include "core/texto.h"

namespace tolvar {
namespace {

std::string compone(int numero, const std::string& que, const std::filesystem::path& fichero,
                    std::int64_t num_linea, idioma en) {
  std::string m = "Error " + std::to_string(numero) + " (" + describe_error(numero, en) + "): " + que;
  if (!fichero.empty()) {
    m += " -- " + texto_ruta(fichero);
    if (num_linea > 0)
      m += (en == idioma::espanol ? ", línea " : ", line ") + std::to_string(num_linea);
  }
  return m;
}

}  // namespace

const char* describe_error(int numero, idioma en) {
  const bool es = en == idioma::espanol;
  switch (numero) {
    case argumento_no_valido: return es ? "argumento no válido" : "invalid argument";
    case desbordamiento: return es ? "desbordamiento" : "overflow";
    case sin_memoria: return es ? "memoria insuficiente" : "out of memory";
    case subindice_fuera_de_rango: return es ? "subíndice fuera de intervalo" : "subscript out of range";
    case tipo_incompatible: return es ? "tipos no coinciden" : "type mismatch";
    case sin_espacio_de_pila: return es ? "espacio de pila insuficiente" : "out of stack space";
    case fichero_no_encontrado: return es ? "no se ha encontrado el fichero" : "file not found";
    case error_de_dispositivo: return es ? "error de E/S en el dispositivo" : "device I/O error";
    case disco_lleno: return es ? "disco lleno" : "disk full";
    case fin_de_fichero:
      return es ? "se ha leído más allá del final del fichero" : "input past end of file";
    case permiso_denegado: return es ? "permiso denegado" : "permission denied";
    case error_de_acceso:
      return es ? "error de acceso a la ruta o al fichero" : "path/file access error";
    case ruta_no_encontrada: return es ? "no se ha encontrado la ruta" : "path not found";
    default: return "error";
  }
}

error_conversion::error_conversion(int numero, texto_error que, std::filesystem::path fichero,
                                   std::int64_t num_linea)
    : std::runtime_error(compone(numero, que.en, fichero, num_linea, idioma::ingles)),
      numero_(numero),
      que_(std::move(que)),
      fichero_(std::move(fichero)),
      num_linea_(num_linea) {}

std::string error_conversion::mensaje(idioma en) const {
  return compone(numero_, que(en), fichero_, num_linea_, en);
}

error_conversion error_conversion::situada(const std::filesystem::path& fichero,
                                           std::int64_t num_linea) const {
  return error_conversion(numero_, que_, fichero, num_linea);
}

error_conversion error_sistema(std::error_code ec, const texto_error& que,
                               const std::filesystem::path& fichero) {
  int numero = error_de_acceso;
  if (ec == std::errc::no_such_file_or_directory) {
    numero = fichero_no_encontrado;
  } else if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
             ec == std::errc::read_only_file_system) {
    numero = permiso_denegado;
  } else if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large) {
    numero = disco_lleno;
  } else if (ec == std::errc::io_error) {
    numero = error_de_dispositivo;
  } else if (ec == std::errc::not_a_directory) {
    numero = ruta_no_encontrada;
  }
  const std::string sistema = ": " + ec.message();
  return error_conversion(numero, {que.en + sistema, que.es + sistema}, fichero);
}

}  // namespace tolvar
