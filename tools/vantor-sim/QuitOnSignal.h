#pragma once

#include <initializer_list>

// Makes the running Qt event loop quit when one of the signals arrives. The handler only
// writes a byte to a socket pair; the event loop reads it and quits, so shutdown runs as
// ordinary code (the socket file is removed, clients are dropped).
bool QuitOnSignals(std::initializer_list<int> which);
