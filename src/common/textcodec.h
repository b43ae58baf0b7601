// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <optional>

// The loops that a training start's speed rests on (the line count and the UTF-8 check) are built
// for AVX2 as well as for the x86-64 baseline; the loader picks the one the processor runs.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define ZORVIK_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef ZORVIK_VECTOR_CLONES
#define ZORVIK_VECTOR_CLONES
#endif

// The program's text files are Windows-1251 with CR LF line ends. Files edited on Linux are usually
// UTF-8 with LF, so reading also accepts a UTF-8 text (with a BOM, or valid UTF-8 holding at least
// one multi-byte sequence) and any of CR LF, LF and CR as a line end.
namespace textcodec
{

enum class Encoding { Windows1251, Utf8 };

// Checks UTF-8 piece by piece, so that a file can be judged while it streams past. A sequence cut
// by the end of a piece is held back and checked with the bytes that complete it.
class Utf8Check
{
public:
    void feed(QByteArrayView bytes);
    // True when everything fed is valid UTF-8 that ends on a character boundary.
    bool valid() const { return m_valid && m_heldSize == 0; }
    // True once a byte broke the rules: nothing fed later can mend it.
    bool failed() const { return !m_valid; }
    bool sawMultiByte() const { return m_multiByte; }
    // The encoding of a file that starts with `start`, its bytes fed here: UTF-8 after a BOM (the
    // bytes behind it need not be fed) or when they are valid UTF-8 beyond ASCII, else Windows-1251.
    Encoding encoding(QByteArrayView start) const;

private:
    void check(QByteArrayView bytes);

    char m_held[4] = {}; // the start of a sequence cut short
    int m_heldSize = 0;
    bool m_valid = true;
    bool m_multiByte = false;
};

bool startsWithBom(QByteArrayView bytes);
Encoding detect(QByteArrayView bytes);

// The bytes after a leading UTF-8 BOM, or all of them.
QByteArrayView withoutBom(QByteArrayView bytes);

// Decodes lines or whole texts, one after another. A BOM is the file's, not the text's: drop it
// first with withoutBom(); a U+FEFF that is left is a character of the text and is kept.
class Decoder
{
public:
    explicit Decoder(Encoding encoding);
    QString operator()(QByteArrayView bytes);

private:
    Encoding m_encoding;
    QStringDecoder m_utf8;
};

QString decode(QByteArrayView bytes, Encoding encoding);

// The text in Windows-1251, or nothing when it holds a character Windows-1251 has not.
std::optional<QByteArray> toWindows1251(QStringView text);

// Splits bytes into lines at CR LF, LF or a lone CR. A final line without a line end counts;
// nothing after the last line end does not.
QList<QByteArrayView> splitLines(QByteArrayView bytes);

// Lines of text, each followed by CR LF, in Windows-1251 when every character fits and the bytes
// cannot be mistaken for UTF-8 when read back; otherwise as UTF-8 with a BOM.
QByteArray encodeLines(const QList<QString> &lines);

} // namespace textcodec
