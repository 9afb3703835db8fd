#include "platform/backgroundfilewriter.h"
