// The port dialog over a settings file that maps ports to fake devices; only the devices the
// link is told about open, so no port of the machine is ever touched.
#include "ui/port_dialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "comm/port_control.h"
#include "session/session.h"
#include "support/fake_link.h"
#include "support/program.h"
#include "support/temp_folder.h"

namespace tq::ui {
namespace {

using tq::testing::DeviceTableLink;
using tq::testing::TempFolder;

class PortDialogTest : public ::testing::Test {
 protected:
  // Makes the folder a program folder with the language and port given and starts the
  // document. COM3 and COM12 stand for devices that are present, COM5 for one that is not.
  bool StartUp(const char* language = "3", const char* comPort = "3") {
    tq::testing::PrepareHome(home, language, "/dev/radio-a");
    SettingsFile settings(home / kSettingsFileName);
    settings.WriteSetting("Setting", "COM", comPort);
    settings.WriteSetting("Ports", "COM5", "/dev/radio-gone");
    settings.WriteSetting("Ports", "COM12", "/dev/radio-b");
    return doc.StartUp();
  }

  std::string SettingsBytes() const { return TempFolder::Read(home / kSettingsFileName); }
  std::string StoredPort() const { return doc.Settings().ReadSetting("Setting", "COM", "", 9); }

  static QPushButton* Button(const PortDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
  }

  // Every control is at least as large as its text needs.
  static void ExpectNothingClipped(const PortDialog& dialog) {
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
      if (!widget->isVisible()) continue;
      const QSize need = widget->minimumSizeHint().expandedTo(widget->sizeHint());
      EXPECT_GE(widget->width(), need.width()) << widget->objectName().toStdString();
      EXPECT_GE(widget->height(), widget->minimumSizeHint().height())
          << widget->objectName().toStdString();
    }
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc{home.path(), report};
  DeviceTableLink link{std::set<std::string>{"/dev/radio-a", "/dev/radio-b"}};
  PortControl port{link, doc.Settings(), report};
};

TEST_F(PortDialogTest, OpeningProbesEveryPortAndOffersOnlyThoseThatOpen) {
  ASSERT_TRUE(StartUp());
  PortDialog dialog(doc, port);
  dialog.show();
  EXPECT_EQ(dialog.objectName(), "frmToolCom");
  EXPECT_TRUE(dialog.isModal());

  // One control array of sixteen buttons, each with the device it stands for beside it: COM3,
  // COM5 and COM12 as the settings file maps them, the others from the default table.
  const QList<QRadioButton*>& buttons = dialog.buttons();
  ASSERT_EQ(buttons.size(), 16);
  const QList<QLabel*> devices = dialog.findChildren<QLabel*>("lblDevice");
  ASSERT_EQ(devices.size(), 16);
  std::vector<int> enabled;
  std::vector<std::string> shown;
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(buttons[i]->text(), QString("COM%1").arg(i + 1));
    shown.push_back(devices[i]->text().toStdString());
    if (buttons[i]->isEnabled()) enabled.push_back(i + 1);
  }
  EXPECT_EQ(shown[2] + " " + shown[4] + " " + shown[11],
            "/dev/radio-a /dev/radio-gone /dev/radio-b");
  EXPECT_EQ(shown[0], DefaultPortDevice(1));
  EXPECT_EQ(enabled, (std::vector<int>{3, 12}));
  EXPECT_TRUE(buttons[2]->isChecked());
  // The probe went through the ports in order and left none open.
  EXPECT_EQ(link.opened, shown);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(report.lines().empty());
  EXPECT_FALSE(dialog.findChild<QLabel*>("lblNoPort")->isVisible());
}

TEST_F(PortDialogTest, WithNoUsablePortTheDialogSaysWhy) {
  ASSERT_TRUE(StartUp());
  DeviceTableLink none{std::set<std::string>{}};
  PortControl nowhere{none, doc.Settings(), report};
  {
    PortDialog dialog(doc, nowhere);
    dialog.show();
    const QLabel* why = dialog.findChild<QLabel*>("lblNoPort");
    EXPECT_TRUE(why->isVisible());
    EXPECT_EQ(why->text(),
              "No port could be opened. None of the 16 ports' devices exists: plug in the "
              "programming cable, or map a port to its device in section [Ports] of TQ474.ini "
              "(COM1=/dev/ttyUSB0).");
  }
  // A device that exists but may not be opened is the reason given, with its group hint.
  none.refused["/dev/ttyUSB1"] = {err::kDeviceUnavailable, "/dev/ttyUSB1: error 16, busy"};
  none.refused["/dev/radio-b"] = {err::kPermissionDenied,
                                  "/dev/radio-b: error 13, Permission denied; the user needs to be "
                                  "in the group \"dialout\""};
  PortDialog dialog(doc, nowhere);
  dialog.show();
  EXPECT_EQ(dialog.findChild<QLabel*>("lblNoPort")->text(),
            "No port could be opened. /dev/radio-b: error 13, Permission denied; the user needs to "
            "be in the group \"dialout\"");
}

// The texts and font of the language, the port captions untranslated, and nothing clipped.
TEST_F(PortDialogTest, ShowsTheLanguagesTextsAndFontUnclipped) {
  for (const auto& [language, title, font] :
       {std::tuple{"3", "Communication Port", "Times New Roman"},
        std::tuple{"1", "通信端口设置", "宋体"},
        std::tuple{"2", "序列埠設定", "Times New Roman"}}) {
    ASSERT_TRUE(StartUp(language));
    PortDialog dialog(doc, port);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(title));
    EXPECT_EQ(dialog.buttons()[15]->text(), "COM16") << "the port captions are not translated";
    EXPECT_EQ(dialog.buttons()[15]->font().families().value(0), QString::fromUtf8(font));
    EXPECT_EQ(Button(dialog, "cmdOk")->font().families().value(0), QString::fromUtf8(font));
    ExpectNothingClipped(dialog);
  }
}

