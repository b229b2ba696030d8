#include "base/error_report.h"
namespace tq {
std::string VbErrNumDes(int) { return {}; }
}
