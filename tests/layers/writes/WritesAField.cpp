// Writes a field of the document on purpose, for the check that finds it.
void Toggle(CVantrelDoc& doc) { doc.display.toolBarVisible = 0; }
void Step(CVantrelDoc& doc) { ++doc.heads[1].gainDb; }
