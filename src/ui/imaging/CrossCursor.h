#pragma once
// The waterfall views' pointer: a thin cross-hair with a gap at its centre, so the pixel under
// the hot spot stays visible, white with a black outline to read on any palette.

#include <QCursor>

const QCursor& CrossCursor();