TEST_F(PortDialogTest, OkStoresTheClickedPort) {
  ASSERT_TRUE(StartUp());
  PortDialog dialog(doc, port);
  dialog.show();
  const QList<QRadioButton*>& buttons = dialog.buttons();
  QTest::mouseClick(buttons[0], Qt::LeftButton);
  EXPECT_TRUE(buttons[2]->isChecked()) << "a port that did not open cannot be chosen";
  QTest::mouseClick(buttons[11], Qt::LeftButton);
  EXPECT_TRUE(buttons[11]->isChecked());
  EXPECT_FALSE(buttons[2]->isChecked());
  EXPECT_EQ(StoredPort(), "3") << "nothing is stored before OK";

  QTest::mouseClick(Button(dialog, "cmdOk"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(doc.ComPort(), 12);
  EXPECT_EQ(StoredPort(), "12");
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(PortDialogTest, OkWithoutAnotherChoiceKeepsTheOpeningPort) {
  // COM5 stands for a device that is not there: its button is selected but unavailable.
  ASSERT_TRUE(StartUp("3", "5"));
  {
    PortDialog dialog(doc, port);
    EXPECT_TRUE(dialog.buttons()[4]->isChecked());
    EXPECT_FALSE(dialog.buttons()[4]->isEnabled());
    dialog.cmdOk_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  EXPECT_EQ(doc.ComPort(), 5);
  EXPECT_EQ(StoredPort(), "5");

  // A port outside 1 to 16 selects no button; OK keeps it and stores it as it is.
  doc.SetPort(17);
  PortDialog dialog(doc, port);
  EXPECT_EQ(dialog.buttons()[0]->group()->checkedId(), -1);
  dialog.cmdOk_Click();
  EXPECT_EQ(doc.ComPort(), 17);
  EXPECT_EQ(StoredPort(), "17");
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(PortDialogTest, CancelEscapeAndCloseGiveBackTheOpeningPortAndWriteNothing) {
  ASSERT_TRUE(StartUp());
  const std::string before = SettingsBytes();
  const std::pair<const char*, void (*)(PortDialog&)> ways[] = {
      {"Cancel", [](PortDialog& d) { QTest::mouseClick(Button(d, "cmdCancel"), Qt::LeftButton); }},
      {"Escape", [](PortDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
      {"close button", [](PortDialog& d) { d.close(); }},
  };
  for (const auto& [name, leave] : ways) {
    PortDialog dialog(doc, port);
    dialog.show();
    QTest::mouseClick(dialog.buttons()[11], Qt::LeftButton);
    ASSERT_TRUE(dialog.buttons()[11]->isChecked()) << name;
    // Something else moved the port while the dialog was open.
    doc.SetPort(9);
    leave(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << name;
    EXPECT_FALSE(dialog.isVisible()) << name;
    EXPECT_EQ(doc.ComPort(), 3) << name;
    EXPECT_EQ(SettingsBytes(), before) << name;
  }
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(PortDialogTest, ASettingsFileThatCannotBeWrittenIsReported) {
  ASSERT_TRUE(StartUp());
  PortDialog dialog(doc, port);
  dialog.show();
  QTest::mouseClick(dialog.buttons()[11], Qt::LeftButton);
  // A folder in the settings file's place makes the write fail.
  std::filesystem::remove(home / kSettingsFileName);
  std::filesystem::create_directory(home / kSettingsFileName);

  QTest::mouseClick(Button(dialog, "cmdOk"), Qt::LeftButton);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find("frmToolCom->cmdOk_Click"), std::string::npos)
      << report.lines()[1];
  EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open after a failed write";
  EXPECT_EQ(doc.ComPort(), 12) << "the port was set before the write";

  QTest::mouseClick(Button(dialog, "cmdCancel"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(doc.ComPort(), 3);
}

}  // namespace
}  // namespace tq::ui
