#pragma once

#include <QString>

// Everything the program finds "beside the executable": the settings file, the working
// folder temp/, the converter and data/.
//
// An installed copy is the exception: the package puts the file installedMarker() beside
// the programs, in a folder its users cannot write, so each user's settings file and
// working folder are kept in that user's own folders instead. A folder without the marker
// (build/bin, a copied folder) keeps everything beside the executable.
namespace AppPaths {

// The folder of the running executable, without a trailing separator. Tests point it
// elsewhere with setExecutableFolder.
QString executableFolder();
void setExecutableFolder(const QString &folder);

QString installedMarker(); // Dalvino.installed
bool isInstalled();        // the marker is beside the executable

QString settingsFile();    // Dalvino.ini
QString workingFolder();   // temp
QString workingFile();     // temp/temp.xml
QString workingFileLock(); // temp/temp.xml.lock, held by the program converting
QString converter();       // Quenda.dll
QString dataFolder();      // data

} // namespace AppPaths
