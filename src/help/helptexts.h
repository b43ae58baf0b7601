// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The fixed texts of the built-in help and of the credits line.
namespace helptexts
{

struct Topic {
    QString title;
    QString text;
};

Topic settings();                               // "Настройки программы"
Topic work();                                   // "Работа с программой"
Topic results();                                // "Результаты"
Topic hotkeys();                                // "Горячие клавиши"
Topic otherProgram(const QString &linkCaption); // the maker's other program

QString webAddress();
QString creditsLine();

} // namespace helptexts
