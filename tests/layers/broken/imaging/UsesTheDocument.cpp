// Breaks the floors on purpose: a subsystem that includes the document.
#include "document/CVantrelDoc.h"
