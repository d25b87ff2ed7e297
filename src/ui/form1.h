#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/conversor.h"
#include "core/ficheros.h"
#include "ventana/disposicion.h"
#include "ventana/formulario.h"

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tolvar {

class VentanaPlano;

// What the window needs of the desktop beyond its own controls: the things that wait for a
// person or end the process. Tests put doubles here so that nothing blocks.
struct escritorio {
  // The file-open dialog, opened at `anterior` when known: the full path of the chosen
  // file, or empty when the user cancels.
  std::function<QString(QWidget* padre, const QString& anterior)> elige_fichero;
  // The message box of a failure; returns once the user has closed it.
  std::function<void(QWidget* padre, const QString& titulo, const QString& texto)> avisa_error;
  // Ends the program with `estado` as its exit status.
  std::function<void(int estado)> termina;

  // QFileDialog, a critical QMessageBox, and leaving the event loop with the status.
  static escritorio real();
};

// Sets up the file-open dialog the button shows: open mode, the one filter, its title, and
// `anterior`'s directory as the place to start when it is known.
void prepara_dialogo(QFileDialog& d, const QString& anterior);

// The about box's text: the version and what the window does, in the window's Spanish.
QString texto_acerca();

// A path as the window shows it, with the system's separators.
QString texto_qt(const std::filesystem::path& ruta);
// The path named by a text of the dialog.
std::filesystem::path ruta_de(const QString& texto);

// The main window drawn by Qt: its controls, and the desktop of `escritorio`. What it does
// with them is the formulario's, which the Win32 window shares.
class Form1 final : public QWidget, private controles {
 public:
  // Builds every control at its place and runs Form_Load; the window is not shown yet.
  // Empty members of `e` and a null `fs` take the real desktop and disk.
  explicit Form1(escritorio e = {}, std::unique_ptr<ficheros> fs = nullptr,
                 QWidget* parent = nullptr);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The button: the dialog, then the whole batch of the chosen drawing's directory. A failure
  // is shown in a message box and ends the program with the error's number.
  void Command1_Click() { formulario_->Command1_Click(); }
  // The map preview of the last batch's .bin files.
  void Command2_Click() { formulario_->Command2_Click(); }

  // The behaviour behind the window, and the conversion it runs: their state outlives each
  // batch.
  formulario& comun() noexcept { return *formulario_; }
  conversor& conv() noexcept { return formulario_->conv(); }

  // Public, as a form's controls are, so that tests can look at them and press the button.
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;   // "Ver plano"
  QLabel* Label2 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* Text3 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QCheckBox* Check1 = nullptr;   // also every kind of tipos_a_peticion
  QCheckBox* Check2 = nullptr;   // the arcs of polylines
  QCheckBox* Check3 = nullptr;   // the blocks drawn where they are placed
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;      // the entities the last drawing left out
  QLabel* Label1 = nullptr;
  // The map preview, once Command2 has opened it.
  VentanaPlano* plano() const noexcept { return plano_; }

 private:
  std::filesystem::path elige_fichero(const std::filesystem::path& anterior) override;
  void pon_texto(control c, const std::string& texto) override;
  void muestra(control c, bool visible) override;
  void habilita(control c, bool activo) override;
  bool marcado(control c) const override;
  void marca(control c, bool marcado) override;
  void puntero_espera(bool activo) override;
  void avisa_error(const std::string& titulo, const std::string& texto) override;
  void termina(int estado) override;
  void abre_plano(const std::vector<std::filesystem::path>& bins) override;

  QWidget* widget(control c) const { return widgets_[static_cast<std::size_t>(c)]; }

  escritorio escritorio_;
  std::unique_ptr<ficheros> fs_;
  std::unique_ptr<formulario> formulario_;
  std::array<QWidget*, num_controles> widgets_{};
  VentanaPlano* plano_ = nullptr;   // a child window: it closes with this one
  bool espera_ = false;   // an override cursor is on
};

}  // namespace tolvar
