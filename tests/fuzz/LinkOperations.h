// The deck and system operations that the link fuzz targets run on the fuzzed replies, chosen by
// one input byte each, with the property every one of them keeps: the counter text keeps its
// shape whatever the deck answered.
#pragma once

#include <cstdint>

class TarnSys;
class TarnVtr;

namespace fuzz {

void RunLinkOperation(uint8_t op, TarnSys& sys, TarnVtr& vtr);

}  // namespace fuzz
