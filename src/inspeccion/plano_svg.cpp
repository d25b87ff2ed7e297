#include "inspeccion/plano_svg.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/error_conversion.h"
#include "core/texto.h"
#include "inspeccion/lector_bin.h"
#include "inspeccion/texto_legible.h"

namespace tolvar {
namespace {

constexpr std::size_t bloque_salida = std::size_t{1} << 16;
constexpr std::int64_t lado_px = 1000;     // the longer side of the map
constexpr std::int64_t ancho_leyenda = 240;
constexpr std::int64_t linea_leyenda = 18;
constexpr std::size_t max_leyenda = 40;    // a legend longer than a screen helps nobody

// Colours far apart for the first codes, then hues a golden angle apart.
constexpr const char* paleta[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd",
                                  "#8c564b", "#e377c2", "#17becf", "#bcbd22", "#7f7f7f",
                                  "#393b79", "#637939", "#843c39", "#7b4173", "#3182bd",
                                  "#e6550d"};
constexpr std::size_t colores_paleta = sizeof paleta / sizeof paleta[0];

using codigo = std::array<char, 7>;

struct codigo_visto {
  codigo cod;
  std::uint64_t registros = 0;
};

// What the first pass learns: the extent of everything drawn and the codes, in the order
// in which they first appear.
struct resumen {
  bool hay_datos = false;
  std::int64_t x0 = 0, x1 = 0, n0 = 0, n1 = 0;  // thousandths; n is the northing
  std::vector<codigo_visto> codigos;
  std::map<codigo, std::size_t> indice;
  std::uint64_t registros = 0;
  std::optional<error_bin> rotura;

  void amplia(std::int64_t x, std::int64_t n) {
    if (!hay_datos) {
      x0 = x1 = x;
      n0 = n1 = n;
      hay_datos = true;
      return;
    }
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    n0 = std::min(n0, n);
    n1 = std::max(n1, n);
  }
};

resumen recorre(ficheros& fs, const std::filesystem::path& bin) {
  resumen res;
  const std::unique_ptr<fuente> origen = fs.abre(bin);
  lector_bin lector(*origen, bin);
  registro_bin r;
  try {
    while (lector.siguiente(r)) {
      const auto [it, nuevo] = res.indice.try_emplace(r.cod, res.codigos.size());
      if (nuevo) res.codigos.push_back({r.cod, 0});
      ++res.codigos[it->second].registros;
      for (const tipo_punto& p : r.puntos) res.amplia(p.x, r.norte(p.y));
      // A text reaches as far as its box: its characters times its height, and its height.
      if (r.es_texto() && !r.puntos.empty()) res.amplia(r.ventana[3], r.norte(r.ventana[4]));
    }
  } catch (const error_bin& e) {
    res.rotura = e;
  }
  res.registros = lector.registros();
  return res;
}

void pon_color(std::string& s, std::size_t i) {
  if (i < colores_paleta) {
    s += paleta[i];
    return;
  }
  s += "hsl(";
  pon_entero(s, static_cast<std::int64_t>(i * 137 % 360));
  s += ",65%,40%)";
}

// Text content as UTF-8 for XML: markup characters as entities, and the control bytes that
// XML 1.0 forbids as U+FFFD, so that one odd byte cannot make the whole map unreadable.
void pon_xml(std::string& s, std::string_view bytes_1252) {
  for (const char c : bytes_1252) {
    switch (c) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          s += "\xEF\xBF\xBD";
        } else {
          pon_utf8(s, {&c, 1});
        }
    }
  }
}

// Map coordinates: thousandths from the west edge and from the north edge, so that y grows
// southwards as SVG wants. Small numbers also keep renderers that work in single precision
// from rounding a northing of 4,470,300 to the half metre.
class dibujante {
 public:
  dibujante(const resumen& res, sumidero& destino) : res_(res), destino_(destino) {}

