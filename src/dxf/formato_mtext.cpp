#include "dxf/formato_mtext.h"

#include <string_view>

namespace tolvar {

void quita_formato_mtext(std::string& texto, pagina_codigos salida) {
  // What is written never overtakes what is read: no code becomes longer than itself.
  const std::string_view t = texto;
  std::size_t escritos = 0;
  const auto pon = [&](char c) { texto[escritos++] = c; };
  // Past the next ';' from i, or the end.
  const auto tras_punto_y_coma = [&](std::size_t i) {
    const std::size_t p = t.find(';', i);
    return p == std::string_view::npos ? t.size() : p + 1;
  };
  for (std::size_t i = 0; i < t.size();) {
    const char c = t[i];
    if (c == '{' || c == '}') {
      ++i;
      continue;
    }
    if (c != '\\') {
      pon(c);
      ++i;
      continue;
    }
    if (i + 1 == t.size()) {
      pon(c);
      break;
    }
    const char d = t[i + 1];
    char32_t punto = 0;
    switch (d) {
      case 'P':
      case '~':
        pon(' ');
        i += 2;
        break;
      case '\\':
      case '{':
      case '}':
        pon(d);
        i += 2;
        break;
      case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
        i += 2;
        break;
      case 'f': case 'F': case 'H': case 'W': case 'Q': case 'T': case 'A': case 'C': case 'c':
      case 'p':
        i = tras_punto_y_coma(i + 2);
        break;
      case 'S': {
        const std::size_t fin = tras_punto_y_coma(i + 2);
        const std::size_t fin_texto = fin > i + 2 && t[fin - 1] == ';' ? fin - 1 : fin;
        for (std::size_t j = i + 2; j < fin_texto; ++j) {
          const char s = t[j];
          pon(s == '^' || s == '#' ? '/' : s);
        }
        i = fin;
        break;
      }
      default:
        if (d == 'U' && lee_escape_u(t.substr(i + 1), punto)) {
          pon(codifica(punto, salida));
          i += 7;  // "\U+" and four digits
        } else {
          pon(c);
          pon(d);
          i += 2;
        }
        break;
    }
  }
  texto.resize(escritos);
}

}  // namespace tolvar
