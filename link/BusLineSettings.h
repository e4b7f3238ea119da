// The line settings the Tarn bus interface expects, as a pure function of the port's current
// settings: 9600 baud, 8 data bits, odd parity, one stop bit, raw bytes, no flow control.
#pragma once

#include <termios.h>

// `current` with every setting the bus needs changed; the rest is kept as the port had it.
termios BusLineSettings(const termios& current);
