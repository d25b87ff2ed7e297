#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "core/estado_conversion.h"
#include "core/ficheros.h"
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

// A batch may not hold more drawings than this.
inline constexpr std::int32_t max_ficheros = 1000;

// The counts of the drawing converted last.
struct contadores {
  std::int32_t cont_polyline = 0;
  std::int32_t cont_point = 0;
  std::int32_t cont_text = 0;
  std::int32_t cont_triang = 0;
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
  // The code table of the drawing converted last; empty before the first.
  const tabla_codigos& tabla() const noexcept { return *tabla_; }

 private:
  void recorre_dibujo();
  void cuenta(std::int32_t& contador);

  // dxf/
  void ProcesaPolyline();
  void procesaVertex();
  void ProcesaPoint();
  void ProcesaText();
  void ProcesaTriang();
  // What every reader shares (dxf/lectura.h): the group loop of one entity, a coordinate, the
  // layer.
  template <class PorGrupo>
  void recorre_entidad(const char* entidad, PorGrupo&& por_grupo);
  std::int32_t coordenada(const grupo& g, bool con_desplazamiento) const;
  void capa(const grupo& g);
  void clasifica_sin_capa();

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

  // Only while ProcesoFichero runs.
  std::unique_ptr<lector_grupos> lector_;
  std::unique_ptr<sumidero> bin_;
  std::unique_ptr<sumidero> err_;
  std::int64_t linea_entidad_ = 0;   // where the entity being read starts, for errors
  bool tiene_capa_ = false;          // the entity being read had a layer group

  // Reused buffers: no allocation per entity once they have grown.
  std::string registro_;
  std::string linea_err_;
};

}  // namespace tolvar
