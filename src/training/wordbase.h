#pragma once

#include "common/textcodec.h"

#include <QIODevice>
#include <QList>
#include <QString>

#include <optional>
#include <random>

// A word base is a text file with one word per line. It may be large, so it is never held in
// memory: a training start reads it once to count its lines and once more to collect the picked
// lines.
namespace wordbase
{

// Longer lines are cut to this many bytes: nobody types them back, and a base of one huge line
// must not fill the memory.
constexpr qsizetype maxWordBytes = 1024;

struct Scan {
    qint64 lines = 0;
    textcodec::Encoding encoding = textcodec::Encoding::Windows1251;
};
// Counts the lines (CR LF, LF or a lone CR ends one; a last line without an end counts too) and
// tells the encoding. Empty when the device cannot be read to its end.
std::optional<Scan> scan(QIODevice &device);

// The lines a pick draws from, and the base-size level that the score adds: large bases lose their
// last ten lines to the pick.
struct Rating {
    qint64 pickRange = 0;
    int level = 0;
};
Rating rate(qint64 lines);

// A uniform value in [0, 1).
double uniform(std::mt19937_64 &rng);

// Draws count distinct positions in [0, range), in draw order; a position that comes up again is
// drawn anew. Needs count <= range, or it would never end.
QList<qint64> draw(int count, qint64 range, std::mt19937_64 &rng);

// Reads the lines at the given distinct positions in one pass and returns them in the order of
// positions. Empty when the device fails or ends before the last position.
std::optional<QList<QString>> readLines(QIODevice &device, const QList<qint64> &positions,
                                        textcodec::Encoding encoding);

enum class PickError {
    None,
    Missing,     // no such file
    NotAFile,    // a folder, a pipe or a device
    Unreadable,  // cannot be opened or read
    TooFewLines, // fewer pickable lines than words
};

struct Pick {
    PickError error = PickError::None;
    qint64 lines = 0;
    Rating rating;
    QList<qint64> positions; // in draw order, one per word
    QList<QString> words;    // in draw order
};

// The whole file work of a training start: count, rate, draw, read the picked lines.
// Only regular files are read: a named pipe would block forever.
Pick pick(const QString &path, int count, std::mt19937_64 &rng);

} // namespace wordbase
