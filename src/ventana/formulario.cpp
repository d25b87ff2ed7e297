#include "ventana/formulario.h"

#include <exception>
#include <iterator>
#include <string>

#include "core/error_conversion.h"
#include "core/texto.h"
#include "tolvar/version.h"

namespace tolvar {

formulario::formulario(controles& c, ficheros& fs) : controles_(c), conv_(*this, fs) {}

void formulario::Form_Load() {
  controles_.muestra(control::Label1, false);
  controles_.marca(control::Option1, true);
  controles_.marca(control::Option2, false);
  controles_.marca(control::Check1, false);
  controles_.marca(control::Check2, false);
  controles_.marca(control::Check3, false);
  controles_.habilita(control::Command2, false);
}

void formulario::Command1_Click() {
  estado_conversion& e = conv_.estado();
  const std::filesystem::path elegido = controles_.elige_fichero(e.fich_dxf);
  if (!elegido.empty()) e.fich_dxf = elegido;
  // The window writes in Windows-1252 always, the code page of the maps it was made for.
  // The default tolerance: the window has no place to ask for another.
  conv_.opciones() = {controles_.marcado(control::Check1) ? tipos_tambien::todos() : tipos_tambien{},
                      pagina_codigos::ansi_1252, controles_.marcado(control::Check2),
                      tolerancia_por_defecto, controles_.marcado(control::Check3)};
  // A batch is about to run: the map of the last one is gone until this one writes its own,
  // whatever happens to it.
  if (!e.fich_dxf.empty()) {
    bins_.clear();
    controles_.habilita(control::Command2, false);
  }
  // The batch runs here, on the window's thread, to its end: no input reaches the window
  // meanwhile, and it changes only through the paints of the calls it makes.
  try {
    conv_.ProcesoLote();
    if (!bins_.empty()) controles_.habilita(control::Command2, true);
  } catch (const error_conversion& x) {
    // In Spanish, as every caption of the window: "Error 53 (no se ha encontrado el
    // fichero): ... -- fichero, línea n".
    falla(x.numero(), x.mensaje(idioma::espanol));
  } catch (const std::exception& x) {
    // Not one of the conversion's own failures; tolvar-cli ends with 1 for these too.
    falla(1, std::string("Error 1: ") + x.what());
  }
}

void formulario::Command2_Click() {
  if (!bins_.empty()) controles_.abre_plano(bins_);
}

void formulario::falla(int numero, const std::string& texto) {
  // The batch never reached its end, where the pointer goes back: the message box would
  // otherwise show under the wait pointer.
  puntero_espera(false);
  // The drawings converted before the failure have their map, while the box is up.
  if (!bins_.empty()) controles_.habilita(control::Command2, true);
  controles_.avisa_error(titulo_ventana, texto);
  controles_.termina(numero);
}

void formulario::muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                                    std::int32_t cont_text) {
  controles_.pon_texto(control::Text1, std::to_string(cont_polyline));
  controles_.pon_texto(control::Text2, std::to_string(cont_point));
  controles_.pon_texto(control::Text3, std::to_string(cont_text));
}

void formulario::muestra_resumen(const contadores& cuentas) {
  const std::string omitidas = cuentas.omitidas.texto();
  controles_.pon_texto(control::Label7,
                       omitidas.empty() ? std::string() : "Entidades omitidas : " + omitidas);
}

void formulario::muestra_ficheros(const std::filesystem::path& bin,
                                  const std::filesystem::path& err) {
  bins_.push_back(bin);
  controles_.pon_texto(control::Label5, "Creado el fichero : " + texto_ventana(bin));
  controles_.pon_texto(control::Label6, "Creado el fichero : " + texto_ventana(err));
}

void formulario::muestra_fin() { controles_.muestra(control::Label1, true); }

void formulario::puntero_espera(bool activo) {
  // Every drawing asks for the wait pointer and the batch gives it back once: a toolkit that
  // stacks pointers would otherwise keep one on for each drawing but the last.
  if (activo == espera_) return;
  espera_ = activo;
  controles_.puntero_espera(activo);
}

bool formulario::atributo_activado() const { return controles_.marcado(control::Option1); }

std::string version_acerca() { return "Tolvar " TOLVAR_VERSION; }

std::string tipos_de_la_casilla() {
  std::string tipos;
  const std::size_t n = std::size(tipos_a_peticion);
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) tipos += i + 1 == n ? " y " : ", ";
    tipos += tipos_a_peticion[i].nombre;
  }
  return tipos;
}

std::string texto_ventana(const std::filesystem::path& ruta) {
  std::filesystem::path nativa = ruta;
  return texto_ruta(nativa.make_preferred());
}

}  // namespace tolvar
