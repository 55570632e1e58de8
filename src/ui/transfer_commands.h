// The Read and Write commands of the File menu.
#pragma once

void ReadCommand();
void WriteCommand();
