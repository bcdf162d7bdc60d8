#pragma once

// The main program: start-up, window creation in order, message loop.
int MiniQuorvelMain(int argc, char *argv[]);