  void cabecera(const std::string& titulo) {
    const std::int64_t ancho = res_.x1 - res_.x0, alto = res_.n1 - res_.n0;
    const std::int64_t lado = std::max(ancho, alto);
    const std::int64_t margen = lado > 0 ? lado / 50 : 1000;
    const std::int64_t vw = ancho + 2 * margen, vh = alto + 2 * margen;
    radio_ = std::max<std::int64_t>(std::max(vw, vh) / 400, 1);
    if (vw >= vh) {
      ancho_px_ = lado_px;
      alto_px_ = std::max<std::int64_t>((lado_px * vh + vw / 2) / vw, 1);
    } else {
      alto_px_ = lado_px;
      ancho_px_ = std::max<std::int64_t>((lado_px * vw + vh / 2) / vh, 1);
    }
    const std::size_t lineas = std::min(res_.codigos.size(), max_leyenda) +
                               (res_.codigos.size() > max_leyenda ? 1 : 0);
    const std::int64_t alto_leyenda = 40 + linea_leyenda * static_cast<std::int64_t>(lineas);
    const std::int64_t ancho_total = ancho_px_ + 20 + ancho_leyenda;
    const std::int64_t alto_total = std::max(alto_px_, alto_leyenda);

    s_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"";
    pon_entero(s_, ancho_total);
    s_ += "\" height=\"";
    pon_entero(s_, alto_total);
    s_ += "\" viewBox=\"0 0 ";
    pon_entero(s_, ancho_total);
    s_ += ' ';
    pon_entero(s_, alto_total);
    s_ += "\">\n<title>";
    pon_xml(s_, titulo);
    s_ += "</title>\n<desc>x = easting - ";
    pon_milesimas_corto(s_, res_.x0);
    s_ += ", y = ";
    pon_milesimas_corto(s_, res_.n1);
    s_ += " - northing, in drawing units</desc>\n<style>\n"
          "#plano polyline{fill:none;stroke-width:1px;vector-effect:non-scaling-stroke}\n"
          "#plano polygon{fill-opacity:0.3;stroke-width:1px;vector-effect:non-scaling-stroke}\n"
          "#plano circle,#plano text{stroke:none}\n"
          "#plano text{font-family:sans-serif}\n"
          "#leyenda text{font-family:sans-serif;font-size:12px;fill:#000;stroke:none}\n";
    for (std::size_t i = 0; i < res_.codigos.size(); ++i) {
      s_ += ".c";
      pon_entero(s_, static_cast<std::int64_t>(i));
      s_ += "{stroke:";
      pon_color(s_, i);
      s_ += ";fill:";
      pon_color(s_, i);
      s_ += "}\n";
    }
    s_ += "</style>\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n<svg x=\"0\" y=\"0\" width=\"";
    pon_entero(s_, ancho_px_);
    s_ += "\" height=\"";
    pon_entero(s_, alto_px_);
    s_ += "\" viewBox=\"";
    pon_milesimas_corto(s_, -margen);
    s_ += ' ';
    pon_milesimas_corto(s_, -margen);
    s_ += ' ';
    pon_milesimas_corto(s_, vw);
    s_ += ' ';
    pon_milesimas_corto(s_, vh);
    s_ += "\">\n<g id=\"plano\">\n";
  }

  void registro(const registro_bin& r) {
    if (r.puntos.empty()) return;
    const auto it = res_.indice.find(r.cod);
    std::string clase;
    if (it != res_.indice.end()) {
      clase = " class=\"c";
      pon_entero(clase, static_cast<std::int64_t>(it->second));
      clase += '"';
    }
    if (r.es_texto()) {
      const tipo_punto& p = r.puntos.front();
      s_ += "<text";
      s_ += clase;
      s_ += " x=\"";
      pon_x(p.x);
      s_ += "\" y=\"";
      pon_y(r, p.y);
      s_ += "\" font-size=\"";
      pon_milesimas_corto(s_, std::max(r.ventana[6], 0));
      s_ += "\">";
      pon_xml(s_, r.texto);
      s_ += "</text>\n";
    } else if (r.es_triangulo()) {
      s_ += "<polygon";
      s_ += clase;
      pon_puntos(r);
    } else if (r.puntos.size() == 1) {
      const tipo_punto& p = r.puntos.front();
      s_ += "<circle";
      s_ += clase;
      s_ += " cx=\"";
      pon_x(p.x);
      s_ += "\" cy=\"";
      pon_y(r, p.y);
      s_ += "\" r=\"";
      pon_milesimas_corto(s_, radio_);
      s_ += "\"/>\n";
    } else {
      // A closed record already repeats its first point last, so the line closes itself.
      s_ += "<polyline";
      s_ += clase;
      pon_puntos(r);
    }
    descarga(false);
  }

