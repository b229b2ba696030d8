// One run of the program for widget tests: its folder, its document, a port probe that only
// sees the devices named, and its main window after start-up.
#pragma once

#include <QAction>
#include <filesystem>
#include <set>
#include <string>

#include "comm/port_control.h"
#include "files/document.h"
#include "support/fake_link.h"
#include "support/scripted_dialogs.h"
#include "ui/main_window.h"

namespace tq::testing {

class Program {
 public:
  Program(const std::filesystem::path& home, ScriptedDialogs& dialogs, int locale = 0x0409,
          std::set<std::string> devices = {"/dev/radio-cable"})
      : link(std::move(devices)),
        doc(home, report),
        port(link, doc.settings, report),
        window(doc, port, dialogs, [locale] { return locale; }) {
    window.show();
    started = window.Form_Load();
  }
  ~Program() { window.hide(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  QAction* Action(const char* name) { return window.findChild<QAction*>(name); }
  QString Status(int panel) { return window.StatusText(panel); }

  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  DeviceTableLink link;
  Document doc;
  PortControl port;
  ui::MainWindow window;
  bool started = false;
};

}  // namespace tq::testing
