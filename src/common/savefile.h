// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>
#include <QString>

// Writing the program's own files: options.ini, last.txt and the copies of the shipped files. A
// write either completes or leaves what was there, and it goes only to a regular file of that
// name: never through a symbolic link, never onto a device, a pipe or a folder. A portable folder
// may sit where others can write, and a link there must not make the program destroy a file of
// whoever runs it. Nothing is written while the data folder is read-only (paths::writable()).
namespace savefile
{

struct Result {
    bool ok = false;
    QString error; // why not, in Russian words for a message
};

// Replaces the file with these bytes atomically: a new file in the same folder, synced, renamed
// over the old one, so that a kill or a reader at any moment finds the old file or the new one.
// Nothing is ever written over the old bytes: a folder that takes no new file refuses the save
// even when the file itself is writable, and a hard link's other names keep the old file.
Result replace(const QString &path, QByteArrayView bytes);

// Writes a file that is not there yet, whole or not at all. Anything already at that name (a file,
// a link, a second start's copy) is left alone and counts as done.
Result create(const QString &path, QByteArrayView bytes);

// A kill leaves the temporary file of a write behind. A start removes the program's own that are
// older than this and that no writer holds: nothing else, and never through a link.
constexpr int staleAfterMinutes = 10;
void removeStale(const QString &dir);

} // namespace savefile
