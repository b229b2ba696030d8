// A program folder for widget tests, and one run of the program in it: its document, its serial
// link and its main window after start-up. `Program` probes only the devices it is told exist; a
// program on the real serial link talks to the simulated radio on a pseudo-terminal.
#pragma once

#include <QAction>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "base/settings_file.h"
#include "comm/port_control.h"
#include "session/session.h"
#include "support/fake_link.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/main_window.h"

namespace tq::testing {

// Makes `home` a program folder past its first start: the shipped default image and settings
// file, the language given, and the port COM3 chosen, standing for `com3`.
inline void PrepareHome(const TempFolder& home, const char* language = "3",
                        const std::string& com3 = "/dev/radio-cable") {
  home.CopyShippedProgramFiles();
  SettingsFile settings(home / kSettingsFileName);
  settings.WriteSetting("Setting", "FirRun", "0");
  settings.WriteSetting("Setting", "Language", language);
  settings.WriteSetting("Setting", "COM", "3");
  settings.WriteSetting("Ports", "COM3", com3);
}

template <typename Link>
class ProgramOn {
 public:
  template <typename... LinkArgs>
  ProgramOn(const std::filesystem::path& home, ScriptedDialogs& dialogs, int locale,
            LinkArgs&&... linkArgs)
      : link(std::forward<LinkArgs>(linkArgs)...),
        doc(home, report),
        port(link, doc.Settings(), report),
        window(doc, port, dialogs, [locale] { return locale; }) {
    window.show();
    started = window.Form_Load();
  }
  ~ProgramOn() { window.hide(); }
  ProgramOn(const ProgramOn&) = delete;
  ProgramOn& operator=(const ProgramOn&) = delete;

  QAction* Action(const char* name) { return window.findChild<QAction*>(name); }
  QString Status(int panel) { return window.StatusText(panel); }

  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Link link;
  Session doc;
  PortControl port;
  ui::MainWindow window;
  bool started = false;
};

class Program : public ProgramOn<DeviceTableLink> {
 public:
  Program(const std::filesystem::path& home, ScriptedDialogs& dialogs, int locale = 0x0409,
          std::set<std::string> devices = {"/dev/radio-cable"})
      : ProgramOn(home, dialogs, locale, std::move(devices)) {}
};

}  // namespace tq::testing
