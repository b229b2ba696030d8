// Text as a JSON string, for the lines and objects that scripts read.
#pragma once

#include <string>

namespace tq {

// `text` in double quotes with quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text);

}  // namespace tq
