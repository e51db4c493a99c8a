#pragma once

#include <QString>

// A folder in which only this user can create, replace or remove files. The working
// folder and the single-instance lock's folder hold files that this user's programs
// trust: another user who could put a link or a file there could have the phone book
// written wherever the link points, with this user's rights, or lock the user out.

// Why the folder cannot be trusted (a link, no folder, other users could change what it
// holds), or empty when it can: only this user or the system's administrator owns it,
// and nobody else may write it (a group may when it is the user's own). A missing folder
// gives empty too: whatever uses it fails with the system's reason.
QString privateFolderProblem(const QString &folder);

// "<what> "<folder>" は使用できません（<problem>）。" and what to do about it.
QString privateFolderRefusalText(const QString &what, const QString &folder, const QString &problem);
