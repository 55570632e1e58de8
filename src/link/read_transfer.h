// Reading the configuration image from the encoder.
#pragma once

#include "link/link_platform.h"
#include "model/config.h"

// Fetches the image in transfer order, checking every byte and the counts and
// pins as soon as they arrive. Returns a transfer result; only on kTransferOk
// does the buffer hold the encoder's configuration.
int ReadFromEncoder(LinkPlatform& platform, ConfigImage& image);