  void pie() {
    s_ += "</g>\n</svg>\n<g id=\"leyenda\">\n";
    const std::int64_t x = ancho_px_ + 20;
    std::int64_t y = 20;
    pon_texto_leyenda(x, y, "code (records)");
    for (std::size_t i = 0; i < res_.codigos.size() && i < max_leyenda; ++i) {
      y += linea_leyenda;
      s_ += "<rect class=\"c";
      pon_entero(s_, static_cast<std::int64_t>(i));
      s_ += "\" x=\"";
      pon_entero(s_, x);
      s_ += "\" y=\"";
      pon_entero(s_, y - 11);
      s_ += "\" width=\"12\" height=\"12\"/>";
      const codigo_visto& c = res_.codigos[i];
      const std::string_view cod(c.cod.data(), c.cod.size());
      std::string etiqueta(cod.substr(0, cod.find_last_not_of('\0') + 1));
      if (etiqueta.empty()) etiqueta = "(no code)";
      etiqueta += " (";
      pon_entero(etiqueta, static_cast<std::int64_t>(c.registros));
      etiqueta += ')';
      pon_texto_leyenda(x + 18, y, etiqueta);
    }
    if (res_.codigos.size() > max_leyenda) {
      y += linea_leyenda;
      pon_texto_leyenda(x, y, "and " + std::to_string(res_.codigos.size() - max_leyenda) +
                                  " more codes");
    }
    s_ += "</g>\n</svg>\n";
    descarga(true);
  }

 private:
  void pon_x(std::int32_t x) { pon_milesimas_corto(s_, x - res_.x0); }
  void pon_y(const registro_bin& r, std::int32_t y) { pon_milesimas_corto(s_, res_.n1 - r.norte(y)); }

  void pon_puntos(const registro_bin& r) {
    s_ += " points=\"";
    bool primero = true;
    for (const tipo_punto& p : r.puntos) {
      if (!primero) s_ += ' ';
      primero = false;
      pon_x(p.x);
      s_ += ',';
      pon_y(r, p.y);
    }
    s_ += "\"/>\n";
  }

  void pon_texto_leyenda(std::int64_t x, std::int64_t y, std::string_view texto) {
    s_ += "<text x=\"";
    pon_entero(s_, x);
    s_ += "\" y=\"";
    pon_entero(s_, y);
    s_ += "\">";
    pon_xml(s_, texto);
    s_ += "</text>\n";
  }

  void descarga(bool siempre) {
    if (siempre || s_.size() >= bloque_salida) {
      destino_.escribe(s_);
      s_.clear();
    }
  }

  const resumen& res_;
  sumidero& destino_;
  std::string s_;
  std::int64_t ancho_px_ = 0, alto_px_ = 0, radio_ = 1;
};

}  // namespace

void dibuja_bin(ficheros& fs, const std::filesystem::path& bin, const std::filesystem::path& svg) {
  const resumen res = recorre(fs, bin);

  const std::unique_ptr<sumidero> destino = fs.crea(svg);
  dibujante d(res, *destino);
  d.cabecera(texto_ruta(bin.filename()));
  {
    const std::unique_ptr<fuente> origen = fs.abre(bin);
    lector_bin lector(*origen, bin);
    registro_bin r;
    // Up to where the first pass stopped: the records after a break are not records.
    while (lector.registros() < res.registros && lector.siguiente(r)) d.registro(r);
  }
  d.pie();
  destino->cierra();
  if (res.rotura) throw *res.rotura;
}

}  // namespace tolvar
