#include "cdplaylist/sequencer.h"

HWND CurrentPlayer;
