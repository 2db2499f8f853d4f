// bare_qapplication: constructs a QApplication and exits, the start-up a batch run is measured against.
#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}
