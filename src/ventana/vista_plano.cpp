#include "ventana/vista_plano.h"

#include <algorithm>
#include <cmath>

namespace tolvar {
namespace {

// A thousandth this many pixels at most: beyond it the map is one segment across the canvas.
constexpr double escala_maxima = 64000;
// Out to the fitted scale over this, enough to see the map small in its surroundings.
constexpr double alejamiento_maximo = 64;
// Lines are clipped this far outside the canvas, so that no toolkit meets a coordinate of
// millions, and no clipped end shows.
constexpr double borde_recorte = 2;

// Within what GDI takes (2^27): only a text's insertion point, far west of a view in which the
// text still shows, comes near it.
std::int32_t pixel(double v) noexcept {
  return static_cast<std::int32_t>(std::floor(std::clamp(v, -67108864.0, 67108864.0)));
}

punto_px pixel(punto_px_doble p) noexcept { return {pixel(p.x), pixel(p.y)}; }

// Liang-Barsky: the part of the segment a-b inside the rectangle, its ends moved onto the
// sides that cut it, exactly there, so that a cut end never rounds to the pixel outside.
// False when no part is inside.
bool recorta(punto_px_doble& a, punto_px_doble& b, double x0, double y0, double x1, double y1,
             double& t0, double& t1) noexcept {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
  const double lado[4] = {x0, x1, y0, y1};
  int corta0 = -1, corta1 = -1;
  t0 = 0;
  t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0 && r > t0) {
      t0 = r;
      corta0 = i;
    } else if (p[i] > 0 && r < t1) {
      t1 = r;
      corta1 = i;
    }
    if (t0 > t1) return false;
  }
  const punto_px_doble inicio = a;
  const auto mueve = [&](punto_px_doble& extremo, double t, int corta) {
    if (corta < 0) return;
    extremo = {inicio.x + dx * t, inicio.y + dy * t};
    (corta < 2 ? extremo.x : extremo.y) = lado[corta];
  };
  mueve(b, t1, corta1);
  mueve(a, t0, corta0);
  return true;
}

}  // namespace

void vista_plano::tamano(int ancho, int alto) {
  ancho_ = std::max(ancho, 1);
  alto_ = std::max(alto, 1);
  if (ajustada_) {
    ajusta(extension_);
  } else {
    recalcula();
  }
}

void vista_plano::ajusta(const caja_plano& extension) {
  extension_ = extension;
  ajustada_ = true;
  if (extension.vacia()) {
    centro_ = {};
    escala_ = 1;
  } else {
    const double ancho = static_cast<double>(extension.x1 - extension.x0) / 1000;
    const double alto = static_cast<double>(extension.y1 - extension.y0) / 1000;
    const double cabe_x = std::max(ancho_ - 2 * margen_, 1);
    const double cabe_y = std::max(alto_ - 2 * margen_, 1);
    centro_ = {(static_cast<double>(extension.x0) + static_cast<double>(extension.x1)) / 2000,
               (static_cast<double>(extension.y0) + static_cast<double>(extension.y1)) / 2000};
    if (ancho == 0 && alto == 0) {
      escala_ = 1;
    } else if (ancho == 0) {
      escala_ = cabe_y / alto;
    } else if (alto == 0) {
      escala_ = cabe_x / ancho;
    } else {
      escala_ = std::min(cabe_x / ancho, cabe_y / alto);
    }
    escala_ = std::min(escala_, escala_maxima);
  }
  escala_ajustada_ = escala_;
  recalcula();
}

void vista_plano::acerca(punto_px_doble donde, double factor) {
  const punto_mundo fijo = a_mundo(donde);
  escala_ = std::clamp(escala_ * factor, escala_ajustada_ / alejamiento_maximo, escala_maxima);
  centro_ = {fijo.x - (donde.x - ancho_ / 2.0) / escala_, fijo.y + (donde.y - alto_ / 2.0) / escala_};
  ajustada_ = false;
  recalcula();
}

void vista_plano::desplaza(double dx, double dy) {
  centro_ = {centro_.x - dx / escala_, centro_.y + dy / escala_};
  ajustada_ = false;
  recalcula();
}

void vista_plano::recalcula() noexcept {
  cx_ = centro_.x * 1000;
  cy_ = centro_.y * 1000;
  k_ = escala_ / 1000;
  mitad_x_ = ancho_ / 2.0;
  mitad_y_ = alto_ / 2.0;
}

