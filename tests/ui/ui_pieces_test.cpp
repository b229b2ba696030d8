// Widget tests of the small windows the main window uses: toolbar icons, about box, error list,
// settings tree and radio information window. They need a QApplication (offscreen platform).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "base/error_report.h"
#include "base/text_table.h"
#include "ui/about_box.h"
#include "ui/error_list.h"
#include "ui/icons.h"
#include "ui/radio_info.h"
#include "ui/session_signals.h"
#include "ui/tree_view.h"

namespace {

using tq::ui::AboutBox;
using tq::ui::ErrorListWindow;
using tq::ui::RadioInfoWindow;
using tq::ui::TreeViewWindow;

template <typename T>
T* Child(const QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(QLatin1String(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

QString LabelText(const QObject& parent, const char* name) {
  const QLabel* label = Child<QLabel>(parent, name);
  return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

bool HasPaint(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) != 0) return true;
    }
  }
  return false;
}

// --- Toolbar icons ---------------------------------------------------------------------------

const char* const kToolbarKeys[] = {"FileNew", "FileOpen", "FileSave", "Read", "Write",
                                    "Com",     "Print",    "Help",     "Exit"};

TEST(ToolbarIcon, EveryKeyHasItsOwnPictureAtFourSizes) {
  std::vector<QImage> pictures;
  for (const char* key : kToolbarKeys) {
    const QIcon icon = tq::ui::ToolbarIcon(QLatin1String(key));
    ASSERT_FALSE(icon.isNull()) << key;
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes.size(), 4) << key;
    for (const int size : {16, 24, 32, 48}) {
      EXPECT_TRUE(sizes.contains(QSize(size, size))) << key << " " << size;
      EXPECT_TRUE(HasPaint(icon.pixmap(size, size).toImage())) << key << " " << size;
    }
    pictures.push_back(icon.pixmap(48, 48).toImage());
  }
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    for (std::size_t j = i + 1; j < pictures.size(); ++j) {
      EXPECT_NE(pictures[i], pictures[j]) << kToolbarKeys[i] << " and " << kToolbarKeys[j];
    }
  }
}

TEST(ToolbarIcon, UnknownKeysGiveNullIcons) {
  for (const char* key : {"", "fileNew", "FileNew ", "Spacer", "Save"}) {
    EXPECT_TRUE(tq::ui::ToolbarIcon(QLatin1String(key)).isNull()) << "'" << key << "'";
  }
}

// --- About box -------------------------------------------------------------------------------

// Each language's texts in the interface font; a language value outside 1 to 3 keeps the design
// texts.
TEST(AboutBox, ShowsTheTextsOfItsLanguageInTheInterfaceFont) {
  const std::tuple<int16_t, const char*, const char*, const char*> cases[] = {
      {1, "关于", "TQ-474对讲机编程软件", ""},
      {2, "關於", "TQ-474對講機編程軟體", ""},
      {3, "About", "TQ-474 Radio Programming Software", ""},
      {0, "About", "TQ-474 Radio Programming Software", "TQ-474 programming tool"}};
  for (const auto& [language, caption, title, description] : cases) {
    const AboutBox box(language, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8(caption)) << language;
    EXPECT_EQ(LabelText(box, "lblTitle"), QString::fromUtf8(title)) << language;
    EXPECT_EQ(LabelText(box, "lblDescription"), QString::fromUtf8(description)) << language;
    for (const char* name : {"lblTitle", "cmdOk", "lblUseRange", "lblVersion", "lblRelease",
                             "lblDescription", "lblRights"}) {
      const QWidget* widget = Child<QWidget>(box, name);
      ASSERT_NE(widget, nullptr);
      EXPECT_EQ(widget->font().family(), QStringLiteral("Liberation Serif")) << name;
    }
  }
}

