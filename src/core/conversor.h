#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "core/estado_conversion.h"
#include "core/contadores.h"
#include "core/ficheros.h"
#include "core/pagina_codigos.h"
#include "core/vista_conversion.h"

namespace tolvar {

// The layer code table is codes/' own: the core holds it without knowing what it is, and
// makes and deletes it through these two, defined there.
class tabla_codigos;
struct borra_tabla {
  void operator()(tabla_codigos* tabla) const noexcept;
};
std::unique_ptr<tabla_codigos, borra_tabla> nueva_tabla();

// The group reader, known only to the procedures that read groups: a front end that includes
// this header does not take in the reader's inline code, its thread and its scan.
class lector_grupos;
struct grupo;

// What the readers of curves, faces and meshes keep while an entity is read, dxf/'s own: made
// the first time a drawing needs it, so that a converter that meets none pays nothing.
struct memoria_lectura;
struct borra_memoria_lectura {
  void operator()(memoria_lectura* m) const noexcept;
};
// The blocks of the drawing being converted, with --blocks; dxf/'s own, made when needed.
struct estado_bloques;
struct borra_estado_bloques {
  void operator()(estado_bloques* b) const noexcept;
};
struct definicion_bloque;
struct colocacion;
struct valor_leido;
struct punto_leido;
struct normal_leida;
struct punto_doble;
class plano_objeto;
struct camino_hatch;

// A batch may not hold more drawings than this.
inline constexpr std::int32_t max_ficheros = 1000;

// The kinds of entity read only when asked for. POLYLINE, POINT, TEXT and TRIANG are always
// read; drawings of today's CAD and GIS programs draw most of their lines, texts, curves,
// faces and filled areas with these.
struct tipos_tambien {
  bool lwpolyline = false;
  bool line = false;
  bool mtext = false;
  bool insert = false;
  bool circle = false;
  bool arc = false;
  bool ellipse = false;
  bool face3d = false;   // 3DFACE
  bool solid = false;
  bool trace = false;
  bool spline = false;
  bool hatch = false;
  bool leader = false;
  static constexpr tipos_tambien todos() noexcept {
    return {true, true, true, true, true, true, true, true, true, true, true, true, true};
  }
};

// Each kind read on request: its name in drawings and on the command line, the line that
// counts it, the switch that asks for it and its counter. In the order their counts are shown.
struct tipo_a_peticion {
  const char* nombre;
  const char* leidos;
  bool tipos_tambien::*pedido;
  std::int32_t contadores::*cuenta;
};
inline constexpr tipo_a_peticion tipos_a_peticion[] = {
    {"LWPOLYLINE", "LWPOLYLINE leidas : ", &tipos_tambien::lwpolyline, &contadores::cont_lwpolyline},
    {"LINE", "LINE leidas : ", &tipos_tambien::line, &contadores::cont_line},
    {"MTEXT", "MTEXT leidos : ", &tipos_tambien::mtext, &contadores::cont_mtext},
    {"INSERT", "INSERT leidos : ", &tipos_tambien::insert, &contadores::cont_insert},
    {"CIRCLE", "CIRCLE leidos : ", &tipos_tambien::circle, &contadores::cont_circle},
    {"ARC", "ARC leidos : ", &tipos_tambien::arc, &contadores::cont_arc},
    {"ELLIPSE", "ELLIPSE leidas : ", &tipos_tambien::ellipse, &contadores::cont_ellipse},
    {"3DFACE", "3DFACE leidas : ", &tipos_tambien::face3d, &contadores::cont_3dface},
    {"SOLID", "SOLID leidos : ", &tipos_tambien::solid, &contadores::cont_solid},
    {"TRACE", "TRACE leidos : ", &tipos_tambien::trace, &contadores::cont_trace},
    {"SPLINE", "SPLINE leidos : ", &tipos_tambien::spline, &contadores::cont_spline},
    {"HATCH", "HATCH leidos : ", &tipos_tambien::hatch, &contadores::cont_hatch},
    {"LEADER", "LEADER leidos : ", &tipos_tambien::leader, &contadores::cont_leader},
};

// The largest distance between a curve and its chords, in drawing units, unless told: one
// thousandth, the unit of the .bin.
inline constexpr double tolerancia_por_defecto = 0.001;

// How a conversion reads and writes, besides the attribute option of the window.
struct opciones_conversion {
  tipos_tambien tambien;
  // The code page of the texts and layer names in the .bin and the .err, and of the table.
  pagina_codigos pagina_salida = pagina_codigos::ansi_1252;
  // A polyline vertex's bulge bends the segment after it into an arc; off, it stays a chord.
  bool arcos = false;
  double tolerancia = tolerancia_por_defecto;
  // Every INSERT and DIMENSION is drawn as the entities of its block, placed where the
  // drawing puts it; off, the BLOCKS section is passed over unread.
  bool bloques = false;
};

// The converter: the procedures of a conversion over their shared state. Each is defined
// in the folder of its subsystem: readers in dxf/, the code table in codes/, the record
// writer in output/. Every failure is an error_conversion thrown to the caller of
// ProcesoLote or ProcesoFichero; what was written before it stays in its files.
class conversor {
 public:
  conversor(vista_conversion& vista, ficheros& fs);
  ~conversor();
  conversor(const conversor&) = delete;
  conversor& operator=(const conversor&) = delete;

