// CIRCLE, ARC and ELLIPSE, read on request, drawn as polylines of as many segments as keep
// them within the tolerance of the true curve.
#include <cmath>

#include "core/conversor.h"
#include "core/lector_grupos.h"
#include "dxf/lectura.h"

namespace tolvar {
// A CIRCLE is an arc of a whole turn, closed by its record's closing unit; an ARC goes
// anticlockwise from its start angle (50) to its end (51), in degrees, equal angles a full
// turn, and stays open.
void conversor::ProcesaArc(bool circulo) {
  tiene_capa_ = false;
  punto_leido centro;
  double radio = 0.0;
  normal_leida normal;
  double inicio = 0.0, fin = 0.0;  // degrees
  recorre_entidad(circulo ? "CIRCLE" : "ARC", [&](const grupo& g) {
    switch (g.codigo) {
      case grupo_capa: capa(g); break;
      case grupo_x: lee_valor(g, centro.x); break;
      case grupo_y: lee_valor(g, centro.y); break;
      case grupo_z: lee_valor(g, centro.z); break;
      case grupo_radio: radio = numero(g); break;
      case grupo_angulo_inicio:
        if (!circulo) inicio = numero(g);
        break;
      case grupo_angulo_fin:
        if (!circulo) fin = numero(g);
        break;
      default: lee_normal(g, normal); break;
    }
    return false;
  });
  // A negative radius draws the same curve, as CAD programs read it.
  const double r = std::fabs(radio);
  double barrido = dos_pi;
  double a0 = 0.0;
  if (!circulo) {
    double grados = std::fmod(fin - inicio, 360.0);
    if (grados <= 0.0) grados = grados + 360.0;
    barrido = grados * grado;
    a0 = inicio * grado;
  }
  const curva k{barrido, r};
  double n = 0.0;
  cuenta_curvas(&k, &n, 1, 0.0, circulo ? 0.0 : 1.0, tolerancia());
  escribe_arco(centro.doble(), r, a0, barrido, n, cuenta_segura(n) + (circulo ? 0 : 1), normal.plano());
  e_.elem_cerrado = circulo;
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
  cuenta_curvas(&k, &n, 1, 0.0, cerrada ? 0.0 : 1.0, tolerancia());
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
