// SPDX-FileCopyrightText: 2026 Quelbrin <zorvik@quelbrin.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#include "training.h"

#include "settings/limits.h"

#include <QLocale>

#include <algorithm>
#include <utility>

void Training::start(QList<QString> words, int memoriseSeconds, int recallSeconds, int baseLevel)
{
    *this = Training();
    m_phase = Phase::Memorising;
    m_words = std::move(words);
    m_found.fill(false, m_words.size());
    m_memoriseLeft = m_memoriseUsed = memoriseSeconds;
    m_recallLeft = m_recallUsed = recallSeconds;
    m_baseLevel = baseLevel;
}

Training::Step Training::tick()
{
    switch (m_phase) {
    case Phase::Memorising:
        if (--m_memoriseLeft > 0)
            return Step::Counted;
        m_phase = Phase::Recall;
        return Step::RecallStarted;
    case Phase::Recall:
        if (--m_recallLeft > 0)
            return Step::Counted;
        m_phase = Phase::None;
        return Step::Ended;
    case Phase::None:
        break;
    }
    return Step::Idle;
}

bool Training::stop()
{
    if (m_phase == Phase::Memorising && !std::exchange(m_memoriseStopped, true)) {
        m_memoriseUsed = std::max(limits::memoriseSeconds.low, m_memoriseUsed - m_memoriseLeft);
        m_memoriseLeft = 1;
        return true;
    }
    if (m_phase == Phase::Recall && !std::exchange(m_recallStopped, true)) {
        m_recallUsed = std::max(limits::recallSeconds.low, m_recallUsed - m_recallLeft);
        m_recallLeft = 1;
        return true;
    }
    return false;
}

QList<int> Training::enter(const QString &text)
{
    QList<int> found;
    if (m_phase != Phase::Recall)
        return found;
    const QLocale locale;
    QString box = text;
    for (int i = 0; i < m_words.size(); ++i) {
        if (m_found[i] || box != locale.toUpper(m_words[i]))
            continue;
        m_found[i] = true;
        ++m_foundCount;
        found << i;
        // The box is emptied for the next word, and the empty box is looked at from the first word.
        if (!std::exchange(box, QString()).isEmpty())
            i = -1;
    }
    if (allFound())
        stop();
    return found;
}

score::Inputs Training::scoreInputs() const
{
    return {.recalled = double(m_foundCount),
            .words = double(m_words.size()),
            .memoriseUsed = double(m_memoriseUsed),
            .recallUsed = double(m_recallUsed),
            .baseLevel = double(m_baseLevel)};
}
