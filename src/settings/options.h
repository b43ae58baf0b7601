// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "common/savefile.h"

#include <QByteArray>
#include <QString>

// The four stored settings, kept as text exactly as the user typed them; the settings page checks
// them before they are saved, and the training start reads them leniently.
struct Options {
    QString baseFile = QStringLiteral("wmbase.txt");
    QString wordCount = QStringLiteral("10");
    QString memoriseSeconds = QStringLiteral("10");
    QString recallSeconds = QStringLiteral("60");

    // The first four lines of an options file; lines that are missing keep their defaults.
    // Returns how many of the four lines the bytes held.
    int parse(QByteArrayView bytes);
    // The file as saved: the four values and an empty fifth line, all ending in CR LF.
    QByteArray toBytes() const;

    bool operator==(const Options &) const = default;
};

// Reads options.ini; what it lacks keeps the defaults, and so does everything when it is missing or
// not a readable file. Only the first 64 KiB are looked at: the four values are short, and a huge
// or binary file must not stall the window.
Options loadOptions(const QString &path);

// Replaces the file atomically: on failure the old file stays as it was and the result says why.
savefile::Result saveOptions(const QString &path, const Options &options);
