// The test support library: shared fakes and paths (header-only helpers live beside it).
#include "FakePrompts.h"
#include "TestPaths.h"

QString binDir() { return QStringLiteral(DALVINO_BIN_DIR); }
QString sourceDir() { return QStringLiteral(DALVINO_SOURCE_DIR); }
