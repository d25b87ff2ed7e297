#include "cli/vista_texto.h"

#include "core/error_conversion.h"
#include "core/texto.h"

namespace tolvar {

void vista_texto::muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                                     std::int32_t cont_text) {
  // Printed with the file names, once the drawing is done: the zeros a window shows while
  // it converts are no news on a terminal.
  cuentas_[0] = cont_polyline;
  cuentas_[1] = cont_point;
  cuentas_[2] = cont_text;
}

void vista_texto::muestra_resumen(const contadores& cuentas) {
  resumen_ = cuentas;
}

void vista_texto::muestra_ficheros(const std::filesystem::path& bin,
                                   const std::filesystem::path& err) {
  salida_ << "POLYLINE leidas : " << cuentas_[0] << '\n'
          << "POINT leidos : " << cuentas_[1] << '\n'
          << "TEXT leidos  : " << cuentas_[2] << '\n';
  for (const tipo_a_peticion& t : tipos_a_peticion) {
    // Drawing the blocks reads every INSERT.
    const bool insert = t.pedido == &tipos_tambien::insert && bloques_;
    if (tambien_.*(t.pedido) || insert) salida_ << t.leidos << resumen_.*(t.cuenta) << '\n';
  }
  if (bloques_) salida_ << "DIMENSION leidas : " << resumen_.cont_dimension << '\n';
  if (!resumen_.omitidas.vacia()) salida_ << "Entidades omitidas : " << resumen_.omitidas.texto() << '\n';
  salida_ << "Creado el fichero : " << texto_ruta(bin) << '\n'
          << "Creado el fichero : " << texto_ruta(err) << '\n';
  salida_.flush();
}

void vista_texto::sin_dibujos(const std::filesystem::path& directorio) {
  salida_.flush();
  errores_ << (idioma_ == idioma::espanol ? "tolvar-cli: ningún dibujo .dxf en "
                                          : "tolvar-cli: no .dxf drawing in ")
           << texto_ruta(directorio) << std::endl;
}

void vista_texto::muestra_fin() { salida_ << "Proceso Finalizado." << std::endl; }

}  // namespace tolvar
