// tolvar: the converter's window. Closing the window ends the program; a failed conversion
// ends it with the error's number as its status, once its message box is closed.
#include <QApplication>
#include <QStyleFactory>

#include "ui/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tolvar"));
  // Fusion draws a button's face in its palette colour on every system; the native Windows
  // style ignores it.
  if (QStyle* estilo = QStyleFactory::create(QStringLiteral("Fusion")))
    QApplication::setStyle(estilo);
  tolvar::Form1 ventana;
  ventana.show();
  return QApplication::exec();
}
