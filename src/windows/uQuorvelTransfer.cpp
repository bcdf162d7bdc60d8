// The service window's program and weekly-program transfer decoders.

#include "windows/uQuorvel.h"

void TwQuorvel::TransferDekoderEinsetzen()
{
}
