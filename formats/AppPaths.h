#pragma once

#include <QString>

// Everything the program finds "beside the executable": the settings file, the working
// folder temp/, the converter and data/.
namespace AppPaths {

// The folder of the running executable, without a trailing separator. Tests point it
// elsewhere with setExecutableFolder.
QString executableFolder();
void setExecutableFolder(const QString &folder);

QString settingsFile();  // Dalvino.ini
QString workingFolder(); // temp
QString workingFile();   // temp/temp.xml
QString workingFileLock(); // temp/temp.xml.lock, held by the program converting
QString converter();     // Quenda.dll
QString dataFolder();    // data

} // namespace AppPaths