TEST(AboutBox, OkClosesIt) {
  AboutBox box(3, QString());
  box.show();
  ASSERT_TRUE(box.isVisible());
  QTest::mouseClick(Child<QPushButton>(box, "cmdOk"), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

// --- Error list ------------------------------------------------------------------------------

TEST(ErrorListWindow, ShowsEarlierLinesAndFollowsNewOnes) {
  tq::ErrorReport report([] { return std::string("2026-01-02 03:04:05"); });
  tq::Session session(std::filesystem::temp_directory_path(), report);
  tq::ui::SessionSignals notices(session);
  report.ShowErrLine("mdifrmMain->Form_Load", 53, "settings");

  auto window = std::make_unique<ErrorListWindow>(report, notices, QStringLiteral("提示"));
  EXPECT_EQ(window->objectName(), QStringLiteral("frmShowErr"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("提示"));
  QListWidget* list = Child<QListWidget>(*window, "listShowErr");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(list->currentRow(), 1);
  // Building the window keeps the report's line index where the earlier lines left it.
  EXPECT_EQ(report.ErrLine(), 2);

  report.ShowErrLine("modCommun->OpenCom", 57, "port");
  ASSERT_EQ(list->count(), 4);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(list->item(row)->text().toStdString(), report.lines()[static_cast<size_t>(row)]);
  }
  EXPECT_EQ(list->currentRow(), 3);
  EXPECT_TRUE(list->item(3)->isSelected());
  EXPECT_FALSE(list->item(1)->isSelected());

  // Once the window is gone the report goes on without it.
  window.reset();
  report.ShowOptErrLine("note");
  EXPECT_EQ(report.lines().size(), 6u);
}

// --- Settings tree ---------------------------------------------------------------------------

// Four entries under an expanded root; a click on an entry that opens a view emits its key.
TEST(TreeViewWindow, ShowsItsEntriesAndAClickEmitsTheKeyOfAView) {
  EXPECT_EQ(TreeViewWindow(tq::SoftFace::Build(1))
                .findChild<QTreeWidget*>("treevMain")
                ->topLevelItem(0)
                ->text(0),
            QStringLiteral("TQ-474"));
  TreeViewWindow window(tq::SoftFace::Build(3));
  QTreeWidget* tree = Child<QTreeWidget>(window, "treevMain");
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_TRUE(root->isExpanded());
  ASSERT_EQ(root->childCount(), 3);
  QList<QTreeWidgetItem*> items = {root, root->child(0), root->child(1), root->child(2)};
  QStringList texts;
  for (QTreeWidgetItem* item : items) texts << item->text(0);
  EXPECT_EQ(texts, QStringList({"TQ-621", "Radio Info", "Channel Info", "Optional Features"}));

  window.resize(240, 300);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QSignalSpy opened(&window, &TreeViewWindow::nodeOpened);
  for (QTreeWidgetItem* item : items) {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }
  QStringList keys;
  for (const QList<QVariant>& signal : opened) keys << signal.at(0).toString();
  EXPECT_EQ(keys, QStringList({"RadioInfo", "ChInfo", "SysSet"})) << "the root opens nothing";
}

// --- Radio information -----------------------------------------------------------------------

TEST(RadioInfoWindow, CaptionsInBothLanguagesAndReadOnlyValues) {
  const RadioInfoWindow english(tq::SoftFace::Build(3));
  EXPECT_EQ(english.windowTitle(), QStringLiteral("TQ-621"));
  EXPECT_EQ(LabelText(english, "lblLastPc"), QStringLiteral("Write Data Last Time"));
  EXPECT_EQ(LabelText(english, "lblDebug"), QString()) << "the debug switch shows nothing";
  const RadioInfoWindow chinese(tq::SoftFace::Build(1));
  EXPECT_EQ(LabelText(chinese, "lblLastPc"), QStringLiteral("上次写频时间"));

  for (const char* name : {"txtModel", "txtRange", "txtSoftVer", "txtLastPc"}) {
    EXPECT_TRUE(Child<QLineEdit>(english, name)->isReadOnly()) << name;
  }
}

TEST(RadioInfoWindow, ShowRadioFillsTheValueFields) {
  RadioInfoWindow window(tq::SoftFace::Build(3));
  EXPECT_EQ(RadioInfoWindow::RangeText(13600000, 17400000),
            QStringLiteral("136.00000 - 174.00000MHz"));
  EXPECT_EQ(RadioInfoWindow::RangeText(13600001, 52000000),
            QStringLiteral("136.00001 - 520.00000MHz"));

  window.ShowRadio(QStringLiteral("TQ-474"), QStringLiteral("245.00000 - 246.00000MHz"),
                   QStringLiteral("2026-07-05 09:41"));
  EXPECT_EQ(Child<QLineEdit>(window, "txtModel")->text(), QStringLiteral("TQ-474"));
  EXPECT_EQ(Child<QLineEdit>(window, "txtRange")->text(),
            QStringLiteral("245.00000 - 246.00000MHz"));
  EXPECT_EQ(Child<QLineEdit>(window, "txtLastPc")->text(), QStringLiteral("2026-07-05 09:41"));
  EXPECT_EQ(Child<QComboBox>(window, "cboRange")->currentIndex(), 1);

  window.ShowRadio(QStringLiteral("TQ-474"), QStringLiteral("136.00000 - 174.00000MHz"), {});
  EXPECT_EQ(Child<QComboBox>(window, "cboRange")->currentText(), QStringLiteral("Custom"));
}

TEST(RadioInfoWindow, FrameOpensTheMemoryWindowOnlyWhileTheDebugSwitchIsOn) {
  RadioInfoWindow window(tq::SoftFace::Build(3));
  window.show();
  // Double clicks reach the widget under the pointer, so the window must be laid out first.
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QGroupBox* frame = Child<QGroupBox>(window, "fraMain");
  QLabel* debug = Child<QLabel>(window, "lblDebug");
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(debug, nullptr);
  QSignalSpy requested(&window, &RadioInfoWindow::memoryWindowRequested);

  QTest::mouseDClick(frame, Qt::LeftButton);
  EXPECT_EQ(requested.count(), 0) << "the switch is off";

  QTest::mouseDClick(debug, Qt::LeftButton);
  EXPECT_EQ(window.debugFlag(), -1);
  EXPECT_EQ(requested.count(), 0);  // the switch itself lies in the frame but opens nothing
  QTest::mouseDClick(frame, Qt::LeftButton);
  EXPECT_EQ(requested.count(), 1);

  QTest::mouseDClick(debug, Qt::LeftButton);
  EXPECT_EQ(window.debugFlag(), 0);
  QTest::mouseDClick(frame, Qt::LeftButton);
  EXPECT_EQ(requested.count(), 1);
}

}  // namespace
