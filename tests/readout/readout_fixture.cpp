#include "readout_fixture.h"

namespace nodra::testing {

namespace fs = std::filesystem;

ReadOutTest::ReadOutTest() {
  writeFile(card("CONFIG/NODRA3000.ini"), "[GLOBAL]\r\n");
  fs::create_directories(card("DATA"));
  fs::create_directories(program());
  settings = LocalSettings::defaults(exeFolder());
  volumes = std::make_unique<FolderListSource>(oneDrive(card()));
}

std::string ReadOutTest::exeFolder() const { return program().string(); }

ReadOutContext& ReadOutTest::context() {
  if (!context_) {
    session_ = std::make_unique<TerminalSession>(TerminalSession{ui, *volumes, std::nullopt});
    context_ = std::make_unique<ReadOutContext>(
        ReadOutContext{*session_, settings, exeFolder(), [this] { ++terminalSettingsReads; }});
    // As after the command's own detection, but without telling anyone: the commands detect again themselves.
    session_->drive = DetectTerminal(*volumes).drive;
  }
  return *context_;
}

}  // namespace nodra::testing
