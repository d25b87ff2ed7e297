#include "cli/aplicacion.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>

#include "cli/vista_texto.h"
#include "core/conversor.h"
#include "core/error_conversion.h"
#include "core/ficheros.h"
#include "tolvar/version.h"

namespace tolvar {

int ejecuta_cli(const std::vector<std::string>& argumentos, std::ostream& salida,
                std::ostream& errores) {
  CLI::App app{
      "Converts every ASCII DXF drawing of a directory into NAME.bin (entity records) and\n"
      "NAME.err (layers that the directory's dxfbin.tab does not classify), beside each drawing.",
      "tolvar-cli"};
  app.set_version_flag("--version", std::string("tolvar-cli ") + TOLVAR_VERSION);

  std::string ruta;
  bool atributo = true;
  app.add_option("PATH", ruta, "A drawing (its whole directory is converted) or a directory")
      ->required();
  app.add_flag("--atr,!--no-atr", atributo,
               "Add the attribute unit ATR=201 to every record, or not (default: --atr)");

  std::vector<std::string> inverso(argumentos.rbegin(), argumentos.rend());
  try {
    app.parse(inverso);
  } catch (const CLI::ParseError& e) {
    const int estado = app.exit(e, salida, errores);  // prints help, version or the fault
    return estado == 0 ? 0 : 1;
  }

  ficheros_disco disco;
  vista_texto vista(salida, atributo);
  conversor c(vista, disco);
  try {
    const std::filesystem::path p(ruta);
    std::error_code ec;
    const auto estado = std::filesystem::status(p, ec);
    if (!std::filesystem::exists(estado)) {
      throw error_sistema(ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory),
                          "cannot find the drawing or directory", p);
    }
    if (std::filesystem::is_directory(estado)) {
      c.ProcesoDirectorio(p);
    } else {
      c.estado().fich_dxf = p;
      c.ProcesoLote();
    }
  } catch (const error_conversion& e) {
    salida.flush();
    errores << "tolvar-cli: " << e.what() << std::endl;
    return e.numero();
  } catch (const std::exception& e) {
    salida.flush();
    errores << "tolvar-cli: " << e.what() << std::endl;
    return 1;
  }
  return 0;
}

}  // namespace tolvar
