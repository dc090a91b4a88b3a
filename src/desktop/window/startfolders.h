// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "app/services.h"

namespace korvin {

// The program's folders at start-up.
//  * state: `home` (the --home option), else the environment's KORVIN_HOME, else
//    the per-user data folder (QStandardPaths::AppDataLocation, which needs the
//    organisation and application names set). Made absolute against the
//    current directory of the call.
//  * data: the installed share/korvin beside the executable's folder when it
//    holds documents/, else the source tree's resources/ (a build-tree run).
// Neither ends in "/".
Folders resolveFolders(const std::optional<std::string>& home, const QString& executableFolder);

// Where zipped books are unpacked: "unpacked" below the per-user cache
// folder for the per-user data folder's program; below the state folder when
// another was chosen (--home or KORVIN_HOME), so that a program of its own
// keeps its unpacked books to itself too.
std::string unpackCacheRoot(const Folders& folders);

// Creates the state folder when missing and makes it the current directory, so
// that the state files can be opened by bare name. False when either fails.
bool enterStateFolder(const std::string& folder);

// A name for the single-instance channel that differs between state folders,
// so that two programs with different --home folders run side by side.
QString instanceKey(const std::string& stateFolder);

}  // namespace korvin
