// Reading the finished picture out of the back buffer before the swap shows it.
#pragma once

#include <SDL/SDL.h>

#include <vector>

// Fills `rgb` with the kScreenWidth × kScreenHeight back buffer as RGB bytes, top row first.
void read_back_buffer(std::vector<Uint8>* rgb);
