#pragma once

#include "document.h"

// A document that already holds something, so a load that fails can be seen to keep it.
// Every field is numbered: no two fields of the table are alike.
Document priorDocument(int tilesetCount, int entryCount, bool changesMade);

// Every value a load may touch, loadSucceeded aside.
bool sameDocument(const Document &a, const Document &b);
