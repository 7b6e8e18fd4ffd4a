#pragma once

// Runs the game from start-up until the program ends.
void runProgram();
