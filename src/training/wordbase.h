// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "common/textcodec.h"

#include <QIODevice>
#include <QList>
#include <QString>

#include <random>

// A word base is a text file with one word per line. It may be large, so it is never held in
// memory: a training start reads it once, counting its lines, judging its encoding and keeping a
// random sample of lines as they pass.
namespace wordbase
{

// Longer lines are cut to this many bytes: nobody types them back, and a base of one huge line
// must not fill the memory.
constexpr qsizetype maxWordBytes = 1024;

// A base is read in chunks of this many bytes.
constexpr qint64 chunkSize = 256 * 1024;

// A base of more than this many lines is large: it rates level 2, and its last unpickedLastLines
// lines are never picked.
constexpr qint64 largeBaseLines = 1000;
constexpr qint64 unpickedLastLines = 10;

// The lines a pick draws from, and the base-size level that the score adds.
struct Rating {
    qint64 pickRange = 0;
    int level = 0;
};
Rating rate(qint64 lines);

enum class PickError {
    None,
    Missing,     // no such file
    NotAFile,    // a folder, a pipe or a device
    Unreadable,  // cannot be opened or read
    TooFewLines, // fewer pickable lines than words
    TooLarge,    // longer than maxBaseBytes, or without an end
};

// A training start reads at most this much of a base, far beyond any word list: a huge file, or
// one that never ends (a link into /proc), must not freeze the window.
constexpr qint64 maxBaseBytes = qint64(256) << 20;

struct Pick {
    PickError error = PickError::None;
    qint64 lines = 0; // CR LF, LF or a lone CR ends one; a last line without an end counts too
    Rating rating;
    textcodec::Encoding encoding = textcodec::Encoding::Windows1251;
    QList<qint64> positions; // 0-based lines in grid order, one per word
    QList<QString> words;    // in grid order
};

// The whole file work of a training start in one read of the device: count distinct pickable
// lines in a uniformly random order, every order of every choice equally likely.
Pick pick(QIODevice &device, int count, std::mt19937_64 &rng);

// The same for a file. Only regular files are read.
Pick pick(const QString &path, int count, std::mt19937_64 &rng);

} // namespace wordbase
