// The Read and Write commands of the File menu.
#pragma once

#include "model/config.h"

void ReadCommand();
void WriteCommand();

// Result of a transfer refused because another program's transfer runs; the
// refusal has been said.
constexpr int kTransferRefused = -1;

// The read transfer of Read, with its progress window, into image; returns the
// transfer's result. Shows no result message but a refusal.
int ReadEncoderImage(ConfigImage& image);
// The image of a read that ended with result as a configuration: false after
// showing Read's failure message (the transfer failed, or the image is invalid).
bool DecodeReadImage(int result, const ConfigImage& image, ConfigModel& model);
