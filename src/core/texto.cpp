#include "core/texto.h"

#include <cstdlib>

namespace tolvar {

std::string cita(std::string_view texto) {
  constexpr std::size_t max = 60;
  std::string s = "\"";
  for (const char c : texto.substr(0, max)) {
    const auto b = static_cast<unsigned char>(c);
    // A NUL ends the message wherever it is shown as a C string (stderr, a message box),
    // taking the file and line with it; other control bytes garble a terminal.
    if (b < 0x20 || b == 0x7F) {
      s += "\\x";
      pon_hex(s, b);
    } else {
      s += c;
    }
  }
  if (texto.size() > max) s += "...";
  s += '"';
  return s;
}

std::string texto_ruta(const std::filesystem::path& ruta) {
  const std::u8string u = ruta.u8string();
  return std::string(u.begin(), u.end());
}

std::filesystem::path ruta_de_texto(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

void pon_hex(std::string& s, unsigned char byte) {
  static constexpr char digitos[] = "0123456789ABCDEF";
  s += digitos[byte >> 4];
  s += digitos[byte & 15];
}

std::string variable_entorno(const char* nombre) {
#ifdef _MSC_VER
  // MSVC deprecates getenv for its static buffer.
  char* valor = nullptr;
  std::size_t largo = 0;
  if (_dupenv_s(&valor, &largo, nombre) != 0 || valor == nullptr) return {};
  std::string r(valor);
  std::free(valor);
  return r;
#else
  const char* valor = std::getenv(nombre);
  return valor != nullptr ? valor : "";
#endif
}

}  // namespace tolvar
