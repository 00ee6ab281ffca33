#include "app/entry.h"

int velmoraMain(int, char**) { return 0; }
