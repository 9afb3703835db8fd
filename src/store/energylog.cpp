#include "store/energylog.h"
