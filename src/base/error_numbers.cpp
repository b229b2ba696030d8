// The error-number table of the error report: run-time error number -> short description in
// Simplified Chinese, used whatever the interface language. A number without a row has no
// description.
#include <algorithm>
#include <cstddef>
#include <iterator>

#include "base/error_report.h"

namespace tq {
namespace {

struct ErrorRow {
  int number;
  const char* description;
};

// Ascending by number, so that a look-up can search it by halves.
constexpr ErrorRow kErrorRows[] = {
    {3, "无 GoSub 返回"},
    {5, "无效的过程调用"},
    {6, "溢出"},
    {7, "内存不足"},
    {9, "数组索引超出范围"},
    {10, "数组已固定或暂时锁定"},
    {11, "除以零"},
    {13, "类型不符合"},
    {14, "字符串空间不足"},
    {16, "表达式太复杂"},
    {17, "不能执行所需的操作"},
    {18, "出现用户中断"},
    {20, "无错误时恢复"},
    {28, "堆栈空间不足"},
    {35, "子程序或函数未定义"},
    {47, "DLL 应用程序的客户端太多"},
    {48, "加载 DLL 时出错"},
    {49, "DLL 调用约定错误"},
    {51, "内部错误"},
    {52, "文件名或文件号错误"},
    {53, "文件找不到"},
    {54, "文件模式错误"},
    {55, "文件已打开"},
    {57, "I/O设备错误"},
    {58, "文件已存在"},
    {59, "记录长度错误"},
    {61, "磁盘已满"},
    {62, "输入已超过文件结尾"},
    {63, "记录号错误"},
    {67, "文件过多"},
    {68, "设备不可用"},
    {70, "没有访问权限"},
    {71, "磁盘尚未就绪"},
    {74, "不能用其他磁盘机重命名"},
    {75, "路径/文件访问错误"},
    {76, "找不到路径"},
    {91, "尚未设置对象变量或With区块变量"},
    {92, "For 循环未初始化"},
    {93, "无效的模式字符串"},
    {94, "无效使用 Null"},
    {97, "不能在非类实例的对象上调用友元函数"},
    {298, "系统 DLL 不能加载"},
    {320, "在指定的文件中不能使用字符设备名"},
    {321, "无效的文件格式"},
    {322, "不能建立必要的临时文件"},
    {325, "资源文件中格式无效"},
    {327, "未找到数据值"},
    {328, "非法参数，不能写入数组"},
    {335, "不能访问系统注册表"},
    {336, "部件未正确注册"},
    {337, "未找到部件"},
    {338, "部件未正确运行"},
    {360, "对象已经加载"},
    {361, "不能加载或卸载该对象"},
    {363, "未找到指定的控件"},
    {364, "对象未卸载"},
    {365, "在该上下文中不能卸载"},
    {368, "指定文件已过时"},
    {371, "指定的对象不能用作显示的所有者窗体"},
    {380, "属性值无效"},
    {381, "无效的属性数组索引"},
    {382, "运行时不支持该属性"},
    {383, "属性为只读"},
    {385, "需要属性数组索引"},
    {387, "不允许设置该属性"},
    {393, "运行时不能读取该属性"},
    {394, "属性为只写"},
    {400, "窗体已显示，不能显示为模式窗体"},
    {402, "必须先关闭或隐藏最上层的模式窗体"},
    {419, "不允许使用该对象"},
    {422, "找不到属性"},
    {423, "找不到属性或方法"},
    {424, "要求对象"},
    {425, "无效的对象使用"},
    {429, "部件不能创建对象"},
    {430, "类不支持自动化操作"},
    {432, "自动化操作时未找到文件名或类名"},
    {438, "对象不支持此属性或方法"},
    {440, "自动化错误"},
    {442, "与类型库或对象库的连接丢失"},
    {443, "自动化对象没有默认值"},
    {445, "对象不支持此动作"},
    {446, "对象不支持命名参数"},
    {447, "对象不支持当前的区域设置"},
    {448, "找不到命名参数"},
    {449, "参数不可选"},
    {450, "参数个数错误或属性赋值无效"},
    {451, "对象不是集合"},
    {452, "序数无效"},
    {453, "找不到指定的 DLL 函数"},
    {454, "找不到代码资源"},
    {455, "代码资源锁定错误"},
    {457, "此键已与该集合的一个元素相关联"},
    {458, "变量使用了不支持的自动化类型"},
    {459, "对象或类不支持事件集"},
    {460, "剪贴板格式无效"},
    {461, "未找到方法或数据成员"},
    {462, "远程服务器不存在或不可用"},
    {463, "类未在本地计算机上注册"},
    {480, "不能创建自动重画图像"},
    {481, "图片无效"},
    {482, "打印机错误"},
    {483, "打印驱动程序不支持指定的属性"},
    {484, "从系统获取打印机信息时出错"},
    {485, "无效的图片类型"},
    {486, "不能用这种类型的打印机打印窗体图像"},
    {520, "不能清空剪贴板"},
    {521, "不能打开剪贴板"},
    {735, "不能将文件保存至临时目录"},
    {744, "找不到要搜索的文本"},
    {746, "替换数据过长"},
    {31001, "内存不足"},
    {31004, "无对象"},
    {31018, "未设置类"},
    {31027, "不能激活对象"},
    {31032, "不能创建嵌入对象"},
    {31036, "存储到文件时出错"},
    {31037, "从文件读出时出错"},
};

constexpr bool IsAscending() {
  for (std::size_t i = 1; i < std::size(kErrorRows); ++i) {
    if (kErrorRows[i - 1].number >= kErrorRows[i].number) return false;
  }
  return true;
}
static_assert(IsAscending(), "the error-number table must stay ascending");

}  // namespace

std::string VbErrNumDes(int number) {
  const auto* const end = std::end(kErrorRows);
  const auto* const row =
      std::lower_bound(std::begin(kErrorRows), end, number,
                       [](const ErrorRow& r, int wanted) { return r.number < wanted; });
  if (row == end || row->number != number) return {};
  return row->description;
}

const std::vector<int>& ErrorNumbers() {
  static const std::vector<int> numbers = [] {
    std::vector<int> all;
    all.reserve(std::size(kErrorRows));
    for (const ErrorRow& row : kErrorRows) all.push_back(row.number);
    return all;
  }();
  return numbers;
}

}  // namespace tq
