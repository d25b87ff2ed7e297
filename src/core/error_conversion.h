#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tolvar {

// The numbers a failure is known by; they are also the exit status of tolvar-cli.
enum num_error : int {
  argumento_no_valido = 5,
  desbordamiento = 6,
  sin_memoria = 7,
  subindice_fuera_de_rango = 9,
  tipo_incompatible = 13,
  sin_espacio_de_pila = 28,
  fichero_no_encontrado = 53,
  error_de_dispositivo = 57,
  disco_lleno = 61,
  fin_de_fichero = 62,
  permiso_denegado = 70,
  error_de_acceso = 75,
  ruta_no_encontrada = 76,
};

// The languages a front end may word a failure in: tolvar-cli speaks English unless the
// locale asks for Spanish; the window always speaks Spanish, as its captions do.
enum class idioma { ingles, espanol };

// What went wrong, worded in each language. The core words it where it knows the detail;
// the front end picks the language.
struct texto_error {
  std::string en;
  std::string es;
};

// Short description of a number ("type mismatch", "tipos no coinciden"); "error" for unknown
// ones.
const char* describe_error(int numero, idioma en = idioma::ingles);

// The one failure of a conversion. It keeps its parts: the number, what went wrong, the file
// and the line; mensaje() words them, what() in English:
//   Error 13 (type mismatch): "12,5" is not a number -- D/plano.dxf, line 1234
//   Error 13 (tipos no coinciden): "12,5" no es un número -- D/plano.dxf, línea 1234
// num_linea 0 means the fault is not on a line of a file.
class error_conversion : public std::runtime_error {
 public:
  error_conversion(int numero, texto_error que, std::filesystem::path fichero = {},
                   std::int64_t num_linea = 0);

  int numero() const noexcept { return numero_; }
  const std::string& que(idioma en = idioma::ingles) const noexcept {
    return en == idioma::espanol ? que_.es : que_.en;
  }
  const std::filesystem::path& fichero() const noexcept { return fichero_; }
  std::int64_t num_linea() const noexcept { return num_linea_; }

  // The whole message in one language; what() is mensaje(idioma::ingles).
  virtual std::string mensaje(idioma en) const;

  // Pure helpers know what went wrong but not where; the caller that knows adds it.
  error_conversion situada(const std::filesystem::path& fichero, std::int64_t num_linea) const;

 private:
  int numero_;
  texto_error que_;
  std::filesystem::path fichero_;
  std::int64_t num_linea_;
};

// A refusal of the file system, numbered like the rest (53 not found, 70 permission, 61 disk
// full, 75 otherwise) and carrying the system's own text, which stays as the system words it.
error_conversion error_sistema(std::error_code ec, const texto_error& que,
                               const std::filesystem::path& fichero);

}  // namespace tolvar
