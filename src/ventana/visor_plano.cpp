#include "ventana/visor_plano.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <new>
#include <utility>

#include "core/error_conversion.h"
#include "core/texto.h"
#include "inspeccion/texto_legible.h"

namespace tolvar {

sitios_plano reparte_plano(int ancho, int alto, int alto_eleccion, int alto_estado, int ppp) {
  const int m = pixeles(margen_plano, ppp);
  const int panel = pixeles(ancho_panel_plano, ppp);
  const int arriba = m + alto_eleccion + m;
  const int lienzo_ancho = std::max(ancho - panel, 1);
  const int lienzo_alto = std::max(alto - arriba - alto_estado, 1);
  sitios_plano s;
  s.eleccion = {m, m, std::max(ancho - 2 * m, 1), alto_eleccion};
  s.lienzo = {0, arriba, lienzo_ancho, lienzo_alto};
  s.panel = {lienzo_ancho + m, arriba, std::max(panel - 2 * m, 1), lienzo_alto};
  s.estado = {0, arriba + lienzo_alto, std::max(ancho, 1), alto_estado};
  return s;
}

rectangulo_px tamano_inicial_plano(int alto_eleccion, int alto_estado, int ppp) {
  const int m = pixeles(margen_plano, ppp);
  return {0, 0, pixeles(ancho_lienzo_plano, ppp) + pixeles(ancho_panel_plano, ppp),
          m + alto_eleccion + m + pixeles(alto_lienzo_plano, ppp) + alto_estado};
}

visor_plano::visor_plano(ficheros& fs) : fs_(fs) {}

void visor_plano::pon_ficheros(std::vector<std::filesystem::path> bins) {
  bins_ = std::move(bins);
  if (bins_.empty()) {
    lista_ = {};
    error_.clear();
    visibles_.clear();
    elegido_ = 0;
    sucia_ = true;
    return;
  }
  elige(bins_.size() - 1);
}

void visor_plano::elige(std::size_t i) {
  if (i >= bins_.size()) return;
  elegido_ = i;
  error_.clear();
  // Let go of the last map before reading the next: two large ones never sit in memory at
  // once.
  lista_ = {};
  try {
    lista_ = lista_plano::lee(fs_, bins_[i]);
  } catch (const error_conversion& x) {
    error_ = x.mensaje(idioma::espanol);
  } catch (const std::bad_alloc&) {
    lista_ = {};
    error_ = "No hay memoria para dibujar " + texto_ruta(bins_[i]);
  } catch (const std::exception& x) {
    lista_ = {};
    error_ = std::string("Error 1: ") + x.what();
  }
  visibles_.assign(lista_.codigos().size(), 1);
  encaja();
}

std::string visor_plano::titulo() const {
  std::string t = titulo_plano;
  if (elegido_ < bins_.size()) t += " — " + texto_ruta(bins_[elegido_].filename());
  return t;
}

void visor_plano::tamano(int ancho, int alto, int ppp) {
  brazo_ = std::max(pixeles(brazo_cruz, ppp), 1);
  vista_.pon_margen(pixeles(margen_plano, ppp));
  vista_.tamano(ancho, alto);
  sucia_ = true;
}

void visor_plano::rueda(punto_px_doble donde, double pasos) {
  vista_.acerca(donde, std::pow(factor_zoom, pasos));
  sucia_ = true;
}

void visor_plano::arrastra(double dx, double dy) {
  vista_.desplaza(dx, dy);
  sucia_ = true;
}

void visor_plano::pulsa(tecla_plano t) {
  const double ancho = vista_.ancho(), alto = vista_.alto();
  const punto_px_doble medio{ancho / 2, alto / 2};
  switch (t) {
    case tecla_plano::mas: vista_.acerca(medio, factor_zoom); break;
    case tecla_plano::menos: vista_.acerca(medio, 1 / factor_zoom); break;
    // An arrow shows more of the map on its side: the map moves the other way.
    case tecla_plano::izquierda: vista_.desplaza(ancho * paso_flecha, 0); break;
    case tecla_plano::derecha: vista_.desplaza(-ancho * paso_flecha, 0); break;
    case tecla_plano::arriba: vista_.desplaza(0, alto * paso_flecha); break;
    case tecla_plano::abajo: vista_.desplaza(0, -alto * paso_flecha); break;
    case tecla_plano::inicio: vista_.ajusta(lista_.extension()); break;
  }
  sucia_ = true;
}

void visor_plano::encaja() {
  vista_.ajusta(lista_.extension());
  sucia_ = true;
}

std::string visor_plano::linea_panel(std::size_t codigo) const {
  if (codigo >= lista_.codigos().size()) return {};
  const codigo_plano& c = lista_.codigos()[codigo];
  std::string s = c.nombre.empty() ? std::string("(sin código)") : c.nombre;
  s += " (";
  pon_entero(s, static_cast<std::int64_t>(c.registros));
  s += ')';
  return s;
}

void visor_plano::muestra_codigo(std::size_t codigo, bool visible) {
  if (codigo >= visibles_.size()) return;
  visibles_[codigo] = visible ? 1 : 0;
  sucia_ = true;
}

const escena_plano& visor_plano::escena() {
  if (sucia_) {
    compone(lista_, vista_, visibles_, brazo_, escena_);
    sucia_ = false;
  }
  return escena_;
}

std::string visor_plano::texto_estado() {
  std::string s;
  if (puntero_ && error_.empty()) {
    const punto_mundo p = vista_.bajo_pixel(*puntero_);
    s += "X ";
    pon_milesimas(s, std::llround(p.x * 1000));
    s += "  Y ";
    pon_milesimas(s, std::llround(p.y * 1000));
    s += "    ";
  }
  // Drawing units a pixel, to three significant figures: from kilometres down to the
  // thousandths of the file.
  char cifra[32];
  const auto r = std::to_chars(cifra, cifra + sizeof cifra, 1 / vista_.escala(),
                               std::chars_format::general, 3);
  s += "1 píxel = ";
  s.append(cifra, r.ptr);
  s += "    Registros dibujados: ";
  pon_entero(s, static_cast<std::int64_t>(escena().registros));
  return s;
}

}  // namespace tolvar
