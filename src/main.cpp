#include "app/MiniQuorvel.h"

int main(int argc, char *argv[])
{
    return MiniQuorvelMain(argc, argv);
}
