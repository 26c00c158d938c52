#include "ui/other/SysInfo.h"
