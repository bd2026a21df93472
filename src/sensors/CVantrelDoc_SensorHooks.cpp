// Per-cycle hooks of the echo sounder and the orientation history. The echogram and the
// orientation chart attach here; until they exist a cycle adds nothing to them.

#include "acquisition/CVantrelDoc.h"

void CVantrelDoc::AddEchoSounderColumn() {}

void CVantrelDoc::RedrawEchoSounderImage() {}

void CVantrelDoc::AddOrientationSample() {}
