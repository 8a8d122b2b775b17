#pragma once

// The play colours. Collisions compare colours exactly, so every colour in play
// is copied from these and never computed.
const float kRed[3] = {1.0f, 0.0f, 0.0f};
const float kGreen[3] = {0.1f, 1.0f, 0.1f};
const float kBlue[3] = {0.0f, 0.3f, 1.0f};
const float kYellow[3] = {1.0f, 1.0f, 0.1f};
const float kWhite[3] = {1.0f, 1.0f, 1.0f};
