// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QString>

#include <functional>

// Where the program finds its files. A portable program folder keeps mfiles/ and last.txt beside
// the executable; an installed program reads its shipped files from ../share/zorvik/mfiles and keeps
// each user's copy in that user's data folder. Nothing here depends on where the program was built.
namespace paths
{

// The folder that holds mfiles/ and last.txt, chosen at start-up. Tests point it at a scratch folder;
// an empty text means the executable's own folder. A folder that is not writable is the shipped
// files themselves, used when the user's folder could not be made: nothing is written then.
QString dataDir();
void setDataDir(const QString &dir, bool writable = true);
bool writable();
// Why nothing can be saved while the data folder is read-only.
QString readOnlyReason();

QString mfilesDir();
QString optionsFile();
QString logoFile();
QString lastFile();

// A word base is a plain file name inside mfiles: no directory part, no "." or "..". Its path is
// the folder, "/" and the name, whatever the name starts with (":words.txt" is no Qt resource).
bool isPlainFileName(const QString &name);
QString baseFile(const QString &name);

// The program reads only regular files (a link to one too): a named pipe would wait for a writer
// forever, and a device may never end. The file is opened without waiting and then looked at, so a
// pipe swapped in after any earlier look is refused as well. Opens `file` (its name set) for reading.
enum class Opened { Yes, Missing, NotAFile, Unreadable };
Opened openRegularFile(QFile &file, QIODevice::OpenMode mode = QIODevice::ReadOnly);

struct Folder {
    QString dir;          // holds mfiles/ and last.txt
    QString error;        // what went wrong, for the user; empty when nothing did
    bool writable = true; // false: dir is the shipped files, which are never written
};

// The folder for a program whose executable lies in programDir: that folder itself when it holds
// mfiles/ and can be written, else userDir. userDir is created when missing and given each shipped
// file that was not offered to it before (the list is userDir/shipped.lst): a file the user
// deleted stays deleted, a file already there is never touched. A list that cannot be read stops
// the copying, and one that cannot be written is told: either way the message says so, for a
// deleted file must not come back without a word. When userDir cannot be created,
// the shipped files are used as they are, read-only. `writable` is asked about programDir.
Folder chooseFolder(const QString &programDir, const QString &userDir,
                    const std::function<bool(const QString &)> &writable);

// The user's data folder: $XDG_DATA_HOME/zorvik, else ~/.local/share/zorvik with the home folder
// from HOME, or from the password database when HOME is unset, empty or relative; empty when
// there is no home folder at all. Nothing is created.
QString userDir();

// Start-up: chooses the folder for this program and this user and makes it the data folder.
// Returns a message for the user when something went wrong.
QString setUp();

} // namespace paths
