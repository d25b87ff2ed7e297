#pragma once

#include <string>

#include "core/pagina_codigos.h"

namespace tolvar {

// An MTEXT's text without its formatting codes, in place, in one scan from the left: "\P" and
// "\~" become a space; "\\", "\{" and "\}" their character; "\L \l \O \o \K \k" go; a backslash
// and one of "f F H W Q T A C c p" go with everything up to the next ';' and it (or the end);
// "\S" and its text up to the next ';' become that text with '^', '/' and '#' as '/', the ';'
// gone; "\U+XXXX" becomes that character in page `salida`; a '{' or '}' of its own goes. Any
// other backslash stays with the character after it, and one that ends the text stays. The
// text is already in page `salida`: every code looked for is ASCII.
void quita_formato_mtext(std::string& texto, pagina_codigos salida);

}  // namespace tolvar
