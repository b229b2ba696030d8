#include "ui/channel_commands.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>

#include "base/error_report.h"
#include "base/file_io.h"
#include "base/message_numbers.h"
#include "editor/channel_csv.h"
#include "session/channel_import.h"
#include "session/session.h"
#include "ui/channel_grid_view.h"
#include "ui/dialogs.h"
#include "ui/session_signals.h"

namespace tq::ui {
namespace {

constexpr const char* kCsvFilter = "CHIRP CSV (*.csv)";

// The commands' own texts, by language: simplified Chinese, traditional Chinese, English.
struct OwnText {
  const char* simplified;
  const char* traditional;
  const char* english;
};
constexpr OwnText kImportTitle = {"导入信道", "匯入頻道", "Import Channels"};
constexpr OwnText kNotAList = {"这个文件不是信道表：", "這個檔案不是頻道表：",
                               "This file is not a channel list: "};
constexpr OwnText kPasteRefused = {"剪贴板中没有信道：", "剪貼簿中沒有頻道：",
                                   "The clipboard holds no channels: "};
constexpr OwnText kSomeRefused = {"有些行没有导入，原因见错误列表。",
                                  "有些行沒有匯入，原因見錯誤列表。",
                                  "Some rows were not taken; the error list says why."};
constexpr OwnText kExportFailed = {"无法写入信道表：", "無法寫入頻道表：",
                                   "The channel list could not be written: "};

QString Own(const OwnText& text, int16_t language) {
  return QString::fromUtf8(language == kLangSimplifiedChinese    ? text.simplified
                           : language == kLangTraditionalChinese ? text.traditional
                                                                 : text.english);
}

}  // namespace

ChannelCommands::ChannelCommands(Session& session, SessionSignals& notices, ChannelGridView& grid,
                                 Dialogs& dialogs, QWidget* window, const Actions& actions)
    : QObject(window),
      session_(session),
      grid_(grid),
      dialogs_(dialogs),
      window_(window),
      actions_(actions) {
  connect(actions_.undo, &QAction::triggered, this, &ChannelCommands::Undo);
  connect(actions_.redo, &QAction::triggered, this, &ChannelCommands::Redo);
  connect(actions_.cut, &QAction::triggered, this, &ChannelCommands::Cut);
  connect(actions_.copy, &QAction::triggered, this, &ChannelCommands::Copy);
  connect(actions_.paste, &QAction::triggered, this, &ChannelCommands::Paste);
  connect(actions_.moveUp, &QAction::triggered, this, [this] { Move(-1); });
  connect(actions_.moveDown, &QAction::triggered, this, [this] { Move(1); });
  connect(actions_.importChannels, &QAction::triggered, this, &ChannelCommands::ImportChannels);
  connect(actions_.exportChannels, &QAction::triggered, this, &ChannelCommands::ExportChannels);
  for (auto signal : {&SessionSignals::historyChanged, &SessionSignals::dataReplaced}) {
    connect(&notices, signal, this, &ChannelCommands::UpdateEntries);
  }
  connect(&notices, &SessionSignals::lockChanged, this, &ChannelCommands::UpdateEntries);
  // Ctrl+Shift+Z redoes as well.
  actions_.redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  grid_.SetEditActions({actions_.undo, actions_.redo, nullptr, actions_.cut, actions_.copy,
                        actions_.paste, nullptr, actions_.moveUp, actions_.moveDown});
  UpdateEntries();
}

int ChannelCommands::Channel() const {
  return grid_.CommandChannel();
}

QString ChannelCommands::Text(int number) const {
  return QString::fromStdString(TextOrEnglish(session_.Texts(), number));
}

void ChannelCommands::Tell(const QString& text, bool failed) {
  dialogs_.Tell(window_, Text(msg::kNotice), text,
                failed ? QMessageBox::Critical : QMessageBox::Information);
}

void ChannelCommands::UpdateEntries() {
  const bool locked = session_.Locked();
  actions_.undo->setEnabled(!locked && session_.CanUndo());
  actions_.redo->setEnabled(!locked && session_.CanRedo());
  for (QAction* edit : {actions_.cut, actions_.paste, actions_.moveUp, actions_.moveDown,
                        actions_.importChannels}) {
    edit->setEnabled(!locked);
  }
}

void ChannelCommands::Undo() {
  if (session_.Locked()) return;
  grid_.CommitOpenEdits();
  session_.Undo();
  grid_.Sync();
}

void ChannelCommands::Redo() {
  if (session_.Locked()) return;
  grid_.CommitOpenEdits();
  session_.Redo();
  grid_.Sync();
}

void ChannelCommands::Copy() {
  grid_.CommitOpenEdits();
  const std::string csv = ChannelsToCsv(session_, ReadCsvMapping(session_.Settings()), {Channel()});
  QGuiApplication::clipboard()->setText(QString::fromStdString(csv));
}

void ChannelCommands::Cut() {
  if (session_.Locked()) return;
  Copy();
  grid_.grid().DeleteChannels({Channel()});
  grid_.Sync();
}

void ChannelCommands::Paste() {
  if (session_.Locked()) return;
  grid_.CommitOpenEdits();
  const std::string text = QGuiApplication::clipboard()->text().toStdString();
  CsvRows rows = ParseChannelCsv(text, session_, ReadCsvMapping(session_.Settings()));
  if (!rows.readable || rows.channels.empty()) {
    Tell(Own(kPasteRefused, session_.Language()) + QString::fromStdString(rows.why), true);
    return;
  }
  PasteCsvChannels(grid_.grid(), session_, rows, Channel());
  grid_.Sync();
  bool refused = false;
  for (const CsvProblem& problem : rows.problems) {
    session_.Report().ShowNoteLine("mdifrmMain->mnuPaste_Click",
                                   CsvProblemText("clipboard", problem));
    refused = refused || problem.refused;
  }
  if (refused) Tell(Own(kSomeRefused, session_.Language()), false);
}

void ChannelCommands::Move(int delta) {
  if (session_.Locked()) return;
  grid_.CommitOpenEdits();
  grid_.grid().MoveChannel(Channel(), delta);
  grid_.Sync();
}

void ChannelCommands::ImportChannels() {
  if (session_.Locked()) return;
  session_.Report().Guard("mdifrmMain->mnuImportChannels_Click", [this] {
    const QString chosen = dialogs_.OpenFileName(
        window_,
        QDir::toNativeSeparators(
            QString::fromStdString(session_.CurrentDataPath().parent_path().string())),
        kCsvFilter);
    if (chosen.isEmpty()) return;
    grid_.CommitOpenEdits();
    const std::vector<uint8_t> bytes =
        ReadFileBytes(chosen.toStdString(), kCsvMaxBytes + 1, "ImportChannels");
    const std::string text(bytes.begin(), bytes.end());
    const int16_t language = session_.Language();
    const ImportPlan plan = PlanImport(session_, text);
    if (!plan.readable || plan.channels == 0) {
      std::string why = plan.why;
      for (const CsvProblem& problem : plan.problems) {
        why += (why.empty() ? "" : "\n") + CsvProblemText(chosen.toStdString(), problem);
      }
      Tell(Own(kNotAList, language) + QString::fromStdString(why), true);
      return;
    }
    if (!dialogs_.Review(window_, Own(kImportTitle, language),
                         QString::fromStdString(ImportPlanText(plan, language)))) {
      return;
    }
    const CsvRows rows = ::tq::ImportChannels(session_, grid_.grid(), text);
    grid_.Sync();
    for (const CsvProblem& problem : rows.problems) {
      session_.Report().ShowNoteLine("mdifrmMain->mnuImportChannels_Click",
                                     CsvProblemText(chosen.toStdString(), problem));
    }
  });
}

void ChannelCommands::ExportChannels() {
  session_.Report().Guard("mdifrmMain->mnuExportChannels_Click", [this] {
    std::filesystem::path start = session_.CurrentDataPath();
    start.replace_extension(".csv");
    const QString chosen = dialogs_.SaveFileName(
        window_, QDir::toNativeSeparators(QString::fromStdString(start.string())), kCsvFilter,
        "csv");
    if (chosen.isEmpty()) return;
    grid_.CommitOpenEdits();
    const std::string csv = ChannelsToCsv(session_, ReadCsvMapping(session_.Settings()));
    if (!session_.Report().Guard("mdifrmMain->mnuExportChannels_Click", [&] {
          WriteFileAtomically(chosen.toStdString(), csv, "ExportChannels");
        })) {
      Tell(Own(kExportFailed, session_.Language()) +
               QString::fromStdString(session_.Report().LastDetail()),
           true);
    }
  });
}

}  // namespace tq::ui
