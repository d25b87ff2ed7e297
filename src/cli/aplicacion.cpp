#include "cli/aplicacion.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "cli/vista_texto.h"
#include "core/conversor.h"
#include "core/numeros.h"
#include "core/texto.h"
#include "core/error_conversion.h"
#include "core/ficheros.h"
#include "inspeccion/plano_svg.h"
#include "inspeccion/volcado.h"
#include "tolvar/version.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the macros
#endif
#include <windows.h>
#endif

namespace tolvar {
namespace {

void convierte(const std::string& ruta, bool atributo, const opciones_conversion& opciones,
               std::ostream& salida, std::ostream& errores, idioma en) {
  ficheros_disco disco;
  vista_texto vista(salida, errores, en, atributo, opciones.tambien, opciones.bloques);
  conversor c(vista, disco);
  c.opciones() = opciones;
  const std::filesystem::path p = ruta_de_texto(ruta);
  std::error_code ec;
  const auto estado = std::filesystem::status(p, ec);
  if (!std::filesystem::exists(estado)) {
    throw error_sistema(ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory),
                        {"cannot find the drawing or directory",
                         "no se encuentra el dibujo ni el directorio"},
                        p);
  }
  if (std::filesystem::is_directory(estado)) {
    c.ProcesoDirectorio(p);
  } else {
    c.estado().fich_dxf = p;
    c.ProcesoLote();
  }
}

bool igual_sin_caso(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto mayuscula = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
           return mayuscula(x) == mayuscula(y);
         });
}

// A number as drawings write one, above 0 and finite.
bool lee_tolerancia(const std::string& texto, double& tolerancia) {
  try {
    const double t = lee_numero(texto);
    if (!(t > 0.0) || !std::isfinite(t)) return false;
    tolerancia = t;
    return true;
  } catch (const error_conversion&) {
    return false;
  }
}

}  // namespace

bool anade_tipos(std::string_view lista, tipos_tambien& tipos) {
  for (;;) {
    const std::size_t coma = lista.find(',');
    const std::string_view nombre = lista.substr(0, coma);
    if (igual_sin_caso(nombre, "all")) {
      tipos = tipos_tambien::todos();
    } else {
      const auto t = std::find_if(std::begin(tipos_a_peticion), std::end(tipos_a_peticion),
                                  [&](const tipo_a_peticion& p) { return igual_sin_caso(nombre, p.nombre); });
      if (t == std::end(tipos_a_peticion)) return false;
      tipos.*(t->pedido) = true;
    }
    if (coma == std::string_view::npos) return true;
    lista.remove_prefix(coma + 1);
  }
}

idioma idioma_de_locale(std::string_view lc_all, std::string_view lc_messages,
                        std::string_view lang) {
  for (const std::string_view valor : {lc_all, lc_messages, lang}) {
    if (!valor.empty()) return valor.substr(0, 2) == "es" ? idioma::espanol : idioma::ingles;
  }
  return idioma::ingles;
}

idioma idioma_del_entorno() {
  const std::string lc_all = variable_entorno("LC_ALL");
  const std::string lc_messages = variable_entorno("LC_MESSAGES");
  const std::string lang = variable_entorno("LANG");
#ifdef _WIN32
  // Windows sets none of them: there the language the user reads Windows in decides.
  if (lc_all.empty() && lc_messages.empty() && lang.empty())
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_SPANISH ? idioma::espanol
                                                                     : idioma::ingles;
#endif
  return idioma_de_locale(lc_all, lc_messages, lang);
}

