#include "mail/directrelay.h"
