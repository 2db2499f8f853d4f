// page_screenshots OUTDIR: renders the main view and every configuration page, the hidden ones too, to PNG
// files, for looking at the window without clicking through it. Uses NODRA3000_DRIVES and NODRA3000_HOME.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "app/form_nodra.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: page_screenshots OUTDIR\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  nodra::StartOptions options;
  options.executable = QApplication::applicationFilePath().toStdString();
  options.headless = false;
  nodra::TForm_nodra form(options);
  nodra::FormUi::setResponder([](const nodra::Message& m) { return m.defaultAnswer; });
  form.FormCreate();
  form.show();
  QApplication::processEvents();
  form.grab().save(out.filePath(QStringLiteral("main.png")));
  form.Btn_konfiguraciaClick();
  for (int i = 0; i < form.Page_konfig->count(); ++i) {
    form.Page_konfig->setTabVisible(i, true);
    form.Page_konfig->setCurrentIndex(i);
    QApplication::processEvents();
    form.grab().save(out.filePath(QStringLiteral("page%1.png").arg(i)));
  }
  return 0;
}
