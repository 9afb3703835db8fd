#include "store/energytotals.h"
