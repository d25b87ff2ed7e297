#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tolvar {

// tolvar-cli as a function of its arguments (without the program name) and its two
// streams; returns the exit status: 0, the error's number, or 1 for a wrong command line.
int ejecuta_cli(const std::vector<std::string>& argumentos, std::ostream& salida,
                std::ostream& errores);

}  // namespace tolvar
