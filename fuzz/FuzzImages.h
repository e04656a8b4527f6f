// Small PNG files the fuzz entries put beside their inputs.
#pragma once

#include <cstdint>
#include <vector>

// A 4 x 3 palette image (8-bit indexes, three colours).
const std::vector<uint8_t>& TinyPalettePng();

// The same image with its pixel data damaged: the header reads well, the
// decoding fails.
const std::vector<uint8_t>& DamagedPalettePng();
