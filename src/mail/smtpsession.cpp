#include "mail/smtpsession.h"
