#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/conversor.h"
#include "core/ficheros.h"
#include "core/vista_conversion.h"
#include "ventana/disposicion.h"

namespace tolvar {

// What the window's behaviour needs of a toolkit: its controls, and the parts of the desktop
// that wait for a person or end the program. The Qt window and the Win32 one implement it;
// tests record the calls. Texts are UTF-8.
class controles {
 public:
  virtual ~controles() = default;
  // The file-open dialog (titulo_dialogo, the one filter), opened in `anterior`'s directory
  // when it is not empty. The chosen file, or an empty path when the user cancels.
  virtual std::filesystem::path elige_fichero(const std::filesystem::path& anterior) = 0;
  // A text box's text or a label's caption, painted before the call returns: the batch holds
  // the thread, so nothing painted later would be seen until it ends.
  virtual void pon_texto(control c, const std::string& texto) = 0;
  // Shows or hides a control, painted before the call returns.
  virtual void muestra(control c, bool visible) = 0;
  // Lets a control be used, or greys it out; painted before the call returns.
  virtual void habilita(control c, bool activo) = 0;
  // An option button or a check box.
  virtual bool marcado(control c) const = 0;
  virtual void marca(control c, bool marcado) = 0;
  // The program-wide wait pointer, on or off; called only when it changes.
  virtual void puntero_espera(bool activo) = 0;
  // The message box of a failure; returns once the user has closed it.
  virtual void avisa_error(const std::string& titulo, const std::string& texto) = 0;
  // Ends the program with `estado` as its exit status, once the current event is handled.
  virtual void termina(int estado) = 0;
  // The map preview of `bins` (at least one; the batch's, in batch order), showing the last:
  // opened, or brought forward with these files when it is already open.
  virtual void abre_plano(const std::vector<std::filesystem::path>& bins) = 0;
};

// The main window's behaviour, whatever draws it: what Form_Load sets, what a press of the
// button does, what the conversion shows and which options it is handed, and the end of the
// program on a failure. The conversion's state lives as long as the window.
class formulario final : public vista_conversion {
 public:
  // Both must outlive the formulario; nothing of `c` is called before Form_Load.
  formulario(controles& c, ficheros& fs);

  // Once the controls exist, before the window is first shown.
  void Form_Load();
  // The dialog, then the whole batch of the chosen drawing's directory (the previous one
  // again when the dialog is cancelled). A failure is shown in a message box in Spanish and
  // ends the program with the error's number, 1 for a failure that has none.
  void Command1_Click();
  // The map preview of the last batch's .bin files; nothing before a batch has written one.
  void Command2_Click();

  // The .bin files the last batch wrote, in batch order.
  const std::vector<std::filesystem::path>& bins() const noexcept { return bins_; }

  conversor& conv() noexcept { return conv_; }

  void muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                          std::int32_t cont_text) override;
  void muestra_resumen(const contadores& cuentas) override;
  void muestra_ficheros(const std::filesystem::path& bin,
                        const std::filesystem::path& err) override;
  void muestra_fin() override;
  void puntero_espera(bool activo) override;
  bool atributo_activado() const override;

 private:
  void falla(int numero, const std::string& texto);

  controles& controles_;
  conversor conv_;
  std::vector<std::filesystem::path> bins_;
  bool espera_ = false;
};

// The about box's first two paragraphs, the same in both windows: the program's name and
// version, and what the window does. Each window adds where its guide is on its system.
std::string version_acerca();
inline constexpr const char* descripcion_acerca =
    "Conversor de planos DXF en ficheros .bin: cada dibujo DXF ASCII del directorio del fichero "
    "elegido da NOMBRE.bin, con sus entidades, y NOMBRE.err, con las capas que dxfbin.tab no "
    "clasifica.";

// The kinds Check1 adds, for its tooltip: "LWPOLYLINE, LINE, ... y TRACE".
std::string tipos_de_la_casilla();
// Check3's tooltip.
inline constexpr const char* consejo_bloques =
    "Cada INSERT y cada DIMENSION se dibuja entonces con las entidades de su bloque, colocadas "
    "donde el dibujo lo pone.";

// A path as the window shows it: UTF-8, with the system's separators.
std::string texto_ventana(const std::filesystem::path& ruta);

}  // namespace tolvar
