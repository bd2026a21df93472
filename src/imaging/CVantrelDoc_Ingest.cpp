// Hand-over of a validated cycle to the ping history. The history store and the image
// formation are built on top of this point; until then a cycle ends at validation.

#include "acquisition/CVantrelDoc.h"

void CVantrelDoc::StampCycleTime() {}

void CVantrelDoc::StoreCycle() {}
