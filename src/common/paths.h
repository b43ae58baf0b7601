#pragma once

#include <QString>

// Where the program finds its files: everything lives beside the executable, in its program
// directory, so that a copied program folder keeps working.
namespace paths
{

QString programDir();
// Tests point the program at a scratch directory; an empty text restores the real one.
void setProgramDir(const QString &dir);

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

} // namespace paths
