#pragma once

#include <string>

// Writes the seeds of every target into DIR/<target>/; returns how many.
int WriteFuzzSeeds(const std::string& dir);
