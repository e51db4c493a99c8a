// The test support library: shared fakes and paths (header-only helpers live beside it).
#include "FakePrompts.h"
#include "TestPaths.h"
