#include "platform/Platform.h"

// The seams' destructors live here, so that each seam has one home for its
// virtual table.
