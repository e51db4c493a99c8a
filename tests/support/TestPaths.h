#pragma once

#include <QString>

// Where the built programs and the sources are, for tests that run them or read samples.
// Defined in TestSupport.cpp only, so that the test programs themselves compile the same in
// every checkout and the compiler cache can share them.
QString binDir();
QString sourceDir();
