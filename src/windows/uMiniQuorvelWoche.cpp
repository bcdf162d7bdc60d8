// The main window's weekly program, its file and the clock setting.

#include "windows/uMiniQuorvel.h"

void TwMiniQuorvel::WochPrgBereichErzeugen()
{
}
