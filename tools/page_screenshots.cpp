// page_screenshots OUTDIR: renders the main view and every configuration page, the hidden ones too, to PNG
// files, for looking at the window without clicking through it. Uses NODRA3000_DRIVES and NODRA3000_HOME.
#include <QApplication>
#include <QDir>
#include <QTextCursor>
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
    form.setPageTabShown(i, true);
    form.Page_konfig->setCurrentIndex(i);
    QApplication::processEvents();
    form.grab().save(out.filePath(QStringLiteral("page%1.png").arg(i)));
  }

  // The fixed-length editor with the input file's first line and two marked spans.
  form.Page_konfig->setCurrentIndex(1);
  form.cfg_SK->ChBox_pevna_dl_ISK->setChecked(true);
  form.Btn_cfg_nacitajClick();
  auto select = [&form](int start, int length) {
    QTextCursor c(form.cfg_SK->RE_vstup->document());
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    form.cfg_SK->RE_vstup->setTextCursor(c);
  };
  select(0, 13);
  form.Kodtovaru1Click();
  select(14, 6);
  form.Cena1Click();
  select(21, 4);
  QApplication::processEvents();
  form.grab().save(out.filePath(QStringLiteral("editor.png")));
  return 0;
}
