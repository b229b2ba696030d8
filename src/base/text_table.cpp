// The interface texts by message number: Simplified Chinese (language 1) and English
// (language 3) here, Traditional Chinese (language 2) made from the Simplified Chinese column by
// tools/make_traditional.py. Numbers without a row stay empty.
// Some English texts keep their odd spellings and full-width punctuation ("，", "：") on purpose:
// the interface shows every text exactly as written here.
#include "base/text_table.h"

#include <cstddef>

namespace tq {
namespace {

struct TextRow {
  int number;
  const char* chinese;
  const char* english;
};

// One row per message number that carries a text: number, language 1, language 3.
constexpr TextRow kTexts[] = {
    {0, "新建", "New"},
    {1, "打开", "Open"},
    {2, "保存", "Save"},
    {3, "读频", "Read"},
    {4, "写频", "Write"},
    {5, "串口", "Port"},
    {6, "帮助", "Help"},
    {7, "退出", "Exit"},
    {8, "打印", "Print"},
    {16, "TQ-474写频软件", "TQ-474 Radio Software"},
    {20, "文件(&F)", "&File"},
    {21, "新建(&N)", "&New"},
    {22, "打开(&O)", "&Open"},
    {23, "保存(&S)", "&Save"},
    {24, "另存为(&A)", "S&ave As"},
    {25, "退出(&Q)", "&Exit"},
    {26, "编程(&P)", "&Program"},
    {27, "读频(&R)", "&Read"},
    {28, "写频(&W)", "&Write"},
    {29, "选项(&O)", "&Option"},
    {30, "可选功能(&F)", "Optional &Feature"},
    {31, "设置(&S)", "&Settings"},
    {32, "通信端口(&P)", "&Communication Port"},
    {33, "语言设置(&L)", "&Language Settings"},
    {34, "中文简体(&C)", "&Simplified Chinese"},
    {35, "English(&E)", "&English"},
    {36, "帮助(&H)", "&Help"},
    {37, "帮助主题(&T)", "Help &Topic"},
    {38, "关于(&A)", "&About"},
    {39, "机型(&M)", "&Model"},
    {40, "测试模式(&T)", "&Test Mode"},
    {41, "测试频率(&F)", "&Test Frequency"},
    {42, "批写测试数据(&B)", "&Batch Write Test Data"},
    {43, "打印(&P)", "&Print"},
    {44, "可选频段(&A)", "&Additional frq. range"},
    {45, "DTMF(双音多频)(&D)", "&DTMF"},
    {46, "键设定(&K)", "&Key Assignment"},
    {47, "锁定信道界面(&L)", "&Lock Channel Interface"},
    {48, "自动读写频率(&F)", "&Auto Read/Write Radio"},
    {49, "对讲机版本(&V)", "&Radio Version"},
    {50, "确定", "OK"},
    {51, "机型:", "Model:"},
    {52, "频率:", "Frequency:"},
    {53, "版本:", "Version:"},
    {54, "时间:", "Time:"},
    {57, "中文繁体(&T)", "Traditional Chinese"},
    {58, "锁定界面(&D)", "Lock Face(&D)"},
    {60, "通信端口设置", "Communication Port"},
    {61, "设置", "Set"},
    {62, "通信端口", "Communication Port"},
    {63, "确定", "OK"},
    {64, "取消", "Cancel"},
    {66, "信道信息", "Channel Information"},
    {68, "Language has changed, you need to restart the software.",
     "Language has changed, you need to restart the software."},
    {70, "提示", "Notice"},
    {71, "确定删除所有的信道数据?", "Are you sure delete all channels data?"},
    {72, "选择不同型号的机型将删除所有信道的数据，是否继续?", "All data will be cleared,continue?"},
    {73, "你要退出吗?", "Are you sure want to exit?"},
    {74, "当前所有信道数据将被清除，是否继续?", "All data will be cleared,continue?"},
    {75, "通信端口未设置,请先选择 \"设置\" -> \"通信端口\" 选择串口",
     "Failed to open port,Please set communication port first!"},
    {76, "正在通信，请稍候", "Communicating,wait a minute"},
    {77, "通信成功", "Communication success"},
    {78, "通信失败", "Communication failed"},
    {79, "通信出错，请检查连线及串口的选择!",
     "Communication failed,please check commuication port!"},
    {80, "通信失败", "Communication failed"},
    {81, "打开端口失败，请选择其它端口!", "Failed to open port!"},
    {82, "文件内容已经改变,想保存文件吗?", "TempData has changed,Do you want to save it now?"},
    {83, "错误的文件类型!", "Wrong file type!"},
    {84, "保存文件出错!", "Save file failed!"},
    {85, "文件名:", "File Name:"},
    {86, "写文件出错!", "Save file failed!"},
    {87, "读文件出错!", "Read file failed!"},
    {88, "频段不符,无法写入!", "Frequency range is not right!"},
    {89, "频段不符,是否继续?", "Frequency range is not right，continue?"},
    {90, "提示当前状态", "Status"},
    {91, "当前时间", "Time"},
    {92, "通信端口", "Communication Port"},
    {93, "文件路径", "File Path"},
    {94, "就绪", "Ready"},
    {95, "系列对讲机编程软件", "Radio Programming Software"},
    {96, "用于", "For"},
    {100, "读频(&R)", "&Read"},
    {101, "写频(&W)", "&Write"},
    {102, "通信", "Communicate"},
    {105, "正在打印，请稍候...", "Printing，Please wait..."},
    {106, "打印出错!", "Print occur error!"},
    {110, "删除信道", "Delete channel"},
    {112, "删除所有信道", "Delete all channels"},
    {113, "存为默认值", "Save as default"},
    {114, "开启信道", "Open channel"},
    {116, "信道界面已锁定", "Interface Locked"},
    {120, "机型", "Model Type"},
    {121, "频段", "Frequency"},
    {122, "确定", "OK"},
    {123, "选择机型", "Model Information"},
    {124, "确定删除所有的信道数据?", "Frequency data will be cleared!"},
    {130, "密码", "Password"},
    {131, "请输入正确的密码:", "Please Input Correct Password:"},
    {132, "确定", "OK"},
    {133, "密码错误!", "Password Error!"},
    {134, "请先从对讲机读数据!", "Please read data from radio first!"},
    {135, "没有测试频率,请先写入测试频率!", "Please write test frequency to radio first!"},
    {140, "出现错误!", "Occur error!"},
    {141, "软件正在运行!", "Software is running now!"},
    {142, "选择打印内容", "Select Print Content"},
    {143, "项目", "Item"},
    {144, "封面", "Cover"},
    {145, "对讲机设置", "Radio Settings"},
    {146, "信道信息", "Channel Information"},
    {147, "打印", "Print"},
    {148, "取消", "Cancel"},
    {149, "打印信道数据", "Print Chananel Data"},
    {150, "自动读写设置", "Auto Read/Write Setting"},
    {151, "间隔时间", "Interval Time"},
    {152, "写入对讲机", "Write to Radio"},
    {153, "从对讲机读取", "Read from Radio"},
    {154, "显示进度", "Show Progress"},
    {155, "自动读写", "Auto Read/Write"},
    {156, "通信进程", "Communication"},
    {157, "次数", "Times"},
    {160, "对讲机版本", "Radio Version"},
    {161, "对讲机版本", "Radio Version"},
    {162, "MCU版本：", "MCU Ver："},
    {163, "时间：", "Time："},
    {164, "正在读取.....", "Reading Now......"},
    {165, "读取成功", "Read Successful"},
    {166, "读取失败", "Read Failed"},
    {167, "读取(&R)", "&Read"},
    {170, "正在通信", "Communicating"},
    {171, "通信成功", "Successful"},
    {172, "通信失败", "Fail"},
    {175, "Rx：没有收到数据，请检查串口及连线！", "Rx：Communication failed! No receive Data!"},
    {176, "Rx：通信时接收数据出错!", "Rx：Communication failed! Receive Data Error!"},
    {179, "未知时间", "Unknown Time"},
    {180, ".", "."},
    {181, ".", "."},
    {183, "本机信息", "Radio Info"},
    {184, "机型", "Model Type"},
    {185, "频段[MHz]", "Frequency[MHz]"},
    {186, "软件版本", "Soft Version"},
    {187, "上次写频时间", "Write Data Last Time"},
    {200, "整机设置", "Optional Features"},
    {205, "步进", "Step"},
    {206, "5K", "5K"},
    {207, "6.25K", "6.25K"},
    {208, "10K", "10K"},
    {209, "12.5K", "12.5K"},
    {210, "15K", "15K"},
    {211, "20K", "20K"},
    {212, "25K", "25K"},
    {213, "30K", "30K"},
    {214, "50K", "50K"},
    {215, "100K", "100K"},
    {217, "对讲机静噪电平", "Sql"},
    {218, "背光灯", "Lamp"},
    {219, "指示灯", "Led"},
    {220, "关", "Off"},
    {221, "开", "On"},
    {222, "自动", "Auto"},
    {223, "按键音", "Beep"},
    {224, "关", "Off"},
    {225, "开", "On"},
    {226, "语音通知", "Voice Annunciation"},
    {227, "无", "Off"},
    {228, "中文", "Chinese"},
    {229, "英文", "English"},
    {230, "时钟", "Clock"},
    {231, "关", "Off"},
    {232, "开", "On"},
    {233, "超时定时器", "Time Out Timer[s]"},
    {234, "关", "Off"},
    {235, "60秒", "60s"},
    {236, "120秒", "120s"},
    {237, "240秒", "240s"},
    {238, "秒", "s"},
    {239, "对讲机音量", "Volume"},
    {240, "收音机静噪电平", "Radio Sql"},
    {241, "收音机音量", "Radio Volume"},
    {242, "省电模式", "Battery Save Type"},
    {243, "关", "Off"},
    {244, "自动关机[小时]", "Auto Power Off[Hour]"},
    {245, "关", "Off"},
    {246, "键盘锁", "Key Lock"},
    {247, "手动", "Manual"},
    {248, "自动", "Auto"},
    {249, "扫描恢复方式", "Scan Resume"},
    {250, "定时", "Time"},
    {251, "载波", "Carrier"},
    {252, "搜索", "Seek"},
    {253, "显示", "Display"},
    {254, "关", "Off"},
    {255, "电压", "DC"},
    {256, "信息", "MSG"},
    {257, "信道名称/频率", "Ch Name/Freq"},
    {258, "信道名称", "Ch Name"},
    {259, "频率", "Freq"},
    {262, "发射结束音", "Roger"},
    {263, "关", "Off"},
    {264, "开", "On"},
    {266, "电脑时间设为对讲机时间", "Pc Time Set to Radio Time"},
    {267, "锁定对讲机", "Lock Radio"},
    {268, "开机信息", "Power On Message"},
    {270, "闹钟", "Alarm"},
    {271, "启用闹钟", "Enable Alarm"},
    {272, "关", "Off"},
    {273, "开", "On"},
    {274, "闹钟时间", "Alarm Time"},
    {275, "时", "Hour"},
    {276, "分", "Minute"},
    {277, "闹钟铃声", "Clock Alarm Tone"},
    {282, "关", "Off"},
    {283, "蓝色", "Blue"},
    {284, "绿色", "Green"},
    {285, "红色", "Red"},
    {286, "青色", "Cyan"},
    {287, "紫色", "Purple"},
    {288, "黄色", "Yellow"},
    {289, "白色", "White"},
    {291, "开机提示音", "Power On Tone"},
    {292, "低电提示音", "Low Battery Tone"},
    {293, "紧急报警", "Emergency Alarm"},
    {294, "键盘锁", "Key Lock"},
    {295, "显示模式", "Show Mode"},
    {296, "频率模式", "Freq Mode"},
    {297, "信道频率模式", "Channel Freq Mode"},
    {298, "信道模式", "Channel Mode"},
    {299, "对讲机锁定/解锁码", "Lock/Unlock Radio Code"},
    {300, "TQ-474", "TQ-621"},
    {301, "本机信息", "Radio Info"},
    {302, "信道信息", "Channel Info"},
    {303, "整机设置", "Optional Features"},
    {307, "打印可选功能", "Print Optional Features"},
    {308, "打印信道数据", "Print Chananel Data"},
    {310, "闹钟铃声", "Clock Alarm Tone"},
    {315, "语音片选择", "An Chip Sel"},
    {316, "男声1-1", "Male1-1"},
    {317, "女声NA021-2", "Female NA021-2"},
    {318, "女声2-3", "Female2-3"},
    {320, "12.8MHz", "12.8MHz"},
    {321, "13.0MHz", "13.0MHz"},
    {322, "25.6MHz", "25.6MHz"},
    {323, "26.0MHz", "26.0MHz"},
    {326, "晶体频率", "Crystal"},
    {327, "电池省电", "Battery Save"},
    {328, "哔音", "Beep"},
    {330, "超时定时器预警[秒]", "TOT Pre-Alert[s]"},
    {331, "关", "Off"},
    {333, "VOX增益电平", "VOX Gain Level"},
    {334, "关", "Off"},
    {336, "VOX延迟时间[秒]", "VOX Delay Time[s]"},
    {337, "0.3", "0.3"},
    {338, "0.5", "0.5"},
    {339, "1.0", "1.0"},
    {340, "1.5", "1.5"},
    {341, "2.0", "2.0"},
    {342, "3.0", "3.0"},
    {346, "接收时禁止VOX", "VOX inhibit on Rx"},
    {347, "关", "Off"},
    {348, "开", "On"},
    {351, "低电时允许发射", "Low Battery Tx Enable"},
    {356, "TQ-474", "TQ-474"},
    {370, "机型信息", "Model Information"},
    {371, "机型", "Model Type"},
    {372, "频率", "Frequency"},
    {373, "自定义", "Custom"},
    {374, "自定义频率范围", "Custom"},
    {375, "频率下限[MHz]", "Min [MHz]"},
    {376, "频率上限[MHz]", "Max [MHz]"},
    {377, "确定", "OK"},
    {378, "取消", "Cancel"},
    {405, "读频", "Read"},
    {406, "写频", "Write"},
};

struct TraditionalRow {
  int number;
  const char* text;
};

#include "base/text_table_traditional.inc"

}  // namespace

int16_t NormaliseLanguage(long long value) noexcept {
  if (value == kLangSimplifiedChinese || value == kLangTraditionalChinese ||
      value == kLangEnglish) {
    return static_cast<int16_t>(value);
  }
  return kLangEnglish;
}

SoftFace SoftFace::Build(long long language) {
  SoftFace face;
  face.language_ = NormaliseLanguage(language);
  if (face.language_ == kLangTraditionalChinese) {
    for (const TraditionalRow& row : kTraditionalTexts) {
      face.texts_[static_cast<std::size_t>(row.number)] = row.text;
    }
    return face;
  }
  const bool chinese = face.language_ == kLangSimplifiedChinese;
  for (const TextRow& row : kTexts) {
    face.texts_[static_cast<std::size_t>(row.number)] = chinese ? row.chinese : row.english;
  }
  return face;
}

const std::string& SoftFace::operator[](int number) const noexcept {
  static const std::string kNoText;
  if (number < 0 || number >= kCount) return kNoText;
  return texts_[static_cast<std::size_t>(number)];
}

const SoftFace& EnglishTexts() {
  static const SoftFace english = SoftFace::Build(kLangEnglish);
  return english;
}

const std::string& TextOrEnglish(const SoftFace& texts, int number) {
  const std::string& own = texts[number];
  return own.empty() ? EnglishTexts()[number] : own;
}

}  // namespace tq
