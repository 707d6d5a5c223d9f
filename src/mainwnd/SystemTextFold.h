#pragma once
// The folding that Find uses, made from the system's own language data: the
// user's lower case, and letters without their accents.
#include "notes/TextFind.h"

// Made on first use (it asks the system about every character once) and
// kept for the run.
const TextFold& SystemTextFold();
