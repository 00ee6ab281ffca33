#pragma once

// The whole program: command line, setup dialog, window, demo. Returns the exit code.
int velmoraMain(int argc, char** argv);
