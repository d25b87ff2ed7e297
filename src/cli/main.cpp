#include <iostream>
#include <string>
#include <vector>

#include "cli/aplicacion.h"

int main(int argc, char** argv) {
  std::vector<std::string> argumentos(argv + 1, argv + argc);
  return tolvar::ejecuta_cli(argumentos, std::cout, std::cerr, tolvar::idioma_del_entorno());
}