punto_px_doble vista_plano::a_pixel(punto_mundo p) const noexcept {
  return {(p.x - centro_.x) * escala_ + ancho_ / 2.0, alto_ / 2.0 - (p.y - centro_.y) * escala_};
}

punto_mundo vista_plano::a_mundo(punto_px_doble p) const noexcept {
  return {centro_.x + (p.x - ancho_ / 2.0) / escala_, centro_.y - (p.y - alto_ / 2.0) / escala_};
}

caja_plano vista_plano::visible(double margen) const noexcept {
  const punto_mundo a = a_mundo({-margen, alto_ + margen});
  const punto_mundo b = a_mundo({ancho_ + margen, -margen});
  // Far beyond any coordinate of 32 bits, and inside 64.
  const double limite = 1e15;
  const auto milesimas = [limite](double v, bool arriba) {
    const double m = std::clamp(v * 1000, -limite, limite);
    return static_cast<std::int64_t>(arriba ? std::ceil(m) : std::floor(m));
  };
  return {milesimas(a.x, false), milesimas(a.y, false), milesimas(b.x, true), milesimas(b.y, true)};
}

void simplifica(const punto_px_doble* puntos, std::size_t n, double x0, double y0, double x1,
                double y1, std::vector<std::uint32_t>& guardados) {
  guardados.clear();
  if (n == 0) return;
  punto_px_doble ultimo = puntos[0];
  bool oeste = ultimo.x == x0, este = ultimo.x == x1, norte = ultimo.y == y0, sur = ultimo.y == y1;
  guardados.push_back(0);
  for (std::size_t i = 1; i < n; ++i) {
    const punto_px_doble p = puntos[i];
    const bool lado = (!oeste && p.x == x0) || (!este && p.x == x1) || (!norte && p.y == y0) ||
                      (!sur && p.y == y1);
    if (lado || i + 1 == n || std::abs(p.x - ultimo.x) >= 1 || std::abs(p.y - ultimo.y) >= 1) {
      guardados.push_back(static_cast<std::uint32_t>(i));
      ultimo = p;
      oeste = oeste || p.x == x0;
      este = este || p.x == x1;
      norte = norte || p.y == y0;
      sur = sur || p.y == y1;
    }
  }
}

