#include "ventana/pixeles_plano.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace tolvar::prueba {
namespace {

// Pixels a record may colour: within two of its lines, crosses and texts.
class mascara {
 public:
  mascara(int ancho, int alto) : ancho_(ancho), alto_(alto), m_(static_cast<std::size_t>(ancho * alto)) {}
  void marca(int x0, int y0, int x1, int y1) {
    for (int y = std::max(y0, 0); y <= std::min(y1, alto_ - 1); ++y)
      for (int x = std::max(x0, 0); x <= std::min(x1, ancho_ - 1); ++x)
        m_[static_cast<std::size_t>(y * ancho_ + x)] = 1;
  }
  bool en(int x, int y) const { return m_[static_cast<std::size_t>(y * ancho_ + x)] != 0; }

 private:
  int ancho_, alto_;
  std::vector<std::uint8_t> m_;
};

// Whether a pixel of colour `c` (or any but the background, `c` unset) is within one of (x, y).
bool cerca(const imagen_rgb& im, int x, int y, const color_rgb* c) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int a = x + dx, b = y + dy;
      if (a < 0 || b < 0 || a >= im.ancho || b >= im.alto) continue;
      if (c != nullptr ? im.es(a, b, *c) : !im.es(a, b, color_fondo_plano)) return true;
    }
  return false;
}

// Calls f(px, py) on places half a pixel apart along the part of a-b inside the canvas.
template <class F>
void recorre_segmento(double ax, double ay, double bx, double by, int ancho, int alto, F&& f) {
  double t0 = 0, t1 = 1;
  const double d[2] = {bx - ax, by - ay}, a[2] = {ax, ay}, lim[2] = {double(ancho), double(alto)};
  for (int i = 0; i < 2; ++i) {
    if (d[i] == 0) {
      if (a[i] < 0 || a[i] >= lim[i]) return;
      continue;
    }
    double r0 = (0 - a[i]) / d[i], r1 = (lim[i] - 1e-9 - a[i]) / d[i];
    if (r0 > r1) std::swap(r0, r1);
    t0 = std::max(t0, r0);
    t1 = std::min(t1, r1);
  }
  if (t0 > t1) return;
  const double largo = std::max(std::abs(d[0]), std::abs(d[1])) * (t1 - t0);
  const int pasos = static_cast<int>(std::ceil(largo * 2)) + 1;
  for (int k = 0; k <= pasos; ++k) {
    const double t = t0 + (t1 - t0) * k / pasos;
    f(ax + d[0] * t, ay + d[1] * t);
  }
}

// Texts drawn at this view: their boxes, for both checks.
template <class F>
void por_texto(visor_plano& v, F&& f) {
  const lista_plano& l = v.lista();
  const vista_plano& vista = v.vista();
  for (const registro_plano& r : l.registros()) {
    if (r.forma != forma_plano::texto || r.num == 0 || !v.visible(r.codigo)) continue;
    const double alto = r.alto * vista.escala() / 1000;
    if (alto < alto_minimo_texto || alto > alto_maximo_texto || l.texto(r).empty()) continue;
    // From the left end of its baseline: characters at most as wide as they are tall,
    // ascenders and descenders with room to spare.
    const punto_plano& p = l.puntos()[r.primero];
    const double x = vista.x_pixel(p.x), y = vista.y_pixel(r.norte(p.y));
    f(r, static_cast<int>(std::floor(x)) - 2, static_cast<int>(std::floor(y - 1.3 * alto)) - 2,
      static_cast<int>(std::ceil(x + static_cast<double>(l.texto(r).size()) * alto)) + 2,
      static_cast<int>(std::ceil(y + 0.5 * alto)) + 2);
  }
}

}  // namespace

