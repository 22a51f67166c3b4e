// The launch in a program that carries no helper: exit code 1 when it claims
// to have started one all the same.
#include "launch.h"

int main() { return LaunchRemovalHelper(CSetupFile("C:\\bench", "SETUP.EXE"), "", true) ? 1 : 0; }
