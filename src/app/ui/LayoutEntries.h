#pragma once
// The layout entries of the windows that other parts of the program own.

#include "app/ui/LayoutWindows.h"

class CVantrelDoc;
class SensorWindows;

// "ES Frame": the echo-sounder window, wanted while the echo sounder answers.
LayoutEntry EchoSounderEntry(CVantrelDoc& doc, SensorWindows& sensors);
