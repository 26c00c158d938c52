// The floor for start-up and memory: an empty Qt Widgets window of the main window's size,
// started and painted on the same platform plugin as the program.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(293, 251);
  window.show();
  return app.exec();
}