  // Converts every drawing of the directory of `fich_dxf`, in byte order of their names;
  // does nothing while `fich_dxf` is empty. Error 9 for more than 1000 drawings, before any
  // is converted.
  void ProcesoLote();
  // The same for a directory named directly.
  void ProcesoDirectorio(const std::filesystem::path& directorio);
  // One drawing: `fich_dxf` inside `directorio` -> NAME.bin and NAME.err beside it.
  void ProcesoFichero();

  estado_conversion& estado() noexcept { return e_; }
  const contadores& cuentas() const noexcept { return cuentas_; }
  // Read by each drawing as it starts.
  opciones_conversion& opciones() noexcept { return opciones_; }
  // The code table of the drawing converted last; empty before the first.
  const tabla_codigos& tabla() const noexcept { return *tabla_; }

 private:
  // The kinds of entity that a group 0 may name, as the options read them.
  enum class tipo_leido {
    ninguno, polyline, point, text, triang, lwpolyline, line, mtext, insert, circle, arc,
    ellipse, face3d, solid, trace, spline, hatch, leader, dimension
  };
  tipo_leido tipo_de(std::string_view tipo) const noexcept;
  std::int32_t& contador_de(tipo_leido t) noexcept;
  // The reader of the kind, from its keyword's group 0 to the group 0 after it.
  void procesa(tipo_leido t);
  void recorre_dibujo();
  void abre_seccion();
  void salta_bloques();
  void lee_variable_cabecera(const grupo& g);
  void cuenta(std::int32_t& contador);

  // dxf/
  void ProcesaPolyline();
  void procesaVertex();
  void ProcesaPoint();
  // TEXT, and an INSERT's ATTRIB, read as a TEXT but written only when visible.
  void ProcesaText(const char* entidad = "TEXT", bool atributo = false);
  void ProcesaTriang();
  void ProcesaLwpolyline();
  void ProcesaLine();
  void ProcesaMtext();
  void ProcesaInsert();
  void ProcesaArc(bool circulo);   // CIRCLE and ARC alike
  void ProcesaEllipse();
  void Procesa3dface();
  void ProcesaSolid(const char* entidad);  // SOLID and TRACE alike
  void ProcesaSpline();
  void ProcesaHatch();
  void ProcesaLeader();
  // A HATCH's boundary paths, each read whole into memoria() and then drawn into the points
  // of its record; the groups of a path come in one order, each due in its turn.
  void lee_camino_hatch(camino_hatch& camino);
  void lee_borde_hatch(camino_hatch& camino, bool ultimo);
  void traza_camino_hatch(const camino_hatch& camino, const plano_objeto& plano, double elevacion);
  const grupo& grupo_debido(int codigo);
  std::int32_t cuenta_hatch(const grupo& g);
  // The vertices of a 2D polyline read as numbers (its arcs drawn, or its plane not the
  // world's), and of a polyface mesh.
  void procesaVertexReal(bool escala_ya, bool combas);
  void procesaVertexMalla(std::int64_t linea_vertex);
  void escribe_malla();
  // What every reader shares (dxf/lectura.h): the group loop of one entity, a coordinate, the
  // layer, values read as numbers and points moved or computed.
  template <bool valores_enteros = false, class PorGrupo>
  void recorre_entidad(const char* entidad, PorGrupo&& por_grupo);
  std::int32_t coordenada(const grupo& g, bool con_desplazamiento) const;
  void capa(const grupo& g);
  void clasifica_sin_capa();
  bool indicador_cerrado(const grupo& g) const;
  std::int32_t entero(const grupo& g) const;
  double altura(const grupo& g) const;
  double numero(const grupo& g) const;
  void lee_valor(const grupo& g, valor_leido& v) const;
  bool lee_normal(const grupo& g, normal_leida& n) const;
  // The group 10 that starts vertex n + 1 of an LWPOLYLINE or a LEADER, its x read; the 5001st
  // is error 9, worded by `demasiados`.
  void empieza_vertice(const grupo& g, std::int32_t& n, const char* demasiados_en,
                       const char* demasiados_es);
  std::int32_t escala_leido(const valor_leido& v, bool con_desplazamiento) const;
  tipo_punto escala_calculado(const punto_doble& p) const;
  tipo_punto escala_punto(const punto_leido& p, const plano_objeto& plano) const;
  void traza_arcos(std::int32_t num_vertices, const plano_objeto& plano);
  void escribe_arco(const punto_doble& centro, double radio, double inicio, double barrido,
                    double n, std::int32_t num, const plano_objeto& plano);
  memoria_lectura& memoria();
  // The largest distance between a curve and its chords, in the drawing units of the entity
  // being read: in a block scaled up, smaller, so that its chords stay within the tolerance
  // once scaled.
  double tolerancia() const noexcept {
    return escala_curvas_ > 1.0 && escala_curvas_ <= std::numeric_limits<double>::max()
               ? opciones_.tolerancia / escala_curvas_
               : opciones_.tolerancia;
  }

