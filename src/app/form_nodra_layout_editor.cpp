// The fixed-length input layout editor: the input file's first line as a sample, spans selected with the mouse
// and marked through the context menu in their field's colour.
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "fill/sample_line.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"

namespace nodra {

namespace {
const QColor kUnmarked(128, 128, 128);
const QColor kFieldColours[] = {QColor(0, 0, 128), QColor(0, 128, 0), QColor(128, 0, 128), QColor(0, 0, 255)};

void colour(QTextCursor cursor, const QColor& c) {
  QTextCharFormat f;
  f.setForeground(c);
  f.setFontUnderline(true);
  cursor.mergeCharFormat(f);
}

int sampleLength(const QTextEdit* box) { return box->document()->firstBlock().length() - 1; }
}  // namespace

void TForm_nodra::connectLayoutEditor() {
  ImportExportPage* p = cfg_SK;
  p->RE_vstup->onMouseDown = [this] { RE_vstupMouseDown(); };
  connect(p->Btn_cfg_nacitaj, &QPushButton::clicked, this, &TForm_nodra::Btn_cfg_nacitajClick);
  p->UpDown_in->onStep = [this] { UpDown_inClick(); };
  connect(p->RE_vstup, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu1Popup();
    cfg_SK->PopupMenu1->exec(cfg_SK->RE_vstup->viewport()->mapToGlobal(at));
  });
  connect(p->Kodtovaru1, &QAction::triggered, this, &TForm_nodra::Kodtovaru1Click);
  connect(p->Cena1, &QAction::triggered, this, &TForm_nodra::Cena1Click);
  connect(p->Pocet1, &QAction::triggered, this, &TForm_nodra::Pocet1Click);
  connect(p->Nazovtovaru1, &QAction::triggered, this, &TForm_nodra::Nazovtovaru1Click);
  connect(p->Reset1, &QAction::triggered, this, &TForm_nodra::Reset1Click);
}

void TForm_nodra::Btn_cfg_nacitajClick() {
  FileError error;
  std::optional<std::string> sample = readSampleLine(FilePlace::onPc(toFsPath(settings.path_ins)), error);
  if (!sample) {
    reportFailure("Cannot open file \"" + settings.path_ins + "\". " + reasonText(error));
    return;
  }
  const std::string& line = *sample;
  SampleLineBox* box = cfg_SK->RE_vstup;
  box->clear();
  box->setPlainText(qs(line));
  QTextCursor all(box->document());
  all.select(QTextCursor::Document);
  colour(all, kUnmarked);
  box->setTextCursor(QTextCursor(box->document()));
  fieldMarked = {};
}

void TForm_nodra::RE_vstupMouseDown() {
  SampleLineBox* box = cfg_SK->RE_vstup;
  QTextCursor cursor = box->textCursor();
  if (!cursor.hasSelection()) {
    const int start = cursor.position();
    const int length = std::min(cfg_SK->UpDown_in->value(), sampleLength(box) - start);
    cursor.setPosition(start);
    cursor.setPosition(start + std::max(length, 0), QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
  }
  const int selected = box->textCursor().selectionEnd() - box->textCursor().selectionStart();
  cfg_SK->UpDown_in->setValue(selected);
}

void TForm_nodra::UpDown_inClick() {
  ImportExportPage* p = cfg_SK;
  QTextCursor cursor = p->RE_vstup->textCursor();
  const int start = cursor.selectionStart();
  cursor.setPosition(start);
  cursor.setPosition(std::min(start + p->UpDown_in->value(), sampleLength(p->RE_vstup)), QTextCursor::KeepAnchor);
  p->RE_vstup->setTextCursor(cursor);
  p->RE_vstup->viewport()->repaint();
}

bool TForm_nodra::PopupMenu1Popup() {
  ImportExportPage* p = cfg_SK;
  const QTextCursor selection = p->RE_vstup->textCursor();
  std::optional<QColor> seen;
  bool uniform = true;
  for (int pos = selection.selectionStart(); pos < selection.selectionEnd(); ++pos) {
    QTextCursor one(p->RE_vstup->document());
    one.setPosition(pos + 1);
    const QColor c = one.charFormat().foreground().color();
    if (seen && *seen != c) uniform = false;
    seen = c;
  }
  if (!uniform) {
    ui_->message(warningMessage("Vybraný text sa prekrýva s predchádzajúcim výberom", "!!! Chyba !!!"));
    return false;
  }
  QAction* items[] = {p->Kodtovaru1, p->Cena1, p->Pocet1, p->Nazovtovaru1};
  const char* captions[] = {"Kod tovaru (", "Cena (", "Pocet (", "Nazov tovaru ("};
  const int lengths[] = {settings.KOD_dlzka, settings.CEN_dlzka, settings.POC_dlzka, settings.NAZ_dlzka};
  // An empty selection is no span: its field items stay disabled until characters are selected.
  const bool selected = selection.hasSelection();
  for (std::size_t i = 0; i < 4; ++i) {
    items[i]->setEnabled(selected && !fieldMarked[i]);
    items[i]->setText(qs(captions[i]) + QString::number(lengths[i]) + QLatin1Char(')'));
  }
  p->Reset1->setEnabled(true);
  return true;
}

void TForm_nodra::markField(std::size_t field) {
  ImportExportPage* p = cfg_SK;
  if (!p->RE_vstup->textCursor().hasSelection()) return;
  QAction* items[] = {p->Kodtovaru1, p->Cena1, p->Pocet1, p->Nazovtovaru1};
  fieldMarked[field] = true;
  items[field]->setEnabled(false);
  const QTextCursor selection = p->RE_vstup->textCursor();
  colour(selection, kFieldColours[field]);
  const int start = selection.selectionStart();
  const int length = selection.selectionEnd() - start;
  int* spans[][2] = {{&settings.KOD_zac, &settings.KOD_dlzka},
                     {&settings.CEN_zac, &settings.CEN_dlzka},
                     {&settings.POC_zac, &settings.POC_dlzka},
                     {&settings.NAZ_zac, &settings.NAZ_dlzka}};
  *spans[field][1] = length;
  *spans[field][0] = start;
}

void TForm_nodra::Kodtovaru1Click() { markField(0); }
void TForm_nodra::Cena1Click() { markField(1); }
void TForm_nodra::Pocet1Click() { markField(2); }
void TForm_nodra::Nazovtovaru1Click() { markField(3); }

void TForm_nodra::Reset1Click() {
  ImportExportPage* p = cfg_SK;
  fieldMarked = {};
  QTextCursor all(p->RE_vstup->document());
  all.select(QTextCursor::Document);
  colour(all, kUnmarked);
  p->RE_vstup->setTextCursor(all);
  int length = 0;
  try {
    length = strToInt(fromQs(p->Edit1->text()));
  } catch (const ConvertError& e) {
    reportFailure(e.what());
    return;
  }
  (void)length;  // the caret goes to the start with nothing selected, so the length only matters for the check
  p->RE_vstup->setTextCursor(QTextCursor(p->RE_vstup->document()));
  settings.KOD_zac = settings.KOD_dlzka = 0;
  settings.NAZ_zac = settings.NAZ_dlzka = 0;
  settings.CEN_zac = settings.CEN_dlzka = 0;
  settings.POC_zac = settings.POC_dlzka = 0;
}

}  // namespace nodra