color_rgb imagen_rgb::en(int x, int y) const {
  const std::size_t i = 3 * static_cast<std::size_t>(y * ancho + x);
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool imagen_rgb::es(int x, int y, color_rgb c) const {
  const color_rgb a = en(x, y);
  return a.rojo == c.rojo && a.verde == c.verde && a.azul == c.azul;
}

imagen_rgb lee_ppm(const std::filesystem::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::string magia;
  int maximo = 0;
  imagen_rgb im;
  f >> magia >> im.ancho >> im.alto >> maximo;
  if (!f || magia != "P6" || maximo != 255 || im.ancho <= 0 || im.alto <= 0)
    throw std::runtime_error("not a PPM of 8 bits: " + ruta.string());
  f.get();
  im.rgb.resize(3 * static_cast<std::size_t>(im.ancho * im.alto));
  if (!f.read(reinterpret_cast<char*>(im.rgb.data()), static_cast<std::streamsize>(im.rgb.size())))
    throw std::runtime_error("a PPM cut short: " + ruta.string());
  return im;
}

imagen_rgb recorta_lienzo(const imagen_rgb& v) {
  int x0 = v.ancho, y0 = v.alto, x1 = -1, y1 = -1;
  for (int y = 0; y < v.alto; ++y)
    for (int x = 0; x < v.ancho; ++x)
      if (v.es(x, y, color_fondo_plano)) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  imagen_rgb c;
  if (x1 < 0) return c;
  c.ancho = x1 - x0 + 1;
  c.alto = y1 - y0 + 1;
  for (int y = y0; y <= y1; ++y) {
    const auto fila = v.rgb.begin() + 3 * (y * v.ancho + x0);
    c.rgb.insert(c.rgb.end(), fila, fila + 3 * c.ancho);
  }
  return c;
}

std::string resultado_pixeles::resumen() const {
  const auto n = [](std::size_t v) { return std::to_string(v); };
  return n(muestras) + " places on the records: " + n(sin_trazo) + " without a line, " +
         n(sin_color) + " without their colour, " + n(nuevo_sin_rojo) + " of Nuevo without red; " +
         n(fondo_manchado) + " pixels off the records not background, " + n(rojo_fuera) +
         " red off Nuevo's records, " + n(textos_sin_dibujar) + " texts not drawn";
}

resultado_pixeles comprueba_pixeles(const imagen_rgb& im, visor_plano& v) {
  resultado_pixeles r;
  const lista_plano& l = v.lista();
  const vista_plano& vista = v.vista();
  const int brazo = v.escena().brazo;
  mascara zona(im.ancho, im.alto), rojo(im.ancho, im.alto);

  for (const registro_plano& reg : l.registros()) {
    if (reg.num == 0 || reg.forma == forma_plano::texto || !v.visible(reg.codigo)) continue;
    const color_rgb color = l.codigos()[reg.codigo].color;
    const bool nuevo = l.codigos()[reg.codigo].nuevo;
    const auto mira = [&](double x, double y) {
      const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
      zona.marca(px - 2, py - 2, px + 2, py + 2);
      if (nuevo) rojo.marca(px - 2, py - 2, px + 2, py + 2);
      if (px < 1 || py < 1 || px > im.ancho - 2 || py > im.alto - 2) return;
      ++r.muestras;
      if (!cerca(im, px, py, nullptr)) ++r.sin_trazo;
      if (!cerca(im, px, py, &color)) ++r.sin_color;
      if (nuevo && !cerca(im, px, py, &color_nuevo)) ++r.nuevo_sin_rojo;
    };
    const punto_plano* p = l.puntos().data() + reg.primero;
    const auto x = [&](std::uint32_t i) { return vista.x_pixel(p[i % reg.num].x); };
    const auto y = [&](std::uint32_t i) { return vista.y_pixel(reg.norte(p[i % reg.num].y)); };
    if (reg.forma == forma_plano::cruz) {
      const double cx = std::floor(x(0)) + 0.5, cy = std::floor(y(0)) + 0.5;
      recorre_segmento(cx - brazo, cy, cx + brazo, cy, im.ancho, im.alto, mira);
      recorre_segmento(cx, cy - brazo, cx, cy + brazo, im.ancho, im.alto, mira);
      continue;
    }
    const std::uint32_t tramos = reg.num - 1 + (reg.forma == forma_plano::poligono ? 1 : 0);
    if (tramos == 0) recorre_segmento(x(0), y(0), x(0), y(0), im.ancho, im.alto, mira);
    for (std::uint32_t i = 0; i < tramos; ++i)
      recorre_segmento(x(i), y(i), x(i + 1), y(i + 1), im.ancho, im.alto, mira);
  }

  // Glyphs are smoothed into the background: anything drawn off the lines will do. Only a
  // text whose box is inside the canvas must show.
  const mascara lineas = zona;
  por_texto(v, [&](const registro_plano& t, int x0, int y0, int x1, int y1) {
    bool visto = false;
    for (int yy = std::max(y0, 0); yy <= std::min(y1, im.alto - 1) && !visto; ++yy)
      for (int xx = std::max(x0, 0); xx <= std::min(x1, im.ancho - 1) && !visto; ++xx)
        visto = !lineas.en(xx, yy) && !im.es(xx, yy, color_fondo_plano);
    if (!visto && x0 >= 0 && y0 >= 0 && x1 < im.ancho && y1 < im.alto) ++r.textos_sin_dibujar;
    zona.marca(x0, y0, x1, y1);
    if (l.codigos()[t.codigo].nuevo) rojo.marca(x0, y0, x1, y1);
  });

  for (int yy = 0; yy < im.alto; ++yy)
    for (int xx = 0; xx < im.ancho; ++xx) {
      if (!zona.en(xx, yy) && !im.es(xx, yy, color_fondo_plano)) ++r.fondo_manchado;
      if (!rojo.en(xx, yy) && im.es(xx, yy, color_nuevo)) ++r.rojo_fuera;
    }
  return r;
}

acuerdo_pixeles compara_lienzos(const imagen_rgb& a, const imagen_rgb& b, visor_plano& v) {
  acuerdo_pixeles r;
  mascara textos(a.ancho, a.alto);
  por_texto(v, [&](const registro_plano&, int x0, int y0, int x1, int y1) {
    textos.marca(x0, y0, x1, y1);
  });
  for (const auto& [uno, otro] : {std::pair{&a, &b}, std::pair{&b, &a}})
    for (int y = 0; y < a.alto; ++y)
      for (int x = 0; x < a.ancho; ++x) {
        if (textos.en(x, y) || uno->es(x, y, color_fondo_plano)) continue;
        ++r.mirados;
        const color_rgb c = uno->en(x, y);
        if (!cerca(*otro, x, y, &c)) ++r.sin_pareja;
      }
  return r;
}

}  // namespace tolvar::prueba
