#include "base/text_table.h"
