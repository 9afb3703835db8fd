#include "store/daylog.h"
