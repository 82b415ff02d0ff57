#include "support/describe.h"