void compone(const lista_plano& lista, const vista_plano& vista, const std::vector<char>& visibles,
             std::int32_t brazo, escena_plano& e) {
  e.puntos.clear();
  e.fin_lineas.clear();
  e.cruces.clear();
  e.sueltos.clear();
  e.textos.clear();
  e.grupos.clear();
  e.brazo = brazo;
  e.registros = 0;

  const std::vector<codigo_plano>& codigos = lista.codigos();
  lista.busca(vista.visible(brazo + borde_recorte), e.ids);

  // The codes in drawing order (the list's, Nuevo last), and the records in view grouped by
  // it, each group in the order of the file: counting sort, stable.
  std::vector<std::uint32_t> orden;
  orden.reserve(codigos.size());
  for (int nuevos = 0; nuevos < 2; ++nuevos)
    for (std::uint32_t c = 0; c < codigos.size(); ++c)
      if (codigos[c].nuevo == (nuevos == 1)) orden.push_back(c);
  std::vector<std::size_t> rango(codigos.size(), 0), inicio(codigos.size() + 1, 0);
  for (std::size_t r = 0; r < orden.size(); ++r) rango[orden[r]] = r;
  const std::vector<registro_plano>& registros = lista.registros();
  const auto muestra = [&](std::uint32_t c) { return c < visibles.size() ? visibles[c] != 0 : true; };
  for (const std::uint32_t id : e.ids)
    if (muestra(registros[id].codigo)) ++inicio[rango[registros[id].codigo] + 1];
  for (std::size_t r = 0; r < orden.size(); ++r) inicio[r + 1] += inicio[r];
  e.por_codigo.resize(inicio.back());
  for (const std::uint32_t id : e.ids)
    if (muestra(registros[id].codigo)) e.por_codigo[inicio[rango[registros[id].codigo]]++] = id;
  // inicio[r] is now where group r ends.

  const std::vector<punto_plano>& puntos = lista.puntos();
  const std::vector<caja_plano>& cajas = lista.cajas();
  const double bx0 = -borde_recorte, by0 = -borde_recorte;
  const double bx1 = vista.ancho() + borde_recorte, by1 = vista.alto() + borde_recorte;
  const double k = vista.escala() / 1000;

  std::size_t desde = 0;
  for (std::size_t r = 0; r < orden.size(); ++r) {
    const std::size_t hasta = inicio[r];
    const std::size_t antes = e.registros;
    for (std::size_t i = desde; i < hasta; ++i) {
      const registro_plano& reg = registros[e.por_codigo[i]];
      const punto_plano* p = puntos.data() + reg.primero;
      if (reg.num == 0) continue;
      if (reg.forma == forma_plano::texto) {
        const double alto = reg.alto * k;
        if (alto < alto_minimo_texto || alto > alto_maximo_texto || lista.texto(reg).empty())
          continue;
        e.textos.push_back({{pixel(vista.x_pixel(p->x)), pixel(vista.y_pixel(reg.norte(p->y)))},
                            static_cast<std::int32_t>(std::lround(alto)), e.por_codigo[i]});
        ++e.registros;
        continue;
      }
      if (reg.forma == forma_plano::cruz) {
        const punto_px q{pixel(vista.x_pixel(p->x)), pixel(vista.y_pixel(reg.norte(p->y)))};
        if (q.x < -brazo - 1 || q.y < -brazo - 1 || q.x > vista.ancho() + brazo ||
            q.y > vista.alto() + brazo)
          continue;
        e.cruces.push_back(q);
        ++e.registros;
        continue;
      }

      e.en_pixeles.resize(reg.num);
      for (std::uint32_t j = 0; j < reg.num; ++j)
        e.en_pixeles[j] = {vista.x_pixel(p[j].x), vista.y_pixel(reg.norte(p[j].y))};
      const caja_plano& c = cajas[e.por_codigo[i]];
      simplifica(e.en_pixeles.data(), reg.num, vista.x_pixel(c.x0), vista.y_pixel(c.y1),
                 vista.x_pixel(c.x1), vista.y_pixel(c.y0), e.guardados);
      if (reg.forma == forma_plano::poligono && e.guardados.size() > 1) e.guardados.push_back(0);

      bool dibujado = false;
      if (e.guardados.size() == 1) {
        const punto_px_doble q = e.en_pixeles[e.guardados[0]];
        if (q.x >= bx0 && q.x <= bx1 && q.y >= by0 && q.y <= by1) {
          e.sueltos.push_back(pixel(q));
          dibujado = true;
        }
      }
      // Runs of the record inside the clipping rectangle: a segment that leaves it ends one.
      std::size_t inicio_tramo = e.puntos.size();
      bool abierto = false;
      const auto cierra = [&] {
        if (!abierto) return;
        abierto = false;
        const std::size_t n = e.puntos.size() - inicio_tramo;
        if (n >= 2) {
          // GDI, and Qt with flat caps, leave out the last pixel of a line: one step further
          // right makes them draw it, and both alike.
          e.puntos.push_back({e.puntos.back().x + 1, e.puntos.back().y});
          e.fin_lineas.push_back(static_cast<std::uint32_t>(e.puntos.size()));
          dibujado = true;
        } else if (n == 1) {
          e.sueltos.push_back(e.puntos.back());
          e.puntos.pop_back();
          dibujado = true;
        }
      };
      const auto pon = [&](punto_px q) {
        if (e.puntos.size() > inicio_tramo && e.puntos.back() == q) return;
        e.puntos.push_back(q);
      };
      for (std::size_t j = 1; j < e.guardados.size(); ++j) {
        punto_px_doble a = e.en_pixeles[e.guardados[j - 1]], b = e.en_pixeles[e.guardados[j]];
        double t0 = 0, t1 = 1;
        if (!recorta(a, b, bx0, by0, bx1, by1, t0, t1)) {
          cierra();
          continue;
        }
        if (!abierto || t0 > 0) {
          cierra();
          abierto = true;
          inicio_tramo = e.puntos.size();
          pon(pixel(a));
        }
        pon(pixel(b));
        if (t1 < 1) cierra();
      }
      cierra();
      if (dibujado) ++e.registros;
    }
    if (e.registros > antes)
      e.grupos.push_back({orden[r], e.fin_lineas.size(), e.cruces.size(), e.sueltos.size(),
                          e.textos.size()});
    desde = hasta;
  }
}

}  // namespace tolvar
