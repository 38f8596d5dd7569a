#pragma once

// Shows the program's messages as real modal message boxes.
void InstallMessageBoxes();