int ejecuta_cli(const std::vector<std::string>& argumentos, std::ostream& salida,
                std::ostream& errores, idioma en) {
  CLI::App app{
      "Converts every ASCII DXF drawing of a directory into NAME.bin (entity records) and\n"
      "NAME.err (layers that the directory's dxfbin.tab does not classify), beside each drawing.\n"
      "The subcommands dump and render show what a .bin holds; a broken .bin ends them with\n"
      "status 62 when the file stops inside a record, 1 when a header is not a record's.",
      "tolvar-cli"};
  // CLI11 ends the text with a line end of its own.
  std::string version = std::string("tolvar-cli ") + TOLVAR_VERSION + "\n" + TOLVAR_AVISO_LICENCIA;
  version.pop_back();
  app.set_version_flag("--version", version);
  app.require_subcommand(0, 1);

  std::string ruta;
  bool atributo = true;
  CLI::Option* opcion_ruta = app.add_option(
      "PATH", ruta,
      "A drawing (its whole directory is converted) or a directory; required without a "
      "subcommand (write ./dump for a directory named dump)");
  // Two flags rather than one with a negation, which the help would show as
  // "--atr,--no-atr{false}". Applied as they are parsed, so the last one given wins.
  CLI::Option* opcion_atr =
      app.add_flag_callback("--atr", [&atributo] { atributo = true; },
                            "Add the attribute unit ATR=201 to every record (the default)")
          ->trigger_on_parse();
  CLI::Option* opcion_no_atr =
      app.add_flag_callback("--no-atr", [&atributo] { atributo = false; },
                            "Leave the attribute unit out")
          ->trigger_on_parse();
  opciones_conversion opciones;
  std::vector<std::string> tambien;
  CLI::Option* opcion_tambien =
      app.add_option("--also", tambien,
                     "Also read these kinds, comma-separated: LWPOLYLINE, LINE, MTEXT, INSERT, "
                     "CIRCLE, ARC, ELLIPSE, 3DFACE, SOLID, TRACE, SPLINE, HATCH, LEADER or all "
                     "(INSERT as a point, MTEXT as a text, a HATCH as a closed polyline per "
                     "boundary path, every other kind as a polyline)")
          ->type_name("KINDS")
          ->expected(1)  // one list a time, so that PATH after it stays PATH
          ->allow_extra_args(false)
          ->take_all();  // and each --also adds its own
  CLI::Option* opcion_arcos = app.add_flag(
      "--arcs", opciones.arcos,
      "Draw the arcs of polylines (their vertices' bulges) instead of straight segments");
  CLI::Option* opcion_bloques = app.add_flag(
      "--blocks", opciones.bloques,
      "Draw the blocks: every INSERT and DIMENSION as the entities of its block, placed where "
      "the drawing puts it (arrays, nesting, attributes), instead of passing the blocks over");
  std::string tolerancia;
  CLI::Option* opcion_tolerancia =
      app.add_option("--tolerance", tolerancia,
                     "Largest distance between a curve and its segments, in drawing units "
                     "(default 0.001); doubled for a curve that would exceed 5000 points")
          ->type_name("T");
  std::string pagina;
  CLI::Option* opcion_pagina = app.add_option(
      "--codepage", pagina,
      "Code page of the texts and layer names in the .bin and .err files and of dxfbin.tab: "
      "ANSI_1250 to ANSI_1258 (default ANSI_1252)")->type_name("NAME");

  CLI::App* dump = app.add_subcommand(
      "dump", "Print every record of a .bin: offset, class, code, atr, num_elem, extent, "
              "points, text and attribute");
  std::string bin_dump;
  bool json = false;
  dump->add_option("FILE", bin_dump, "The .bin file")->required();
  dump->add_flag("--json", json, "One JSON document instead of text");

  CLI::App* render = app.add_subcommand(
      "render", "Draw a .bin as an SVG map, northing up, coloured by code");
  std::string bin_render, svg;
  render->add_option("FILE", bin_render, "The .bin file")->required();
  render->add_option("-o,--output", svg, "The SVG file to write")->required();

  std::vector<std::string> inverso(argumentos.rbegin(), argumentos.rend());
  try {
    app.parse(inverso);
    const bool subcomando = dump->parsed() || render->parsed();
    if (subcomando && (opcion_ruta->count() > 0 || opcion_atr->count() > 0 ||
                       opcion_no_atr->count() > 0 || opcion_tambien->count() > 0 ||
                       opcion_pagina->count() > 0 || opcion_arcos->count() > 0 ||
                       opcion_tolerancia->count() > 0 || opcion_bloques->count() > 0)) {
      throw CLI::ValidationError(
          "PATH, --atr, --no-atr, --also, --arcs, --blocks, --tolerance and --codepage belong "
          "to the conversion, not to " +
          std::string(dump->parsed() ? "dump" : "render"));
    }
    for (const std::string& lista : tambien) {
      if (!anade_tipos(lista, opciones.tambien))
        throw CLI::ValidationError("--also", "\"" + lista + "\" names a kind other than LWPOLYLINE, LINE, "
                                   "MTEXT, INSERT, CIRCLE, ARC, ELLIPSE, 3DFACE, SOLID, TRACE, "
                                   "SPLINE, HATCH, LEADER or all");
    }
    if (opcion_tolerancia->count() > 0) {
      if (!lee_tolerancia(tolerancia, opciones.tolerancia))
        throw CLI::ValidationError("--tolerance", "\"" + tolerancia + "\" is not a decimal number above 0");
    }
    if (opcion_pagina->count() > 0) {
      const std::optional<pagina_codigos> p = pagina_por_nombre(pagina);
      if (!p) throw CLI::ValidationError("--codepage", "\"" + pagina + "\" is not one of ANSI_1250 to ANSI_1258");
      opciones.pagina_salida = *p;
    }
    if (!subcomando && ruta.empty()) throw CLI::RequiredError("PATH");
    // The map is created after the first pass and read again in the second: drawn over its
    // own .bin it would destroy the file it is drawing.
    std::error_code ec;
    if (render->parsed() &&
        std::filesystem::equivalent(ruta_de_texto(bin_render), ruta_de_texto(svg), ec)) {
      throw CLI::ValidationError("--output", "names the .bin itself");
    }
  } catch (const CLI::ParseError& e) {
    const int estado = app.exit(e, salida, errores);  // prints help, version or the fault
    return estado == 0 ? 0 : 1;
  }

  try {
    if (dump->parsed()) {
      ficheros_disco disco;
      const std::filesystem::path p = ruta_de_texto(bin_dump);
      const std::unique_ptr<fuente> origen = disco.abre(p);
      vuelca_bin(*origen, p, salida, json);
    } else if (render->parsed()) {
      ficheros_disco disco;
      dibuja_bin(disco, ruta_de_texto(bin_render), ruta_de_texto(svg));
    } else {
      convierte(ruta, atributo, opciones, salida, errores, en);
    }
  } catch (const error_conversion& e) {
    salida.flush();
    errores << "tolvar-cli: " << e.mensaje(en) << std::endl;
    return e.numero();
  } catch (const std::exception& e) {
    salida.flush();
    errores << "tolvar-cli: " << e.what() << std::endl;
    return 1;
  }
  return 0;
}

}  // namespace tolvar
