#pragma once

#include <QString>

// The folder where a user's files that live for one session belong (the lock
// and the socket of the running program). Nobody else may reach it: another
// user who could create or hold these files could keep the program from
// starting or talk to it.
namespace runtimedir {

struct Location {
    QString path;    // the folder, without a trailing separator; empty when refused
    QString problem; // why no folder can be used, for the user; empty with a path
};

// `xdgRuntimeDir` when it is an absolute path to a folder that `owner` owns
// and nobody else may enter; else "aurivex-<owner>" under `tempDir`, created
// 0700 when missing and refused when it belongs to someone else, is open to
// others or is no folder.
Location locate(const QString& xdgRuntimeDir, const QString& tempDir, uint owner);
// For the running user ($XDG_RUNTIME_DIR, the temporary folder, the effective user).
Location locate();

} // namespace runtimedir
