#include "cli/console_view.h"
