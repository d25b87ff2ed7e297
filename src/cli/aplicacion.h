#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversor.h"
#include "core/error_conversion.h"

namespace tolvar {

// tolvar-cli as a function of its arguments (without the program name, in UTF-8 on every
// system), its two streams and the language of its error messages; returns the exit status:
// 0, the error's number, or 1 for a wrong command line.
int ejecuta_cli(const std::vector<std::string>& argumentos, std::ostream& salida,
                std::ostream& errores, idioma en = idioma::ingles);

// Adds to `tipos` the kinds named in `lista`, comma-separated: any of tipos_a_peticion or all,
// in any case. False, with `tipos` as it may be, for any other name.
bool anade_tipos(std::string_view lista, tipos_tambien& tipos);

// The language the locale asks for, from the values of LC_ALL, LC_MESSAGES and LANG (empty when
// unset): the first that is set decides, as for any POSIX program; Spanish when it begins with
// "es".
idioma idioma_de_locale(std::string_view lc_all, std::string_view lc_messages,
                        std::string_view lang);
// The same, read from this process's environment; on Windows, where none of them is usually
// set, the language of Windows' own display decides when all three are empty.
idioma idioma_del_entorno();

}  // namespace tolvar
