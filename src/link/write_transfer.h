// Writing the configuration image to the encoder, with speed calibration.
#pragma once

#include <array>

#include "link/link_platform.h"
#include "link/wire_constants.h"
#include "model/config.h"

using ProbeAnswers = std::array<int, kSpeedCount>;   // key answered to speed s
using NibbleSpeeds = std::array<int, kNibbleCount>;  // speed carrying nibble v

// The first 16 speeds, counted upward from 0, whose answer no lower speed gave.
// False when fewer than 16 answers differ.
bool ChooseNibbleSpeeds(const ProbeAnswers& answers, NibbleSpeeds& speeds);

// Sends the image in transfer order, each nibble as one calibrated speed
// acknowledged by parity. Returns a transfer result.
int WriteToEncoder(LinkPlatform& platform, const ConfigImage& image);
