#pragma once

#include <QString>

// Where the built programs and the sources are, for tests that run them or read samples.
inline QString binDir() { return QStringLiteral(DALVINO_BIN_DIR); }
inline QString sourceDir() { return QStringLiteral(DALVINO_SOURCE_DIR); }
