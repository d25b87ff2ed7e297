// CIRCLE, ARC and ELLIPSE, read on request, drawn as polylines of as many segments as keep
// them within the tolerance of the true curve.
#include <cmath>

#include "core/conversor.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {
namespace {

// The centre and radius of a circle or an arc, in its own plane.
struct circulo_leido {
  punto_leido centro;
  double radio = 0.0;
  normal_leida normal;
};

}  // namespace

void conversor::ProcesaCircle() {
  tiene_capa_ = false;
  circulo_leido c;
  recorre_entidad("CIRCLE", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: lee_valor(g, c.centro.x); break;
      case grupo_y: lee_valor(g, c.centro.y); break;
      case grupo_z: lee_valor(g, c.centro.z); break;
      case grupo_radio: c.radio = numero(g); break;
      default: lee_normal(g, c.normal); break;
    }
    return false;
  });
  // A negative radius draws the same circle, as CAD programs read it.
  const double r = std::fabs(c.radio);
  const curva k{dos_pi, r};
  double n = 0.0;
  cuenta_curvas(&k, &n, 1, 0.0, 0.0, opciones_.tolerancia);
  escribe_arco(c.centro.doble(), r, 0.0, dos_pi, n, cuenta_segura(n), c.normal.plano());
  // The closing unit joins the last point to the first.
  e_.elem_cerrado = true;
  clasifica_sin_capa();
  GrabaEntidad();
}

void conversor::ProcesaArc() {
  tiene_capa_ = false;
  circulo_leido c;
  double inicio = 0.0, fin = 0.0;  // degrees
  recorre_entidad("ARC", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: lee_valor(g, c.centro.x); break;
      case grupo_y: lee_valor(g, c.centro.y); break;
      case grupo_z: lee_valor(g, c.centro.z); break;
      case grupo_radio: c.radio = numero(g); break;
      case grupo_angulo_inicio: inicio = numero(g); break;
      case grupo_angulo_fin: fin = numero(g); break;
      default: lee_normal(g, c.normal); break;
    }
    return false;
  });
  const double r = std::fabs(c.radio);
  // Counter-clockwise from the start to the end; equal angles are a full turn.
  double grados = std::fmod(fin - inicio, 360.0);
  if (grados <= 0.0) grados = grados + 360.0;
  const double barrido = grados * grado;
  const curva k{barrido, r};
  double n = 0.0;
  cuenta_curvas(&k, &n, 1, 0.0, 1.0, opciones_.tolerancia);
  escribe_arco(c.centro.doble(), r, inicio * grado, barrido, n, cuenta_segura(n) + 1,
               c.normal.plano());
  clasifica_sin_capa();
  GrabaEntidad();
}

// In world coordinates: the normal only says which way the minor axis points.
void conversor::ProcesaEllipse() {
  tiene_capa_ = false;
  punto_leido centro, mayor;
  double razon = 1.0, p0 = 0.0, p1 = dos_pi;
  normal_leida normal;
  recorre_entidad("ELLIPSE", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: lee_valor(g, centro.x); break;
      case grupo_y: lee_valor(g, centro.y); break;
      case grupo_z: lee_valor(g, centro.z); break;
      case grupo_x2: lee_valor(g, mayor.x); break;
      case grupo_y2: lee_valor(g, mayor.y); break;
      case grupo_z2: lee_valor(g, mayor.z); break;
      case grupo_radio: razon = numero(g); break;
      case grupo_parametro_inicio: p0 = numero(g); break;
      case grupo_parametro_fin: p1 = numero(g); break;
      default: lee_normal(g, normal); break;
    }
    return false;
  });
  const punto_doble c = centro.doble();
  const punto_doble m = mayor.doble();
  const punto_doble az = normal.plano().eje_z();
  const punto_doble menor{(az.y * m.z - az.z * m.y) * razon, (az.z * m.x - az.x * m.z) * razon,
                          (az.x * m.y - az.y * m.x) * razon};
  const double f = std::fmod(p1 - p0, dos_pi);
  const bool cerrada = f == 0.0;
  const double barrido = f > 0.0 ? f : f + dos_pi;
  const double radio = std::sqrt(m.x * m.x + m.y * m.y + m.z * m.z);
  const curva k{barrido, radio};
  double n = 0.0;
  cuenta_curvas(&k, &n, 1, 0.0, cerrada ? 0.0 : 1.0, opciones_.tolerancia);
  const std::int32_t num = cuenta_segura(n) + (cerrada ? 0 : 1);
  for (std::int32_t i = 0; i < num; ++i) {
    const double p = p0 + (barrido * static_cast<double>(i)) / n;
    const double cos_p = std::cos(p);
    const double sin_p = std::sin(p);
    e_.puntos[static_cast<std::size_t>(i) + 1] =
        escala_calculado({c.x + m.x * cos_p + menor.x * sin_p, c.y + m.y * cos_p + menor.y * sin_p,
                          c.z + m.z * cos_p + menor.z * sin_p});
  }
  e_.num_puntos = num;
  e_.elem_cerrado = cerrada;
  clasifica_sin_capa();
  GrabaEntidad();
}

}  // namespace tolvar
