#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/conversor.h"
#include "core/ficheros.h"
#include "core/vista_conversion.h"

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tolvar {

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

// Sets up the file-open dialog the button shows: open mode, the one filter "Fichero DXF
// (*.dxf)", its title, and `anterior`'s directory as the place to start when it is known.
void prepara_dialogo(QFileDialog& d, const QString& anterior);

// The about box's text: the version and what the window does, in the window's Spanish.
QString texto_acerca();

// A path as the window shows it, with the system's separators.
QString texto_qt(const std::filesystem::path& ruta);
// The path named by a text of the dialog.
std::filesystem::path ruta_de(const QString& texto);

// The main window. Its controls keep their numbered names and are public, as a form's
// controls are, so that tests can look at them and press the button.
class Form1 final : public QWidget, public vista_conversion {
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
  void Command1_Click();

  // The conversion behind the window: its state outlives each batch.
  conversor& conv() noexcept { return *conv_; }

  void muestra_contadores(std::int32_t cont_polyline, std::int32_t cont_point,
                          std::int32_t cont_text) override;
  void muestra_resumen(const contadores& cuentas) override;
  void muestra_ficheros(const std::filesystem::path& bin,
                        const std::filesystem::path& err) override;
  void muestra_fin() override;
  void puntero_espera(bool activo) override;
  bool atributo_activado() const override;

  QPushButton* Command1 = nullptr;
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
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;      // the entities the last drawing left out
  QLabel* Label1 = nullptr;

 private:
  void Form_Load();
  void falla(int numero, const QString& texto);

  escritorio escritorio_;
  std::unique_ptr<ficheros> fs_;
  std::unique_ptr<conversor> conv_;
  bool espera_ = false;   // Qt stacks override cursors; each drawing asks for one
};

}  // namespace tolvar