  // dxf/bloques.cpp: the BLOCKS section read, INSERTs and DIMENSIONs drawn from it.
  estado_bloques& bloques();
  void lee_bloques();
  void ProcesaInsertBloque();
  void ProcesaDimension();
  void empieza_origen();
  void comprueba_anidamiento() const;
  const definicion_bloque* busca_bloque(std::string nombre) const;
  void dibuja(const definicion_bloque& d, colocacion c, std::int32_t columnas, std::int32_t filas);
  void recorre_bloque(const definicion_bloque& d);
  void lee_atributos();
  void cuenta_dibujada();
  // The point of a block in world coordinates, placed by every INSERT and DIMENSION drawing it.
  punto_doble coloca(const punto_doble& p) const noexcept;
  const std::string& codigo_heredado() const noexcept;

  // codes/
  // Reads the drawing's directory's table into tabla_, its path into fich_tab.
  void CargaTab();
  void ProcesaCodigo(std::string& codigo);

  // output/
  void GrabaEntidad();

  vista_conversion& vista_;
  ficheros& fs_;
  estado_conversion e_;
  std::unique_ptr<tabla_codigos, borra_tabla> tabla_;
  contadores cuentas_;
  opciones_conversion opciones_;

  // Only while ProcesoFichero runs.
  std::unique_ptr<lector_grupos> lector_;
  std::unique_ptr<sumidero> bin_;
  std::unique_ptr<sumidero> err_;
  std::int64_t linea_entidad_ = 0;   // where the entity being read starts, for errors
  bool tiene_capa_ = false;          // the entity being read had a layer group
  // Where the main loop stands: the HEADER names the drawing's code page, the ENTITIES
  // section and the space outside every section are where left-out kinds are counted.
  enum class seccion { ninguna, cabecera, entidades, otra } seccion_ = seccion::ninguna;
  // What the drawing's texts are in when they are not UTF-8: its $DWGCODEPAGE, or the output's.
  pagina_codigos pagina_dibujo_ = pagina_codigos::ansi_1252;

  std::unique_ptr<memoria_lectura, borra_memoria_lectura> memoria_;
  std::unique_ptr<estado_bloques, borra_estado_bloques> bloques_;
  // While an entity of a block is read: its points are placed, its layer "0" inherited. The
  // products of the INSERTs' scales, kept here for the readers and the writer: see colocacion.
  bool colocando_ = false;
  double escala_curvas_ = 1.0;
  double escala_altura_ = 1.0;

  // Reused buffers: no allocation per entity once they have grown.
  std::string registro_;
  std::string linea_err_;
  std::string ultimo_1_;   // an MTEXT's last group 1, which goes after its groups 3
};

}  // namespace tolvar
