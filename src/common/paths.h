#pragma once

#include <QString>

#include <functional>

// Where the program finds its files. A portable program folder keeps mfiles/ and last.txt beside
// the executable; an installed program reads its shipped files from ../share/zorvik/mfiles and keeps
// each user's copy in that user's data folder. Nothing here depends on where the program was built.
namespace paths
{

// The folder that holds mfiles/ and last.txt, chosen at start-up. Tests point it at a scratch folder;
// an empty text means the executable's own folder.
QString dataDir();
void setDataDir(const QString &dir);

QString mfilesDir();
QString optionsFile();
QString logoFile();
QString lastFile();

// A word base is a plain file name inside mfiles: no directory part, no "." or "..".
bool isPlainFileName(const QString &name);
QString baseFile(const QString &name);

// Why a file could not be written, in Russian words for a message, judged from the file system as
// it is now: Qt's own error texts are English.
QString writeFailureReason(const QString &file);

struct Folder {
    QString dir;   // holds mfiles/ and last.txt
    QString error; // what went wrong, for the user; empty when nothing did
};

// The folder for a program whose executable lies in programDir: that folder itself when it holds
// mfiles/ and can be written, else userDir. userDir is created when missing and given every
// shipped file it lacks; a file it already has is never touched. When it cannot be created, the
// shipped files are used as they are, read-only. `writable` is asked about programDir.
Folder chooseFolder(const QString &programDir, const QString &userDir,
                    const std::function<bool(const QString &)> &writable);

// Start-up: chooses the folder for this program and this user and makes it the data folder.
// Returns a message for the user when something went wrong.
QString setUp();

} // namespace paths
