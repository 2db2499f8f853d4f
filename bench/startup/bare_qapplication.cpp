// The start-up's yardstick: what Qt alone costs a program that builds its application object and ends.
#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  return 0;
}
